// The full-screen mode choice over hand-built enumerations, and the
// [Display] keys written back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "DisplayOptions.h"
#include "MyApplication.h"
#include "TestSupport.h"
#include "diagnostics/Diagnostics.h"

using namespace qvtest;

namespace {

D3DDISPLAYMODE Mode(UINT w, UINT h, UINT refresh, D3DFORMAT format) { return D3DDISPLAYMODE{w, h, refresh, format}; }

C3DeviceCombo* AddCombo(C3DeviceInfo* device, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat, bool windowed) {
  auto* combo = new C3DeviceCombo();
  combo->AdapterOrdinal = device->AdapterOrdinal;
  combo->DevType = device->DevType;
  combo->AdapterFormat = adapterFormat;
  combo->BackBufferFormat = backBufferFormat;
  combo->IsWindowed = windowed;
  D3DFORMAT depth = D3DFMT_D24S8;
  combo->DepthStencilFormats.Add(&depth);
  D3DMULTISAMPLE_TYPE ms = D3DMULTISAMPLE_NONE;
  combo->MultiSampleTypes.Add(&ms);
  DWORD quality = 1;
  combo->MultiSampleQualities.Add(&quality);
  UINT vp = C3VP_HARDWARE;
  combo->VertexProcessingTypes.Add(&vp);
  UINT interval = D3DPRESENT_INTERVAL_DEFAULT;
  combo->PresentIntervals.Add(&interval);
  device->DeviceCombos.Add(combo);
  return combo;
}

C3DeviceInfo* AddDevice(C3AdapterInfo* adapter, D3DDEVTYPE type) {
  auto* device = new C3DeviceInfo();
  device->AdapterOrdinal = adapter->AdapterOrdinal;
  device->DevType = type;
  adapter->DeviceInfos.Add(device);
  return device;
}

C3AdapterInfo* AddAdapter(C3DeviceEnum& e, std::initializer_list<D3DDISPLAYMODE> modes) {
  auto* adapter = new C3AdapterInfo();
  adapter->AdapterOrdinal = e.AdapterCount();
  for (const D3DDISPLAYMODE& m : modes) adapter->DisplayModes.Add(&m);
  e.Adapters.Add(adapter);
  return adapter;
}

// Every adapter's desktop is 1024x768 X8R8G8B8 unless told otherwise.
DesktopModeQuery Desktop(D3DFORMAT format = D3DFMT_X8R8G8B8) {
  return [format](UINT, D3DDISPLAYMODE* mode) {
    *mode = Mode(1024, 768, 60, format);
    return true;
  };
}

// The usual machine: one adapter, X8R8G8B8 and R5G6B5 modes in sorted order.
struct TypicalMachine {
  C3DeviceEnum e;
  C3AdapterInfo* adapter;
  C3DeviceInfo* hal;
  C3DeviceCombo* windowed;
  C3DeviceCombo* r565;
  C3DeviceCombo* x888a;
  C3DeviceCombo* x888x;
  TypicalMachine() {
    adapter = AddAdapter(e, {Mode(640, 480, 60, D3DFMT_R5G6B5), Mode(640, 480, 60, D3DFMT_X8R8G8B8),
                             Mode(640, 480, 75, D3DFMT_X8R8G8B8), Mode(640, 480, 85, D3DFMT_X8R8G8B8),
                             Mode(800, 600, 60, D3DFMT_X8R8G8B8), Mode(1024, 768, 60, D3DFMT_X8R8G8B8)});
    AddDevice(adapter, D3DDEVTYPE_REF);
    hal = AddDevice(adapter, D3DDEVTYPE_HAL);
    windowed = AddCombo(hal, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true);
    r565 = AddCombo(hal, D3DFMT_R5G6B5, D3DFMT_R5G6B5, false);
    x888a = AddCombo(hal, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, false);
    x888x = AddCombo(hal, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false);
  }
};

}  // namespace

