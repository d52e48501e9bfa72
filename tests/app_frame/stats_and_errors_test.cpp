// Statistics texts, error boxes through the replaceable box, and the device
// check the enumeration asks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "D3DTestDevice.h"
#include "frame/C3Application.h"
#include "frame/MessageBoxRoute.h"

namespace {

struct Box {
  std::string text;
  std::string caption;
  UINT type;
};
std::vector<Box> g_boxes;

int RecordBox(HWND, const char* text, const char* caption, UINT type) {
  g_boxes.push_back({text, caption, type});
  return IDOK;
}

class BoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_boxes.clear();
    previous_ = SetMessageBoxFunction(RecordBox);
  }
  void TearDown() override { SetMessageBoxFunction(previous_); }
  MessageBoxFunction previous_ = nullptr;
};

}  // namespace

TEST(StatsTextTest, DeviceStatsByTypeAndVertexProcessing) {
  char text[90];
  FormatDeviceStatsText(text, sizeof text, D3DDEVTYPE_HAL, 0x50, "Card");
  EXPECT_STREQ(text, "HAL (pure hw vp): Card");
  FormatDeviceStatsText(text, sizeof text, D3DDEVTYPE_HAL, 0x40, "Card");
  EXPECT_STREQ(text, "HAL (hw vp): Card");
  FormatDeviceStatsText(text, sizeof text, D3DDEVTYPE_HAL, 0x80, "Card");
  EXPECT_STREQ(text, "HAL (mixed vp): Card");
  FormatDeviceStatsText(text, sizeof text, D3DDEVTYPE_HAL, 0x20, "Card");
  EXPECT_STREQ(text, "HAL (sw vp): Card");
  FormatDeviceStatsText(text, sizeof text, D3DDEVTYPE_REF, 0x50, "Card");
  EXPECT_STREQ(text, "REF (simulated pure hw vp)");
  FormatDeviceStatsText(text, sizeof text, D3DDEVTYPE_SW, 0x40, "Card");
  EXPECT_STREQ(text, "SW (simulated hw vp)");
  FormatDeviceStatsText(text, sizeof text, D3DDEVTYPE_REF, 0x80, nullptr);
  EXPECT_STREQ(text, "REF (simulated mixed vp)");
  FormatDeviceStatsText(text, sizeof text, D3DDEVTYPE_REF, 0x20, nullptr);
  EXPECT_STREQ(text, "REF (sw vp)");

  std::string longName(300, 'n');
  FormatDeviceStatsText(text, sizeof text, D3DDEVTYPE_HAL, 0x40, longName.c_str());
  EXPECT_EQ(strlen(text), 89u);
  EXPECT_EQ(std::string(text, 13), "HAL (hw vp): ");
}

TEST(StatsTextTest, FrameStatsFormatsDepthAndMultisample) {
  char text[90];
  FormatFrameStatsText(text, sizeof text, 59.94f, 800, 600, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true, D3DFMT_D24S8,
                       D3DMULTISAMPLE_NONE);
  EXPECT_STREQ(text, "59.94 fps (800x600), X8R8G8B8 (D24S8)");
  FormatFrameStatsText(text, sizeof text, 30.0f, 640, 480, D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, false, D3DFMT_UNKNOWN,
                       D3DMULTISAMPLE_4_SAMPLES);
  EXPECT_STREQ(text, "30.00 fps (640x480), backbuf A8R8G8B8, adapter X8R8G8B8 (4x Multisample)");
  FormatFrameStatsText(text, sizeof text, 1.0f, 1, 1, D3DFMT_R5G6B5, D3DFMT_R5G6B5, true, D3DFMT_D24X8,
                       D3DMULTISAMPLE_NONMASKABLE);
  EXPECT_STREQ(text, "1.00 fps (1x1), R5G6B5 (D24X8) (Nonmaskable Multisample)");
  // Long combinations are cut at 89 characters.
  FormatFrameStatsText(text, sizeof text, 12345.678f, 12345, 12345, D3DFMT_A2R10G10B10, D3DFMT_X8R8G8B8, true,
                       D3DFMT_D24X4S4, D3DMULTISAMPLE_16_SAMPLES);
  EXPECT_EQ(strlen(text), 89u);
}

