// Frame and device statistics texts, and the error boxes.
#include <cstdio>
#include <cstring>

#include "C3Application.h"
#include "EngineTimer.h"
#include "MessageBoxRoute.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"
#include "util/EngineUtil.h"

namespace {

constexpr size_t kStatsLength = 89;  // characters kept of either stats text
// The file-not-found error as a result code.
constexpr HRESULT kErrFileNotFound = static_cast<HRESULT>(0x80070002);

void Append(char* out, size_t size, const char* text) {
  size_t used = strlen(out);
  if (used + 1 >= size) return;
  size_t room = size - 1 - used;
  size_t n = strlen(text);
  if (n > room) n = room;
  memcpy(out + used, text, n);
  out[used + n] = '\0';
}

}  // namespace

const char* ErrorBoxText(HRESULT code) {
  switch (code) {
    case kErrFileNotFound:
    case kErrMediaNotFound:
      return "Could not load required media.";
    case E_OUTOFMEMORY:
      return "Not enough memory.";
    case kErrNoDirect3D:
      return "Could not initialize Direct3D. You may\nwant to check that the latest version of\n"
             "DirectX is correctly installed on your\nsystem.  Also make sure that this program\n"
             "was compiled with header files that match\nthe installed DirectX DLLs.";
    case kErrNoCompatibleDevices:
      return "Could not find any compatible Direct3D\ndevices.";
    case kErrNoWindowableDevices:
      return "This application cannot run in a desktop\nwindow with the current display settings.\n"
             "Please change your desktop settings to a\n16- or 32-bit display mode and re-run this\n"
             "application.";
    case kErrNoHardwareDevice:
      return "No hardware-accelerated Direct3D devices\nwere found.";
    case kErrHalNotCompatible:
      return "This application requires functionality that is\nnot available on your Direct3D hardware\n"
             "accelerator.";
    case kErrNoWindowedHal:
      return "Your Direct3D hardware accelerator cannot\nrender into a window.\n"
             "Press F2 while the app is running to see a\nlist of available devices and modes.";
    case kErrNoDesktopHal:
      return "Your Direct3D hardware accelerator cannot\nrender into a window with the current\n"
             "desktop display settings.\nPress F2 while the app is running to see a\n"
             "list of available devices and modes.";
    case kErrNoHalThisMode:
      return "This application requires functionality that is\nnot available on your Direct3D hardware\n"
             "accelerator with the current desktop display\nsettings.\n"
             "Press F2 while the app is running to see a\nlist of available devices and modes.";
    case kErrNonZeroRefCount:
      return "A D3D object has a non-zero reference\ncount (meaning things were not properly\n"
             "cleaned up).";
    case kErrResettingDevice:
      return "Could not reset the Direct3D device.";
    case kErrNullRefDevice:
      return "Warning: Nothing will be rendered.\nThe reference rendering device was selected, but your\n"
             "computer only has a reduced-functionality reference device\ninstalled.  Install the "
             "DirectX SDK to get the full\nreference device.\n";
    case kErrNoPixelShader20:
      return "This Hardware not support Pixel Shader 2.0.";
    case D3DERR_OUTOFVIDEOMEMORY:
      return "Not enough video memory.";
    case D3DERR_DRIVERINTERNALERROR:
      return "A serious problem occured inside the display driver.";
    default:
      return "Generic application error. Enable\ndebug output for detailed information.";
  }
}

void FormatDeviceStatsText(char* out, size_t size, D3DDEVTYPE type, DWORD behaviourFlags,
                           const char* adapterDescription) {
  if (!out || size == 0) return;
  out[0] = '\0';
  size_t limit = size < kStatsLength + 1 ? size : kStatsLength + 1;
  const char* typeName = type == D3DDEVTYPE_REF ? "REF" : (type == D3DDEVTYPE_HAL ? "HAL" : "SW");
  Append(out, limit, typeName);

  bool hal = type == D3DDEVTYPE_HAL;
  if ((behaviourFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING) && (behaviourFlags & D3DCREATE_PUREDEVICE))
    Append(out, limit, hal ? " (pure hw vp)" : " (simulated pure hw vp)");
  else if (behaviourFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING)
    Append(out, limit, hal ? " (hw vp)" : " (simulated hw vp)");
  else if (behaviourFlags & D3DCREATE_MIXED_VERTEXPROCESSING)
    Append(out, limit, hal ? " (mixed vp)" : " (simulated mixed vp)");
  else if (behaviourFlags & D3DCREATE_SOFTWARE_VERTEXPROCESSING)
    Append(out, limit, " (sw vp)");

  if (hal) {
    Append(out, limit, ": ");
    Append(out, limit, adapterDescription ? adapterDescription : "");
  }
}

