#pragma once
// The engine's application frame: the Direct3D object and device, the main
// window (two in dual view), the enumerated devices and the chosen display
// settings, the message loop and the per-frame road with lost-device
// recovery, the pause count and the error boxes. The product derives its one
// application class from it and fills the device-object life cycle.
//
// Sources by concern: C3ApplicationWindow.cpp (window, messages, mode
// switch), C3ApplicationDevice.cpp (settings, creation, reset, release),
// C3ApplicationLoop.cpp (loop, frame, pause), C3ApplicationStats.cpp
// (statistics texts, error boxes).
#include <windows.h>
#include <d3d9.h>

#include <vector>

#include "DisplaySettings.h"
#include "enumeration/C3DeviceEnum.h"

// Application-defined result codes shown by the error boxes.
constexpr HRESULT kErrNoDirect3D = static_cast<HRESULT>(0x82000001);
constexpr HRESULT kErrNoCompatibleDevices = static_cast<HRESULT>(0x82000003);
constexpr HRESULT kErrNoWindowableDevices = static_cast<HRESULT>(0x82000004);
constexpr HRESULT kErrNoHardwareDevice = static_cast<HRESULT>(0x82000005);
constexpr HRESULT kErrHalNotCompatible = static_cast<HRESULT>(0x82000006);
constexpr HRESULT kErrNoWindowedHal = static_cast<HRESULT>(0x82000007);
constexpr HRESULT kErrNoDesktopHal = static_cast<HRESULT>(0x82000008);
constexpr HRESULT kErrNoHalThisMode = static_cast<HRESULT>(0x82000009);
constexpr HRESULT kErrNonZeroRefCount = static_cast<HRESULT>(0x8200000A);
constexpr HRESULT kErrMediaNotFound = static_cast<HRESULT>(0x8200000B);
constexpr HRESULT kErrResettingDevice = static_cast<HRESULT>(0x8200000C);
constexpr HRESULT kErrNullRefDevice = static_cast<HRESULT>(0x8200000D);
constexpr HRESULT kErrNoPixelShader20 = static_cast<HRESULT>(0x82000010);

// Commands of accelerator table 113.
enum C3Command {
  kCmdCapture = 40001,
  kCmdToggleFullscreen = 40003,
  kCmdToggleFrameMoving = 40004,
  kCmdSingleStep = 40005,
  kCmdExit = 40006,
  kCmdSpeedUp = 40018,
  kCmdSpeedDown = 40019,
};

// Kinds of error box.
enum C3ErrorKind { kErrorWarning = 0, kErrorMustExit = 1 };

// Resource identifiers the frame loads from the program.
constexpr int kIconResource = 101;
constexpr int kAcceleratorResource = 113;
constexpr int kMenuResource = 141;

class C3Application {
 public:
  C3Application();
  C3Application(const C3Application&) = delete;
  C3Application& operator=(const C3Application&) = delete;

  virtual bool PickWindowedMode(bool requireHAL, bool requireREF);
  virtual bool PickFullscreenMode(bool requireHAL, bool requireREF);
  virtual void ApplyWindowStyle();
  virtual void BuildStatsText();
  virtual HRESULT CheckDeviceCaps(D3DCAPS9* caps, DWORD behaviourFlags, D3DFORMAT adapterFormat,
                                  D3DFORMAT backBufferFormat);
  virtual HRESULT OneTimeSceneInit();
  // Device-object life cycle; the product forwards these to its scene.
  virtual HRESULT InitDeviceObjects();
  virtual HRESULT RestoreDeviceObjects();
  virtual HRESULT Move();
  virtual HRESULT Render();
  virtual HRESULT InvalidateDeviceObjects();
  virtual HRESULT DeleteDeviceObjects();
  virtual HRESULT FinalCleanUp();
  virtual HRESULT Create(HINSTANCE instance);
  virtual int Run();
  virtual LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  virtual void SetPaused(bool pause);
  virtual ~C3Application();

  // The single-instance test: a top-level window of this class and title.
  HWND FindExistingWindow() const;

  bool PickStartSettings();
  HRESULT InitDevice();
  HRESULT ResetDevice();
  void ReleaseDevice();
  HRESULT RenderFrame();
  HRESULT CheckSizeChange();
  HRESULT SwitchWindowMode();
  HRESULT ShowErrorBox(HRESULT code, int kind);

  static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The enumeration's device check: maps the vertex processing type to
  // behaviour flags and asks CheckDeviceCaps.
  static bool ConfirmDeviceCallback(D3DCAPS9* caps, UINT vertexProcessingType, D3DFORMAT adapterFormat,
                                    D3DFORMAT backBufferFormat);
  static C3Application* Current() { return s_current; }

