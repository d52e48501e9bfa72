// The product's hooks that need no device: exit on input, speed keys,
// device caps, settings-driven answers, fog colour and light defaults.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "AppHooks.h"
#include "Settings.h"
#include "SettingsTestSupport.h"

using settingstest::ProgramFolderFixture;

namespace {

constexpr POINT kStart{100, 100};

POINT Moved(int dx, int dy) { return POINT{kStart.x + dx, kStart.y + dy}; }

MessageDecision Decide(UINT msg, int mode, bool disableMouseExit = false, WPARAM w = 0,
                       POINT cursor = kStart) {
  return DecideWindowMessage(msg, w, mode, disableMouseExit, kStart, cursor);
}

// A hidden window that collects posted messages.
class PostTarget {
 public:
  PostTarget() {
    window_ = CreateWindowExA(0, "STATIC", "hooks", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  }
  ~PostTarget() { DestroyWindow(window_); }
  HWND Window() const { return window_; }
  // Number of WM_CLOSE messages waiting (removed).
  int TakeCloses() {
    int n = 0;
    MSG msg;
    while (PeekMessageA(&msg, window_, WM_CLOSE, WM_CLOSE, PM_REMOVE)) ++n;
    return n;
  }

 private:
  HWND window_;
};

}  // namespace

TEST(ExitOnInput, KeyButtonAndLongMoveCloseTheFullScreenRun) {
  ProgramFolderFixture folder("hooks_exit");
  PostTarget target;
  ASSERT_NE(target.Window(), nullptr);
  POINT start = kStart;
  struct Case {
    UINT msg;
    POINT cursor;
  } cases[] = {{WM_KEYDOWN, kStart},       {WM_LBUTTONDOWN, kStart}, {WM_RBUTTONDOWN, kStart},
               {WM_MOUSEMOVE, Moved(10, 0)}, {WM_MOUSEMOVE, Moved(-4, 6)},
               {WM_MOUSEMOVE, Moved(0, -10)}};
  for (int mode : {kModeFullScreen, kModePreview}) {
    for (const Case& c : cases) {
      start = kStart;
      MessageDecision d = DecideWindowMessage(c.msg, 0, mode, false, start, c.cursor);
      EXPECT_TRUE(ApplyMessageDecision(target.Window(), d, c.cursor, &start));
      EXPECT_EQ(target.TakeCloses(), 1) << c.msg << " mode " << mode;
      EXPECT_EQ(start.x, kStart.x);
    }
  }
  EXPECT_NE(ProgramFolderFixture::Log().find("get key/mouse\r\n"), std::string::npos);
}

TEST(ExitOnInput, ShortMovesNeverCloseAndMoveTheStartPoint) {
  PostTarget target;
  POINT start = kStart;
  // Jitter of 9 (|dx| + |dy|) again and again: each move becomes the new
  // reference, so the pointer may wander far without ending the saver.
  for (int i = 1; i <= 5; ++i) {
    POINT cursor{start.x + 5, start.y - 4};
    MessageDecision d = DecideWindowMessage(WM_MOUSEMOVE, 0, kModeFullScreen, false, start, cursor);
    EXPECT_TRUE(d.newStartPoint);
    EXPECT_FALSE(ApplyMessageDecision(target.Window(), d, cursor, &start));
    EXPECT_EQ(start.x, kStart.x + 5 * i);
    EXPECT_EQ(start.y, kStart.y - 4 * i);
  }
  EXPECT_EQ(target.TakeCloses(), 0);
  // Extreme coordinates do not overflow the distance.
  MessageDecision distant = DecideWindowMessage(WM_MOUSEMOVE, 0, kModeFullScreen, false,
                                            POINT{LONG_MIN, LONG_MIN}, POINT{LONG_MAX, LONG_MAX});
  EXPECT_TRUE(distant.postClose);
}

TEST(ExitOnInput, DebugRunIgnoresEverything) {
  PostTarget target;
  for (UINT msg : {WM_KEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MOUSEMOVE}) {
    POINT start = kStart;
    MessageDecision d = DecideWindowMessage(msg, 0, kModeDebug, false, start, Moved(300, 300));
    EXPECT_FALSE(ApplyMessageDecision(target.Window(), d, Moved(300, 300), &start)) << msg;
    EXPECT_FALSE(d.logInput);
  }
  MessageDecision d = Decide(WM_ACTIVATEAPP, kModeDebug, false, 0);
  EXPECT_FALSE(ApplyMessageDecision(target.Window(), d, kStart, nullptr));
  EXPECT_EQ(target.TakeCloses(), 0);
}

TEST(ExitOnInput, DeactivationClosesOutsideTheDebugRun) {
  MessageDecision off = Decide(WM_ACTIVATEAPP, kModeFullScreen, false, 0);
  EXPECT_TRUE(off.handled);
  EXPECT_TRUE(off.postClose);
  MessageDecision on = Decide(WM_ACTIVATEAPP, kModeFullScreen, false, 1);
  EXPECT_FALSE(on.handled);
  EXPECT_FALSE(on.postClose);
}

TEST(ExitOnInput, DisableMouseExitKeepsKeys) {
  for (UINT msg : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
    MessageDecision d = Decide(msg, kModeFullScreen, true);
    EXPECT_FALSE(d.handled);
    EXPECT_FALSE(d.postClose);
  }
  MessageDecision move = Decide(WM_MOUSEMOVE, kModeFullScreen, true, 0, Moved(200, 0));
  EXPECT_FALSE(move.postClose);
  EXPECT_FALSE(move.newStartPoint);
  EXPECT_TRUE(Decide(WM_KEYDOWN, kModeFullScreen, true).postClose);
}

TEST(WindowCommands, ProductCommandsAndTheRest) {
  MessageDecision capture = Decide(WM_COMMAND, kModeDebug, false, kCmdCapture);
  EXPECT_TRUE(capture.handled);
  EXPECT_TRUE(capture.capture);
  EXPECT_EQ(Decide(WM_COMMAND, kModeDebug, false, kCmdSpeedUp).speedStep, 1);
  EXPECT_EQ(Decide(WM_COMMAND, kModeDebug, false, kCmdSpeedDown).speedStep, -1);
  EXPECT_TRUE(Decide(WM_COMMAND, kModeFullScreen, false, kCmdIgnored).handled);
  // Engine commands (Esc 40006, single step 40005, ...) go on to the base.
  EXPECT_FALSE(Decide(WM_COMMAND, kModeFullScreen, false, 40006).handled);
  EXPECT_FALSE(Decide(WM_COMMAND, kModeFullScreen, false, 40005).handled);
  EXPECT_TRUE(Decide(WM_CONTEXTMENU, kModeFullScreen).handled);
  EXPECT_FALSE(Decide(WM_SIZE, kModeFullScreen).handled);
  // Keys outside the saver runs are swallowed without closing.
  MessageDecision key = Decide(WM_KEYDOWN, kModeConfigure);
  EXPECT_TRUE(key.handled && !key.postClose);
}

TEST(SpeedKeys, DoubleUpToEightAndHalveDownToAnEighth) {
  float speed = 1.0f;
  const float up[] = {2.0f, 4.0f, 8.0f, 8.0f, 8.0f};
  for (float expected : up) EXPECT_EQ(speed = NextSpeedFactor(speed, 1), expected);
  speed = 1.0f;
  const float down[] = {0.5f, 0.25f, 0.125f, 0.125f};
  for (float expected : down) EXPECT_EQ(speed = NextSpeedFactor(speed, -1), expected);
  EXPECT_EQ(NextSpeedFactor(6.0f, 1), 8.0f);
  EXPECT_EQ(NextSpeedFactor(0.2f, -1), 0.125f);
  EXPECT_EQ(NextSpeedFactor(3.0f, 0), 3.0f);
  EXPECT_EQ(NextSpeedFactor(std::numeric_limits<float>::quiet_NaN(), 1), 2.0f);
}

TEST(DeviceCaps, VertexShaderOneNeededUnlessSoftware) {
  D3DCAPS9 caps{};
  caps.VertexShaderVersion = 0xFFFE0000;  // none
  EXPECT_EQ(CheckVertexProcessingCaps(&caps, D3DCREATE_SOFTWARE_VERTEXPROCESSING), S_OK);
  EXPECT_EQ(CheckVertexProcessingCaps(nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING), S_OK);
  EXPECT_EQ(CheckVertexProcessingCaps(&caps, D3DCREATE_HARDWARE_VERTEXPROCESSING), E_FAIL);
  EXPECT_EQ(CheckVertexProcessingCaps(&caps, D3DCREATE_MIXED_VERTEXPROCESSING), E_FAIL);
  EXPECT_EQ(CheckVertexProcessingCaps(&caps, D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE),
            E_FAIL);
  EXPECT_EQ(CheckVertexProcessingCaps(nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING), E_FAIL);
  caps.VertexShaderVersion = 0xFFFE0100;  // vs 1.0
  EXPECT_EQ(CheckVertexProcessingCaps(&caps, D3DCREATE_HARDWARE_VERTEXPROCESSING), S_OK);
  EXPECT_EQ(CheckVertexProcessingCaps(&caps, D3DCREATE_MIXED_VERTEXPROCESSING), S_OK);
  caps.VertexShaderVersion = 0xFFFE0300;
  EXPECT_EQ(CheckVertexProcessingCaps(&caps, 0x50), S_OK);
}

TEST(SettingsHooks, AnswersFollowTheTables) {
  ProgramFolderFixture folder("hooks_settings");
  LoadSettings(0);
  const int trail[] = {0, 3, 8, 12};
  for (int v = 0; v < 4; ++v) {
    TechSettings.SetValue(kTechMultiSurface, v);
    EXPECT_EQ(GetMultiSurfaceCount(), trail[v]);
    EXPECT_EQ(IsMultiSurface(), v != 0);
  }
  TechSettings.SetValue(kTechMultiSurface, 7);
  EXPECT_EQ(GetMultiSurfaceCount(), 0);
  TechSettings.SetValue(kTechPixelShader11, 1);
  EXPECT_EQ(UsePixelShadersFor(0xFFFF0101), 1);
  EXPECT_EQ(UsePixelShadersFor(0xFFFF0100), 1);
  EXPECT_EQ(UsePixelShadersFor(0xFFFF0000), 0);
  TechSettings.SetValue(kTechPixelShader11, 0);
  EXPECT_EQ(UsePixelShadersFor(0xFFFF0300), 0);
}

TEST(FogAndLight, HookAnswersFollowTheLightsSettingWithoutObjects) {
  ProgramFolderFixture folder("hooks_fog");
  LoadSettings(0);
  SetSceneSetting(kSceneLights, 2);
  EXPECT_EQ(PackFogColor(GetFogColor(nullptr)), 0x99001A66u);
  SetSceneSetting(kSceneLights, 0);
  EXPECT_EQ(PackFogColor(GetFogColor(nullptr)), 0xFF0066FFu);
  const D3DXVECTOR4 fog(0.5f, 0.5f, 0.5f, 1.0f);
  EXPECT_EQ(PackFogColor(GetFogColor(&fog)), 0xFF808080u);
  const D3DXVECTOR3 sun(1, 0, 0);
  EXPECT_EQ(GetLightDirection(&sun).x, 1.0f);
  EXPECT_EQ(GetLightDirection(nullptr).z, DefaultLightDirection().z);
}

TEST(FogAndLight, DefaultsByLights) {
  struct Row {
    float r, g, b, a;
    D3DCOLOR packed;
  } rows[] = {{0, 0.4f, 1.0f, 1.0f, 0xFF0066FF},
              {0, 0.2f, 0.8f, 1.0f, 0xFF0033CC},
              {0, 0.1f, 0.4f, 0.6f, 0x99001A66},
              {0, 0, 0, 0, 0x00000000}};
  for (int lights = 0; lights < 4; ++lights) {
    D3DXVECTOR4 c = DefaultFogColor(lights);
    EXPECT_EQ(c.x, rows[lights].r);
    EXPECT_EQ(c.y, rows[lights].g);
    EXPECT_EQ(c.z, rows[lights].b);
    EXPECT_EQ(c.w, rows[lights].a);
    EXPECT_EQ(PackFogColor(c), rows[lights].packed) << lights;
  }
  EXPECT_EQ(PackFogColor(DefaultFogColor(-1)), 0u);
  EXPECT_EQ(PackFogColor(DefaultFogColor(99)), 0u);
  // Channels outside 0..1 (and NaN) are clamped.
  EXPECT_EQ(PackFogColor(D3DXVECTOR4(2.0f, -1.0f, std::nanf(""), 1.5f)), 0xFFFF0000u);

  LightsLevels l1 = LevelsForLights(1);
  EXPECT_EQ(l1.ambient, 0.3f);
  EXPECT_EQ(l1.diffuse, 0.4f);
  EXPECT_EQ(l1.extra, 0.1f);
  LightsLevels none = LevelsForLights(3);
  EXPECT_EQ(none.ambient, 0.0f);

  D3DXVECTOR3 dir = DefaultLightDirection();
  uint32_t bits[3];
  memcpy(bits, &dir, sizeof bits);
  EXPECT_EQ(bits[0], 0u);
  EXPECT_EQ(bits[1], 0xBF3504E6u);
  EXPECT_EQ(bits[2], 0x3F3504E6u);
}