void FormatFrameStatsText(char* out, size_t size, float fps, UINT width, UINT height,
                          D3DFORMAT backBufferFormat, D3DFORMAT displayFormat, bool usesDepthBuffer,
                          D3DFORMAT depthFormat, D3DMULTISAMPLE_TYPE multisample) {
  if (!out || size == 0) return;
  size_t limit = size < kStatsLength + 1 ? size : kStatsLength + 1;

  char formats[80];
  if (backBufferFormat == displayFormat)
    FormatBoundedV(formats, sizeof formats, "%s", GetFormatName(displayFormat, false));
  else
    FormatBoundedV(formats, sizeof formats, "backbuf %s, adapter %s",
                   GetFormatName(backBufferFormat, false), GetFormatName(displayFormat, false));

  char depth[40] = "";
  if (usesDepthBuffer) FormatBoundedV(depth, sizeof depth, " (%s)", GetFormatName(depthFormat, false));

  char samples[40] = "";
  if (multisample == D3DMULTISAMPLE_NONMASKABLE)
    FormatBoundedV(samples, sizeof samples, " (Nonmaskable Multisample)");
  else if (multisample >= D3DMULTISAMPLE_2_SAMPLES && multisample <= D3DMULTISAMPLE_16_SAMPLES)
    FormatBoundedV(samples, sizeof samples, " (%dx Multisample)", static_cast<int>(multisample));

  FormatBoundedV(out, limit, "%.02f fps (%dx%d), %s%s%s", fps, static_cast<int>(width),
                 static_cast<int>(height), formats, depth, samples);
}

void C3Application::BuildStatsText() {
  ++m_framesCounted;
  double now = EngineTimer(kTimerAbsolute);
  double interval = now - m_lastStatsTime;
  if (interval <= 1.0) return;
  m_framesPerSecond = static_cast<float>(m_framesCounted / interval);
  const C3DrawCounter::Totals draws = C3DrawCounter::Take();
  const double frames = m_framesCounted > 0 ? static_cast<double>(m_framesCounted) : 1.0;
  m_framesCounted = 0;
  m_lastStatsTime = now;

  bool depth = m_enumeration.UsesDepthBuffer;
  FormatFrameStatsText(m_frameStats, sizeof m_frameStats, m_framesPerSecond, m_backBufferDesc.Width,
                       m_backBufferDesc.Height, m_backBufferDesc.Format,
                       m_settings.DisplayMode().Format, depth,
                       depth ? m_settings.DepthStencilFormat() : D3DFMT_UNKNOWN,
                       m_settings.MultisampleType());
  // The texts stay in the application; at log level 2 the log follows them.
  if (GetDebugLogLevel() >= 2) {
    LogPrint("frame stats: %s\n", m_frameStats);
    LogPrint("frame draws: %.1f calls, %.0f primitives a frame\n", static_cast<double>(draws.draws) / frames,
             static_cast<double>(draws.primitives) / frames);
  }
}

HRESULT C3Application::ShowErrorBox(HRESULT code, int kind) {
  if (m_mustExitShown) return code;

  char text[640];
  FormatBoundedV(text, sizeof text, "%s", ErrorBoxText(code));
  bool mustExit = kind == kErrorMustExit || code == D3DERR_DRIVERINTERNALERROR;
  LogPrint("error box %08X: %s\n", static_cast<unsigned>(code), text);
  if (mustExit) {
    Append(text, sizeof text, "\n\nThis application will now exit.");
    m_mustExitShown = true;
    ShowMessageBox(nullptr, text, m_windowTitle, MB_ICONERROR);
    // A box raised while the window is already closing lets that close finish.
    if (m_mainWindow && !m_closing) SendMessageA(m_mainWindow, WM_CLOSE, 0, 0);
  } else {
    ShowMessageBox(nullptr, text, m_windowTitle, MB_ICONWARNING);
  }
  return code;
}
