// The real program in a folder laid out like the distributable one (ai and
// model plug-ins, default configuration files) or with a preset's files
// copied over them: it builds its flocks through the flock AI plug-in, the
// camera follows them, and frames saved with the capture key show fish that
// move, after 20 seconds of scene time reached with the speed keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ProgramTestSupport.h"

using namespace qvtest;

namespace {

// Pixels clearly off the colour of the top left corner (the cleared water).
int SubjectPixels(const SavedFrame& s) { return PixelsOffColour(s, s.At(1, 1), 0, 0, s.w, s.h); }

int Changed(const SavedFrame& a, const SavedFrame& b) {
  if (a.bytes.size() != b.bytes.size()) return -1;
  int n = 0;
  for (size_t i = 54; i + 2 < a.bytes.size(); i += 3)
    n += std::abs(a.bytes[i] - b.bytes[i]) + std::abs(a.bytes[i + 1] - b.bytes[i + 1]) > 24;
  return n;
}

class SceneProgram : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    ClearLog();
    dir_ = MakeTempDir("qvscene");
    ASSERT_TRUE(CopyDistFolder(dir_));
    const int preset = GetParam();
    if (preset > 0) {
      const std::string from = DistDir() + "preset\\" + std::to_string(preset) + "\\";
      for (const char* f : kDistConfigFiles) ASSERT_TRUE(CopyFileTo(from + f, dir_ + f));
      ASSERT_TRUE(CopyFileTo(from + "qelvar.ini", dir_ + "qelvar.ini"));
    }
    // Bright water (Lights 0) so that dark fish stand out from it, and only
    // the fish drawn over it (the floor, sky, logo, shafts and glints move
    // too and would hide whether any fish is in view).
    WritePrivateProfileStringA("Display", "DebugLogLevel", "2", (dir_ + "qelvar.ini").c_str());
    WritePrivateProfileStringA("Display", "DebugDisableRender",
                               "X1Terrain C6Skydome C3Logo X7SoftFog C3LightTower C6Flare X1Halation X7Bubbles X2FileCoral C6unionSeaface",
                               (dir_ + "qelvar.ini").c_str());
    WritePrivateProfileStringA("system", "Lights", "0", (dir_ + "qelvar.ini").c_str());
    // The glare pass draws its sources whatever the list above says, and
    // their glow moves with the sun: no glare sources in these runs.
    for (const char* key : {"Flare", "LightTower", "Halation", "Bubble"})
      WritePrivateProfileStringA("system", key, "0", (dir_ + "qelvar.ini").c_str());
  }
  void TearDown() override { RemoveTree(dir_); }

  bool Capture(HWND window, int n, SavedFrame* shot) { return CaptureFrame(window, dir_, n, shot); }

  std::string dir_;
};

TEST_P(SceneProgram, FlocksSwimBeforeTheCamera) {
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir_);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(WaitForLog("frame stats: ", 0, 120000), std::string::npos) << ReadLog();
  std::string log = ReadLog();

  // The scene in its order: camera and ring wander first, then the flocks,
  // then the panels and the status line.
  const size_t camera = log.find("WORLD AddChild : X2Camera");
  const size_t wander = log.find("WORLD AddChild : X1RingWander");
  const size_t fish = log.find("WORLD AddChild : X2FileFish");
  const size_t panel = log.find("WORLD AddChild : C7TexturePanel");
  const size_t info = log.find("WORLD AddChild : C9DisplayInfo");
  ASSERT_NE(fish, std::string::npos) << log;
  EXPECT_LT(wander, camera);
  EXPECT_LT(camera, fish);
  EXPECT_LT(fish, panel);
  EXPECT_LT(panel, info);
  // Every flock of the configuration is built, of a built-in species or of
  // a fish plug-in (the richest preset swims the model folder's vassop).
  const int flocks = GetPrivateProfileIntA("flockConfig", "flockCount", 0, (dir_ + "FlockConfig.ini").c_str());
  EXPECT_GT(flocks, 0);
  for (int i = 0; i < flocks; ++i)
    EXPECT_NE(log.find("Flock " + std::to_string(i) + ":Fish For Camera "), std::string::npos) << i;
  EXPECT_EQ(log.find("FlockConfig:Bad"), std::string::npos) << log;

  // Twice the speed: 20 seconds of scene time pass while the camera holds
  // its start pose for its first 10 seconds (it runs on the unscaled clock).
  // Then, with no position AI installed, it travels with the flocks and
  // looks along its way, at the fish it heads for; it may be on its way
  // between flocks at first: frames are taken until one shows fish, and the
  // next must differ from it.
  PressKey(window, 'Z');
  PumpMessages(11000);
  SavedFrame a, b;
  int shots = 0;
  bool seen = false;
  while (!seen && shots < 120) {
    ASSERT_TRUE(Capture(window, shots++, &a)) << ReadLog();
    seen = SubjectPixels(a) > a.w * a.h / 1000;
    if (!seen) PumpMessages(500);
  }
  EXPECT_TRUE(seen) << "no fish in view in " << shots << " frames";
  PumpMessages(800);
  ASSERT_TRUE(Capture(window, shots++, &b));
  EXPECT_GT(Changed(a, b), 100) << "the fish did not move";

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(60000));
  EXPECT_EQ(0u, program.ExitCode());
  EXPECT_FALSE(FileExists(dir_ + "LastError.txt")) << ReadLog();
  log = ReadLog();
  EXPECT_EQ(log.find("error box"), std::string::npos);
  EXPECT_EQ(log.find("nan"), std::string::npos);
  // Every buffer drawn is the server's or its object's own, never a stray one.
  EXPECT_EQ(log.find("KWEX ILLEGAL"), std::string::npos);

  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string tag = "scene_preset" + std::to_string(GetParam());
  WriteFileBytes(folder + tag + "_a.bmp", a.bytes.data(), a.bytes.size());
  WriteFileBytes(folder + tag + "_b.bmp", b.bytes.data(), b.bytes.size());
}