TEST(FullscreenModeTest, DefaultKeysPickTheLast640ModeAtMost60Hz) {
  TypicalMachine m;
  DisplaySettings s;
  ASSERT_TRUE(ChooseFullscreenSettings(m.e, FullscreenKeys{}, Desktop(), true, &s));
  // The desktop-like combo (adapter = back buffer = desktop format) wins.
  EXPECT_EQ(s.fullscreenDeviceCombo, m.x888x);
  EXPECT_EQ(s.fullscreenDeviceInfo, m.hal);
  EXPECT_EQ(s.fullscreenAdapterInfo, m.adapter);
  EXPECT_EQ(s.fullscreenDisplayMode.Width, 640u);
  EXPECT_EQ(s.fullscreenDisplayMode.Height, 480u);
  EXPECT_EQ(s.fullscreenDisplayMode.RefreshRate, 60u);
  EXPECT_EQ(s.fullscreenDisplayMode.Format, D3DFMT_X8R8G8B8);
  EXPECT_FALSE(s.IsWindowed);
  EXPECT_EQ(s.fullscreenDepthStencilFormat, D3DFMT_D24S8);
  EXPECT_EQ(s.fullscreenMultisampleQuality, 0u);
  EXPECT_EQ(s.fullscreenVertexProcessingType, static_cast<UINT>(C3VP_HARDWARE));
  EXPECT_EQ(s.fullscreenPresentInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE));
  // The windowed half is not touched.
  EXPECT_EQ(s.windowedDeviceCombo, nullptr);
}

TEST(FullscreenModeTest, PerfectMatchAndFormatKey) {
  TypicalMachine m;
  DisplaySettings s;
  FullscreenKeys keys;
  keys.width = 640;
  keys.height = 480;
  keys.refresh = 75;
  keys.format = D3DFMT_X8R8G8B8;
  ASSERT_TRUE(ChooseFullscreenSettings(m.e, keys, Desktop(), true, &s));
  EXPECT_EQ(s.fullscreenDisplayMode.RefreshRate, 75u);

  // A 16-bit format key takes the 16-bit combo and its only mode.
  keys.format = D3DFMT_R5G6B5;
  keys.refresh = 60;
  ASSERT_TRUE(ChooseFullscreenSettings(m.e, keys, Desktop(), true, &s));
  EXPECT_EQ(s.fullscreenDeviceCombo, m.r565);
  EXPECT_EQ(s.fullscreenDisplayMode.Format, D3DFMT_R5G6B5);

  // No 640-wide mode at or below the refresh key: the first mode of the format stays.
  keys.format = 0;
  keys.refresh = 50;
  ASSERT_TRUE(ChooseFullscreenSettings(m.e, keys, Desktop(), true, &s));
  EXPECT_EQ(s.fullscreenDisplayMode.Width, 640u);
  EXPECT_EQ(s.fullscreenDisplayMode.RefreshRate, 60u);
  EXPECT_EQ(s.fullscreenDisplayMode.Format, D3DFMT_X8R8G8B8);
}

TEST(FullscreenModeTest, FirstComboWhenNoneIsDesktopLike) {
  TypicalMachine m;
  DisplaySettings s;
  // A 16-bit desktop: no X8R8G8B8 combo equals it; the first full-screen combo is kept.
  ASSERT_TRUE(ChooseFullscreenSettings(m.e, FullscreenKeys{}, Desktop(D3DFMT_A2R10G10B10), true, &s));
  EXPECT_EQ(s.fullscreenDeviceCombo, m.r565);
}

TEST(FullscreenModeTest, OutOfRangeAdapterUsesAdapterZero) {
  TypicalMachine m;
  C3AdapterInfo* second = AddAdapter(m.e, {Mode(640, 480, 60, D3DFMT_X8R8G8B8)});
  AddCombo(AddDevice(second, D3DDEVTYPE_HAL), D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false);
  EXPECT_EQ(SelectFullscreenAdapter(m.e, 1), 1u);
  EXPECT_EQ(SelectFullscreenAdapter(m.e, 2), 0u);
  EXPECT_EQ(SelectFullscreenAdapter(m.e, -1), 0u);
  for (int key : {-1, 2, 1000}) {
    DisplaySettings s;
    FullscreenKeys keys;
    keys.adapter = key;
    ASSERT_TRUE(ChooseFullscreenSettings(m.e, keys, Desktop(), true, &s));
    EXPECT_EQ(s.fullscreenAdapterInfo, m.adapter) << key;
  }
  DisplaySettings s;
  FullscreenKeys keys;
  keys.adapter = 1;
  ASSERT_TRUE(ChooseFullscreenSettings(m.e, keys, Desktop(), true, &s));
  EXPECT_EQ(s.fullscreenAdapterInfo, second);
}