  // Read by the product and the scene.
  IDirect3D9* Direct3D() const { return m_d3d; }
  IDirect3DDevice9* Device() const { return m_device; }
  const D3DCAPS9& Caps() const { return m_caps; }
  const D3DSURFACE_DESC& BackBufferDesc() const { return m_backBufferDesc; }
  HWND MainWindow() const { return m_mainWindow; }
  HWND SecondWindow() const { return m_secondWindow; }
  float ElapsedTime() const { return m_elapsedTime; }
  float AppTime() const { return m_appTime; }
  float FramesPerSecond() const { return m_framesPerSecond; }
  bool IsActive() const { return m_active; }
  bool IsWindowed() const { return m_windowed; }
  bool IsDeviceLost() const { return m_deviceLost; }
  bool IsFrameMoving() const { return m_frameMoving; }
  int PauseCount() const { return m_pauseCount; }
  const char* DeviceStatsText() const { return m_deviceStats; }
  const char* FrameStatsText() const { return m_frameStats; }
  const char* WindowTitle() const { return m_windowTitle; }
  const char* WindowClassName() const { return m_windowClass; }
  const DisplaySettings& Settings() const { return m_settings; }
  DisplaySettings& Settings() { return m_settings; }
  C3DeviceEnum& Enumeration() { return m_enumeration; }
  int Mode() const { return m_mode; }
  void SetMode(int mode) { m_mode = mode; }
  int DualView() const { return m_dualView; }
  int SwapViews() const { return m_swapViews; }
  void SetDualView(int dualView, int swapViews) {
    m_dualView = dualView;
    m_swapViews = swapViews;
  }
  void SetStartFullscreen(bool fullscreen) { m_startFullscreen = fullscreen; }
  // Releases the Direct3D object (configure mode ends with this).
  void ReleaseDirect3D();
  // Configure mode: Direct3D and the enumeration without a window.
  HRESULT CreateDirect3DAndEnumerate();

 protected:
  // The windows of Create step 4.
  HRESULT CreateWindows();
  void KeepWindowedBounds();
  // The main window at its kept windowed bounds, not topmost, shown.
  void ShowAtWindowedBounds();
  void RefreshBackBufferDesc();
  void ApplyCursorSettings();

  C3DeviceEnum m_enumeration;
  DisplaySettings m_settings;
  bool m_windowed = true;
  bool m_active = false;
  bool m_deviceLost = false;
  bool m_minimized = false;
  bool m_maximized = false;
  bool m_ignoreSizeChange = false;
  bool m_deviceObjectsInited = false;
  bool m_deviceObjectsRestored = false;
  bool m_frameMoving = true;
  bool m_singleStep = false;
  IDirect3DDevice9* m_device = nullptr;
  IDirect3D9* m_d3d = nullptr;
  D3DCAPS9 m_caps{};
  float m_elapsedTime = 0.0f;
  D3DSURFACE_DESC m_backBufferDesc{};
  HWND m_mainWindow = nullptr;
  bool m_startFullscreen = false;
  D3DPRESENT_PARAMETERS m_presentParams{};
  // One record per adapter of the group while the group device is wanted.
  std::vector<D3DPRESENT_PARAMETERS> m_groupPresentParams;
  HWND m_focusWindow = nullptr;
  HMENU m_savedMenu = nullptr;
  DWORD m_behaviourFlags = 0;
  DWORD m_windowedStyle = 0;
  RECT m_windowedBounds{};
  RECT m_clientRect{};
  float m_appTime = 0.0f;
  float m_framesPerSecond = 0.0f;
  char m_deviceStats[90] = "";
  char m_frameStats[90] = "";
  const char* m_windowTitle = "Velmire WS1";
  int m_creationWidth = 800;
  int m_creationHeight = 600;
  bool m_showCursorWhenFullscreen = false;
  bool m_clipCursorWhenFullscreen = true;
  const char* m_windowClass = "Velmire_WS1_CLASS";
  HINSTANCE m_instance = nullptr;
  int m_dualView = 0;
  int m_swapViews = 0;
  HWND m_secondWindow = nullptr;
  int m_mode = 2;

  int m_pauseCount = 0;
  bool m_mustExitShown = false;
  bool m_closing = false;
  // Frame statistics.
  unsigned m_framesCounted = 0;
  double m_lastStatsTime = 0.0;

 private:
  static C3Application* s_current;
};

// Texts of the error boxes (the must-exit suffix is not included).
const char* ErrorBoxText(HRESULT code);

// "HAL (hw vp): <adapter description>" and its variants, at most 89 characters.
void FormatDeviceStatsText(char* out, size_t size, D3DDEVTYPE type, DWORD behaviourFlags,
                           const char* adapterDescription);
// "%.02f fps (%dx%d), %s%s%s" with the format, depth and multisample texts,
// at most 89 characters. depthFormat D3DFMT_UNKNOWN when no depth buffer.
void FormatFrameStatsText(char* out, size_t size, float fps, UINT width, UINT height,
                          D3DFORMAT backBufferFormat, D3DFORMAT displayFormat, bool usesDepthBuffer,
                          D3DFORMAT depthFormat, D3DMULTISAMPLE_TYPE multisample);