TEST(ErrorTextTest, TableAndGenericText) {
  EXPECT_STREQ(ErrorBoxText(kErrResettingDevice), "Could not reset the Direct3D device.");
  EXPECT_STREQ(ErrorBoxText(D3DERR_OUTOFVIDEOMEMORY), "Not enough video memory.");
  EXPECT_STREQ(ErrorBoxText(E_OUTOFMEMORY), "Not enough memory.");
  EXPECT_STREQ(ErrorBoxText(static_cast<HRESULT>(0x80070002)), "Could not load required media.");
  EXPECT_STREQ(ErrorBoxText(kErrMediaNotFound), "Could not load required media.");
  EXPECT_STREQ(ErrorBoxText(kErrNoCompatibleDevices), "Could not find any compatible Direct3D\ndevices.");
  EXPECT_STREQ(ErrorBoxText(E_FAIL), "Generic application error. Enable\ndebug output for detailed information.");
}

TEST_F(BoxTest, MustExitBoxIsShownOnceThenSuppressed) {
  C3Application app;
  EXPECT_EQ(app.ShowErrorBox(kErrNullRefDevice, kErrorWarning), kErrNullRefDevice);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].type, static_cast<UINT>(MB_ICONWARNING));
  EXPECT_EQ(g_boxes[0].caption, "Velmire WS1");
  EXPECT_EQ(g_boxes[0].text.find("This application will now exit."), std::string::npos);

  EXPECT_EQ(app.ShowErrorBox(kErrNonZeroRefCount, kErrorMustExit), kErrNonZeroRefCount);
  ASSERT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(g_boxes[1].type, static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(g_boxes[1].text,
            "A D3D object has a non-zero reference\ncount (meaning things were not properly\ncleaned up)."
            "\n\nThis application will now exit.");

  // Later boxes of any kind are suppressed; the code still comes back.
  EXPECT_EQ(app.ShowErrorBox(kErrResettingDevice, kErrorMustExit), kErrResettingDevice);
  EXPECT_EQ(app.ShowErrorBox(kErrNullRefDevice, kErrorWarning), kErrNullRefDevice);
  EXPECT_EQ(g_boxes.size(), 2u);
}

TEST_F(BoxTest, DriverInternalErrorAlwaysMustExit) {
  C3Application app;
  app.ShowErrorBox(D3DERR_DRIVERINTERNALERROR, kErrorWarning);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].type, static_cast<UINT>(MB_ICONERROR));
  EXPECT_NE(g_boxes[0].text.find("display driver.\n\nThis application will now exit."), std::string::npos);
  app.ShowErrorBox(kErrNullRefDevice, kErrorWarning);
  EXPECT_EQ(g_boxes.size(), 1u);
}

namespace {
// Accepts software vertex processing only.
class SoftwareOnlyApp : public C3Application {
 public:
  HRESULT CheckDeviceCaps(D3DCAPS9*, DWORD flags, D3DFORMAT, D3DFORMAT) override {
    return (flags & D3DCREATE_SOFTWARE_VERTEXPROCESSING) ? S_OK : E_FAIL;
  }
};
}  // namespace

TEST(DeviceCheckTest, CallbackMapsTypesToFlagsAndAsksTheApplication) {
  SoftwareOnlyApp app;
  D3DCAPS9 caps{};
  EXPECT_TRUE(C3Application::ConfirmDeviceCallback(&caps, C3VP_SOFTWARE, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8));
  EXPECT_FALSE(C3Application::ConfirmDeviceCallback(&caps, C3VP_HARDWARE, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8));
  EXPECT_FALSE(C3Application::ConfirmDeviceCallback(&caps, C3VP_PURE_HARDWARE, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8));
}

TEST(RenderFrameTest, NoDeviceMeansNothingToDo) {
  C3Application app;
  app.SetPaused(false);
  EXPECT_EQ(app.RenderFrame(), S_OK);
  app.ReleaseDevice();  // nothing to release: no box, no crash
  EXPECT_EQ(app.ResetDevice(), S_OK);
}