TEST(FullscreenModeTest, UnknownDeviceTypeFallsBackToTheFirstCombo) {
  TypicalMachine m;
  DisplaySettings s;
  FullscreenKeys keys;
  keys.devType = 7;
  // Adapter 0's first device info (REF) has no combo: false, not a crash.
  EXPECT_FALSE(ChooseFullscreenSettings(m.e, keys, Desktop(), true, &s));
  // With a combo there, that combo is used even though it does not fit.
  C3DeviceEnum e;
  C3AdapterInfo* a = AddAdapter(e, {Mode(640, 480, 60, D3DFMT_X8R8G8B8)});
  C3DeviceInfo* hal = AddDevice(a, D3DDEVTYPE_HAL);
  C3DeviceCombo* first = AddCombo(hal, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true);
  DisplaySettings t;
  ASSERT_TRUE(ChooseFullscreenSettings(e, keys, Desktop(), true, &t));
  EXPECT_EQ(t.fullscreenDeviceCombo, first);
}

TEST(FullscreenModeTest, EmptyEnumerationsReturnFalseAndLeaveTheSettings) {
  DisplaySettings s;
  s.fullscreenDisplayMode = Mode(1, 2, 3, D3DFMT_X8R8G8B8);
  C3DeviceEnum none;
  EXPECT_FALSE(ChooseFullscreenSettings(none, FullscreenKeys{}, Desktop(), true, &s));

  C3DeviceEnum noDevice;
  AddAdapter(noDevice, {Mode(640, 480, 60, D3DFMT_X8R8G8B8)});
  EXPECT_FALSE(ChooseFullscreenSettings(noDevice, FullscreenKeys{}, Desktop(), true, &s));

  C3DeviceEnum noCombo;
  AddDevice(AddAdapter(noCombo, {Mode(640, 480, 60, D3DFMT_X8R8G8B8)}), D3DDEVTYPE_HAL);
  EXPECT_FALSE(ChooseFullscreenSettings(noCombo, FullscreenKeys{}, Desktop(), true, &s));

  EXPECT_EQ(s.fullscreenDisplayMode.Width, 1u);
  EXPECT_EQ(s.fullscreenDeviceCombo, nullptr);
}

TEST(FullscreenModeTest, NoModeOfTheFormatUsesTheDesktopMode) {
  C3DeviceEnum e;
  C3AdapterInfo* a = AddAdapter(e, {Mode(640, 480, 60, D3DFMT_R5G6B5)});
  AddCombo(AddDevice(a, D3DDEVTYPE_HAL), D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false);
  DisplaySettings s;
  ASSERT_TRUE(ChooseFullscreenSettings(e, FullscreenKeys{}, Desktop(), true, &s));
  EXPECT_EQ(s.fullscreenDisplayMode.Width, 1024u);
  EXPECT_EQ(s.fullscreenDisplayMode.Height, 768u);
  EXPECT_EQ(s.fullscreenDisplayMode.Format, D3DFMT_X8R8G8B8);
}

TEST(FullscreenModeTest, WithoutDepthBufferTheDepthFormatIsLeft) {
  TypicalMachine m;
  DisplaySettings s;
  ASSERT_TRUE(ChooseFullscreenSettings(m.e, FullscreenKeys{}, Desktop(), false, &s));
  EXPECT_EQ(s.fullscreenDepthStencilFormat, D3DFMT_UNKNOWN);
}

