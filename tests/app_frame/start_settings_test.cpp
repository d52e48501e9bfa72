// The start settings picked from an enumeration of a scripted Direct3D
// object: the windowed choice, the product's full-screen choice and which of
// the two the run starts with.
#include <gtest/gtest.h>

#include <string>

#include "FakeDirect3D9.h"
#include "MyApplication.h"
#include "TestSupport.h"
#include "diagnostics/Diagnostics.h"

using namespace qvtest;

namespace {

class ScriptedApp : public MyApplication {
 public:
  HRESULT EnumerateWith(FakeDirect3D9* d3d) {
    m_d3d = d3d;
    d3d->AddRef();
    m_enumeration.Direct3D = d3d;
    m_enumeration.ConfirmDevice = ConfirmDeviceCallback;
    m_clientRect = RECT{0, 0, 800, 619};
    return m_enumeration.Enumerate();
  }
  bool Windowed(bool requireHAL, bool requireREF) { return PickWindowedMode(requireHAL, requireREF); }
};

D3DDISPLAYMODE Mode(UINT w, UINT h, UINT r, D3DFORMAT f) { return D3DDISPLAYMODE{w, h, r, f}; }

class StartSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousFolder_ = GetProgramFolder();
    dir_ = MakeTempDir("start_settings");
    SetProgramFolder(dir_.c_str());  // no qelvar.ini: the default keys
    d3d_.adapters.push_back(FakeDirect3D9::MakeAdapter(
        {Mode(640, 480, 60, D3DFMT_X8R8G8B8), Mode(640, 480, 75, D3DFMT_X8R8G8B8),
         Mode(800, 600, 60, D3DFMT_X8R8G8B8), Mode(1024, 768, 60, D3DFMT_X8R8G8B8)}));
    d3d_.adapters[0].devices[D3DDEVTYPE_REF] = FakeDirect3D9::MakeCaps(D3DDEVTYPE_REF);
  }
  void TearDown() override {
    SetProgramFolder(previousFolder_.c_str());
    RemoveTree(dir_);
  }
  std::string previousFolder_;
  std::string dir_;
  FakeDirect3D9 d3d_;
};

}  // namespace

TEST_F(StartSettingsTest, WindowedChoiceTakesTheDesktopFormatHalCombo) {
  ScriptedApp app;
  ASSERT_EQ(app.EnumerateWith(&d3d_), S_OK);
  ASSERT_TRUE(app.Windowed(false, false));
  const DisplaySettings& s = app.Settings();
  EXPECT_TRUE(s.IsWindowed);
  ASSERT_NE(s.windowedDeviceCombo, nullptr);
  EXPECT_EQ(s.windowedDeviceCombo->DevType, D3DDEVTYPE_HAL);
  EXPECT_TRUE(s.windowedDeviceCombo->IsWindowed);
  EXPECT_EQ(s.windowedDeviceCombo->AdapterFormat, D3DFMT_X8R8G8B8);
  EXPECT_EQ(s.windowedDeviceCombo->BackBufferFormat, D3DFMT_X8R8G8B8);
  EXPECT_EQ(s.windowedDisplayMode.Width, 1024u);
  EXPECT_EQ(s.windowedWidth, 800);
  EXPECT_EQ(s.windowedHeight, 619);
  EXPECT_EQ(s.windowedDepthStencilFormat, D3DFMT_D24X8);  // 24 depth bits at least: D16 never
  EXPECT_EQ(s.windowedVertexProcessingType, static_cast<UINT>(C3VP_PURE_HARDWARE));

  ASSERT_TRUE(app.Windowed(false, true));
  EXPECT_EQ(app.Settings().windowedDeviceCombo->DevType, D3DDEVTYPE_REF);
}

TEST_F(StartSettingsTest, StartsWindowedUnlessFullScreenIsWanted) {
  ScriptedApp app;
  ASSERT_EQ(app.EnumerateWith(&d3d_), S_OK);
  ASSERT_TRUE(app.PickStartSettings());
  EXPECT_TRUE(app.Settings().IsWindowed);
  // Both halves are filled; the full-screen one by the default keys.
  EXPECT_EQ(app.Settings().fullscreenDisplayMode.Width, 640u);
  EXPECT_EQ(app.Settings().fullscreenDisplayMode.RefreshRate, 60u);

  app.SetStartFullscreen(true);
  ASSERT_TRUE(app.PickStartSettings());
  EXPECT_FALSE(app.Settings().IsWindowed);
}

TEST_F(StartSettingsTest, IniKeysSteerTheFullScreenChoice) {
  WriteFileText(dir_ + "qelvar.ini", "[Display]\r\nWidth=800\r\nHeight=600\r\nRefresh=60\r\nFormat=22\r\nAdapter=9\r\n");
  ScriptedApp app;
  ASSERT_EQ(app.EnumerateWith(&d3d_), S_OK);
  ASSERT_TRUE(app.PickFullscreenMode(false, false));
  EXPECT_EQ(app.Settings().fullscreenDisplayMode.Width, 800u);
  EXPECT_EQ(app.Settings().fullscreenDisplayMode.Height, 600u);
  EXPECT_EQ(app.Settings().fullscreenPresentInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE));
}

TEST_F(StartSettingsTest, DesktopWithoutWindowedComboStartsFullScreen) {
  d3d_.adapters[0].desktop = Mode(1024, 768, 60, D3DFMT_A2R10G10B10);
  ScriptedApp app;
  ASSERT_EQ(app.EnumerateWith(&d3d_), S_OK);
  EXPECT_FALSE(app.Windowed(false, false));
  ASSERT_TRUE(app.PickStartSettings());
  EXPECT_FALSE(app.Settings().IsWindowed);
}

TEST_F(StartSettingsTest, NoAdapterMeansNoStartSettings) {
  d3d_.adapters.clear();
  ScriptedApp app;
  ASSERT_EQ(app.EnumerateWith(&d3d_), S_OK);
  EXPECT_FALSE(app.PickFullscreenMode(false, false));
  EXPECT_FALSE(app.PickStartSettings());
}