namespace {
// Holds a real device the test made, as if the frame had created it.
class HeldDeviceApp : public C3Application {
 public:
  void Hold(IDirect3DDevice9* device, HWND window) {
    m_device = device;
    m_mainWindow = window;
    m_deviceObjectsInited = m_deviceObjectsRestored = true;
  }
  HRESULT InvalidateDeviceObjects() override {
    ++invalidated;
    return S_OK;
  }
  HRESULT DeleteDeviceObjects() override {
    ++deleted;
    return S_OK;
  }
  HRESULT FinalCleanUp() override {
    ++cleanedUp;
    return S_OK;
  }
  int invalidated = 0, deleted = 0, cleanedUp = 0;
};
}  // namespace

TEST_F(BoxTest, StillReferencedDeviceAtCloseIsReleasedOnceAndClosesOnce) {
  qvtest::D3DTestDevice d3d;
  ASSERT_TRUE(d3d.Create(64, 64)) << d3d.Error();
  IDirect3DDevice9* device = d3d.Device();
  // The application's reference; the helper's own stays outstanding, as an
  // object that was not cleaned up would.
  device->AddRef();

  HeldDeviceApp app;
  HWND window = CreateWindowExA(0, "STATIC", "held", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  app.Hold(device, window);
  app.HandleWindowMessage(window, WM_CLOSE, 0, 0);

  EXPECT_EQ(app.Device(), nullptr);
  EXPECT_EQ(app.invalidated, 1);
  EXPECT_EQ(app.deleted, 1);
  EXPECT_EQ(app.cleanedUp, 1);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_NE(g_boxes[0].text.find("non-zero reference"), std::string::npos);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(app.MainWindow(), nullptr);

  // A second close does nothing more.
  app.HandleWindowMessage(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.cleanedUp, 1);
  EXPECT_EQ(g_boxes.size(), 1u);

  MSG quit;
  PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the close posted WM_QUIT
}

namespace {
class CountingApp : public HeldDeviceApp {
 public:
  HRESULT Move() override {
    ++moves;
    return S_OK;
  }
  HRESULT Render() override {
    ++renders;
    return S_OK;
  }
  int moves = 0, renders = 0;
};
}  // namespace

TEST(FrameRoadTest, SingleStepMovesOnceThenHoldsAndAdvancesByATenth) {
  qvtest::D3DTestDevice d3d;
  ASSERT_TRUE(d3d.Create(64, 64)) << d3d.Error();
  d3d.Device()->AddRef();  // the application's reference
  CountingApp app;
  app.Hold(d3d.Device(), d3d.Window());
  app.SetPaused(false);

  // Moving: every frame with time passed moves and draws.
  for (int i = 0; i < 3; ++i) {
    Sleep(2);
    ASSERT_EQ(app.RenderFrame(), S_OK);
  }
  EXPECT_EQ(app.moves, 3);
  EXPECT_EQ(app.renders, 3);

  // S: time stops, the next frame moves once, later frames only draw.
  app.HandleWindowMessage(d3d.Window(), WM_COMMAND, kCmdSingleStep, 0);
  EXPECT_FALSE(app.IsFrameMoving());
  app.RenderFrame();
  EXPECT_EQ(app.moves, 4);
  float held = app.AppTime();
  Sleep(5);
  app.RenderFrame();
  app.RenderFrame();
  EXPECT_EQ(app.moves, 4);
  EXPECT_EQ(app.renders, 6);

  // S again: held time advances by 0.1 s and one more move sees it.
  app.HandleWindowMessage(d3d.Window(), WM_COMMAND, kCmdSingleStep, 0);
  app.RenderFrame();
  EXPECT_EQ(app.moves, 5);
  EXPECT_NEAR(app.AppTime() - held, 0.1f, 1e-4f);
  EXPECT_NEAR(app.ElapsedTime(), 0.1f, 1e-4f);

  // P: time runs again.
  app.HandleWindowMessage(d3d.Window(), WM_COMMAND, kCmdToggleFrameMoving, 0);
  EXPECT_TRUE(app.IsFrameMoving());
  Sleep(2);
  app.RenderFrame();
  EXPECT_EQ(app.moves, 6);
  EXPECT_GE(app.AppTime(), held + 0.1f);
}