// The draw calls and primitives of a frame, as the log gives them once a
// second, from the third line on (the first seconds build the scene).
struct FrameDraws {
  double calls = -1.0, primitives = -1.0;
};

FrameDraws MedianDraws(const std::string& dir) {
  ClearLog();
  ChildProcess program;
  FrameDraws out;
  HWND window = StartDebugRun(&program, dir);
  if (!window) return out;
  const std::string prefix = "frame draws: ";
  std::vector<double> calls, primitives;
  WaitUntil([&] {
    calls.clear();
    primitives.clear();
    const std::string log = ReadLog();
    int line = 0;
    for (size_t at = log.find(prefix); at != std::string::npos; at = log.find(prefix, at + 1)) {
      double c = 0.0, p = 0.0;
      if (++line > 2 && sscanf(log.c_str() + at + prefix.size(), "%lf calls, %lf", &c, &p) == 2) {
        calls.push_back(c);
        primitives.push_back(p);
      }
    }
    return calls.size() >= 5;
  }, kProgramWaitMs);
  PostMessageA(window, WM_CLOSE, 0, 0);
  program.Wait(60000);
  if (calls.empty()) return out;
  std::sort(calls.begin(), calls.end());
  std::sort(primitives.begin(), primitives.end());
  out.calls = calls[calls.size() / 2];
  out.primitives = primitives[primitives.size() / 2];
  return out;
}

// The whole default scene counts its draws; hiding the objects of the scene
// leaves those of the panels and the glare.
TEST(SceneDraws, FramesCountTheirDrawCalls) {
  const std::string dir = MakeTempDir("qvdraws");
  ASSERT_TRUE(CopyDistFolder(dir));
  const std::string ini = dir + "qelvar.ini";
  WritePrivateProfileStringA("Display", "DebugLogLevel", "2", ini.c_str());
  const FrameDraws whole = MedianDraws(dir);
  WritePrivateProfileStringA("Display", "DebugDisableRender",
                             "X1Terrain C6Skydome C3Logo X7SoftFog C3LightTower C6Flare X1Halation X7Bubbles "
                             "X2FileCoral C6unionSeaface X2FileFish",
                             ini.c_str());
  const FrameDraws hidden = MedianDraws(dir);
  RemoveTree(dir);
  printf("draws a frame: %.1f (%.0f primitives), scene hidden %.1f (%.0f primitives)\n", whole.calls,
         whole.primitives, hidden.calls, hidden.primitives);
  ASSERT_GT(whole.calls, 20.0) << "floor, sea, sky, shafts, coral, fish and panels are each drawn";
  EXPECT_GT(whole.primitives, whole.calls * 2.0);
  ASSERT_GT(hidden.calls, 0.0);
  EXPECT_LT(hidden.calls, whole.calls - 10.0);
  EXPECT_LT(hidden.primitives * 2.0, whole.primitives);
}

// With DisplayInfo on, the statistics panels on the left show the frame and
// device texts the application answers; off, they stay empty. Only the
// panels are drawn over the cleared water.
TEST(StatusPanels, DisplayInfoShowsTheApplicationsStatistics) {
  const std::string dir = MakeTempDir("qvstatus");
  ASSERT_TRUE(CopyDistFolder(dir));
  const std::string ini = dir + "qelvar.ini";
  WritePrivateProfileStringA("Display", "DebugLogLevel", "2", ini.c_str());
  WritePrivateProfileStringA("Display", "DebugDisableRender",
                             "X1Terrain C6Skydome C3Logo X7SoftFog C3LightTower C6Flare X1Halation X7Bubbles "
                             "X2FileCoral C6unionSeaface X2FileFish",
                             ini.c_str());
  WritePrivateProfileStringA("system", "Lights", "0", ini.c_str());
  int text[2] = {-1, -1};
  for (int shown = 0; shown < 2; ++shown) {
    WritePrivateProfileStringA("system", "DisplayInfo", shown ? "1" : "0", ini.c_str());
    ClearLog();
    ChildProcess program;
    HWND window = StartDebugRun(&program, dir);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(WaitForLog("frame stats: ", 0, 120000), std::string::npos) << ReadLog();
    PumpMessages(2000);
    SavedFrame shot;
    ASSERT_TRUE(CaptureFrame(window, dir, shown, &shot)) << ReadLog();
    // The dark backing of the text in the left column of panels, from the
    // frame statistics down: the bright water is never that dark.
    text[shown] = 0;
    for (int y = shot.h / 2; y < shot.h * 3 / 5; ++y)
      for (int x = 0; x < shot.w / 2; ++x) {
        const uint8_t* p = shot.At(x, y);
        text[shown] += std::max({p[0], p[1], p[2]}) < 48;
      }
    if (shown) {
      const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
      CreateDirectoryA(folder.c_str(), nullptr);
      WriteFileBytes(folder + "status_panels.bmp", shot.bytes.data(), shot.bytes.size());
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.Wait(60000));
    EXPECT_EQ(0u, program.ExitCode());
  }
  RemoveTree(dir);
  printf("dark panel pixels of the statistics: %d off, %d on\n", text[0], text[1]);
  EXPECT_LT(text[0], 20);
  EXPECT_GT(text[1], 2000);
}

// 0: the default files of the program folder; 1..3: the presets.
INSTANTIATE_TEST_SUITE_P(Presets, SceneProgram, ::testing::Values(0, 1, 2, 3));

}  // namespace