TEST(DisplayKeysTest, SaveWritesTheFullscreenHalfAndReadsBack) {
  std::string dir = MakeTempDir("display_keys");
  std::string ini = dir + "qelvar.ini";
  FullscreenKeys defaults = ReadFullscreenKeys(ini);
  EXPECT_EQ(defaults.adapter, 0);
  EXPECT_EQ(defaults.format, 0);
  EXPECT_EQ(defaults.width, 640);
  EXPECT_EQ(defaults.height, 480);
  EXPECT_EQ(defaults.refresh, 60);
  EXPECT_EQ(defaults.devType, 1);

  DisplaySettings empty;
  EXPECT_FALSE(SaveDisplayMode(&empty, ini));
  EXPECT_FALSE(SaveDisplayMode(nullptr, ini));
  EXPECT_FALSE(FileExists(ini));

  TypicalMachine m;
  DisplaySettings s;
  FullscreenKeys keys;
  keys.width = 800;
  keys.height = 600;
  ASSERT_TRUE(ChooseFullscreenSettings(m.e, keys, Desktop(), true, &s));
  ASSERT_TRUE(SaveDisplayMode(&s, ini));
  FullscreenKeys back = ReadFullscreenKeys(ini);
  EXPECT_EQ(back.adapter, 0);
  EXPECT_EQ(back.format, static_cast<int>(D3DFMT_X8R8G8B8));
  EXPECT_EQ(back.width, 800);
  EXPECT_EQ(back.height, 600);
  EXPECT_EQ(back.refresh, 60);
  EXPECT_EQ(back.devType, 1);

  auto bytes = ReadFileBytes(ini);
  std::string text(bytes.begin(), bytes.end());
  EXPECT_NE(text.find("[Display]"), std::string::npos);
  EXPECT_LT(text.find("Adapter=0"), text.find("DevType=1"));

  // Bad values read as their defaults, never crash.
  WriteFileText(ini, "[Display]\r\nWidth=wide\r\nHeight=\r\n");
  FullscreenKeys bad = ReadFullscreenKeys(ini);
  EXPECT_EQ(bad.width, 640);  // text that is no number (the profile reader's 0) is logged and left
  EXPECT_EQ(bad.height, 480);
  EXPECT_EQ(bad.refresh, 60);
  RemoveTree(dir);
}

TEST(DisplayKeysTest, StartUpKeysReachTheApplicationAndTheDiagnostics) {
  std::string previousFolder = GetProgramFolder();
  std::string dir = MakeTempDir("display_options");
  {
    MyApplication app;
    ReadDisplayOptionsFrom(&app, dir.c_str());
    EXPECT_EQ(app.m_x1Adapter, -1);  // defaults without a file
    EXPECT_EQ(app.m_debugLogLevel, 0);
    EXPECT_STREQ(app.m_debugDisableRender, "");
    EXPECT_EQ(app.DualView(), 0);
    EXPECT_EQ(std::string(GetProgramFolder()), dir);

    std::string longList(400, 'C');
    WriteFileText(dir + "qelvar.ini", "[Display]\r\nX1Adapter=2\r\nX1MultiSample=3\r\nDebugLogLevel=1\r\n"
                                      "DebugDisplayFlag=5\r\nDebugDisableRender=" + longList +
                                      "\r\n[system]\r\nDualView=1\r\nDualView_SwapLR=1\r\n");
    ReadDisplayOptionsFrom(&app, dir.c_str());
    EXPECT_EQ(app.m_x1Adapter, 2);
    EXPECT_EQ(app.m_x1DeviceInfo, -1);
    EXPECT_EQ(app.m_x1MultiSample, 3);
    EXPECT_EQ(app.m_debugLogLevel, 1);
    EXPECT_EQ(GetDebugLogLevel(), 1);
    EXPECT_EQ(app.m_debugDisplayFlag, 5);
    EXPECT_EQ(strlen(app.m_debugDisableRender), 255u);  // cut to the buffer
    EXPECT_EQ(app.DualView(), 1);
    EXPECT_EQ(app.SwapViews(), 1);
  }
  SetDebugLogLevel(0);
  SetProgramFolder(previousFolder.c_str());
  RemoveTree(dir);
}
