// The real program with the Bubble setting on: the bubble field is made and
// registered after the floor, and columns of bubbles rise in the frames it
// saves. Everything else that lights the water is kept out of the picture
// (not drawn), so the pale bubbles stand alone in the blue.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ProgramTestSupport.h"

using namespace qvtest;

namespace {

bool CopyDist(const std::string& to) {
  bool ok = CopyFileTo(DistDir() + "Qelvar.scr", to + "Qelvar.scr");
  CreateDirectoryA((to + "ai").c_str(), nullptr);
  CreateDirectoryA((to + "model").c_str(), nullptr);
  CreateDirectoryA((to + "capture").c_str(), nullptr);
  for (const char* f : {"ai\\PurselAI.qva", "ai\\Forelens.qve", "model\\vassop.qvf", "model\\Calvesh.qvc",
                        "FlockConfig.ini", "CameraConfig.ini", "CoralConfig.ini", "StructureConfig.ini"})
    ok &= CopyFileTo(DistDir() + f, to + f);
  return ok;
}

// Pale pixels: the water of Lights 0 has no red at all, the bubbles do.
int BubblePixels(const SavedFrame& s) {
  int n = 0;
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) n += s.At(x, y)[2] > 60 ? 1 : 0;
  return n;
}

int Changed(const SavedFrame& a, const SavedFrame& b) {
  if (a.bytes.size() != b.bytes.size()) return -1;
  int n = 0;
  for (size_t i = 54; i < a.bytes.size(); ++i) n += std::abs(a.bytes[i] - b.bytes[i]) > 24 ? 1 : 0;
  return n;
}

class BubbleProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLog();
    dir_ = MakeTempDir("qvbubbles");
    ASSERT_TRUE(CopyDist(dir_));
    const std::string ini = dir_ + "qelvar.ini";
    WritePrivateProfileStringA("Display", "DebugLogLevel", "2", ini.c_str());
    WritePrivateProfileStringA("Display", "DebugDisableRender",
                               "X1Terrain C6Skydome C3Logo X7SoftFog C3LightTower C6Flare X1Halation X2FileFish "
                               "C7TexturePanel C9DisplayInfo",
                               ini.c_str());
    WritePrivateProfileStringA("system", "Lights", "0", ini.c_str());
    WritePrivateProfileStringA("system", "Bubble", "1", ini.c_str());
  }
  void TearDown() override { RemoveTree(dir_); }

  bool Capture(HWND window, int n, SavedFrame* shot) {
    char name[32];
    snprintf(name, sizeof name, "capture\\L%04d.bmp", n);
    RECT client{};
    GetClientRect(window, &client);
    PressKey(window, 'C');
    return WaitForSavedFrame(dir_ + name, client.right, client.bottom, shot, 60000);
  }

  std::string dir_;
};

TEST_F(BubbleProgram, BubbleColumnsRiseInTheProgram) {
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir_);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(WaitForLog("frame stats: ", 0, 120000), std::string::npos) << ReadLog();
  std::string log = ReadLog();

  // Made after the floor and the flocks, before the light shafts and panels.
  const size_t terrain = log.find("WORLD AddChild : X1Terrain");
  const size_t bubbles = log.find("WORLD AddChild : X7Bubbles");
  const size_t panel = log.find("WORLD AddChild : C7TexturePanel");
  ASSERT_NE(bubbles, std::string::npos) << log;
  EXPECT_EQ(log.find("WORLD AddChild : X7Bubbles", bubbles + 1), std::string::npos);
  EXPECT_LT(terrain, bubbles);
  EXPECT_LT(bubbles, panel);
  EXPECT_EQ(log.find("bubbles not made"), std::string::npos);

  // Eight times the speed: the layers, rising 0.2 units a second from the
  // floor 28 units down, reach the camera's height after some 140 seconds
  // of scene time. Frames are taken until one shows them.
  for (int i = 0; i < 3; ++i) PressKey(window, 'Z');
  PumpMessages(20000);
  SavedFrame a, b;
  int shots = 0;
  bool seen = false;
  while (!seen && shots < 40) {
    ASSERT_TRUE(Capture(window, shots++, &a)) << ReadLog();
    seen = BubblePixels(a) > a.w * a.h / 2000;
    if (!seen) PumpMessages(1000);
  }
  EXPECT_TRUE(seen) << "no bubbles in view in " << shots << " frames";
  // They rise on.
  PumpMessages(1500);
  ASSERT_TRUE(Capture(window, shots++, &b));
  EXPECT_GT(Changed(a, b), 100);

  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteFileBytes(folder + "bubbles_program_a.bmp", a.bytes.data(), a.bytes.size());
  WriteFileBytes(folder + "bubbles_program_b.bmp", b.bytes.data(), b.bytes.size());

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(60000));
  EXPECT_EQ(0u, program.ExitCode());
  EXPECT_FALSE(FileExists(dir_ + "LastError.txt")) << ReadLog();
  log = ReadLog();
  EXPECT_EQ(log.find("KWEX ILLEGAL"), std::string::npos);
}

}  // namespace
