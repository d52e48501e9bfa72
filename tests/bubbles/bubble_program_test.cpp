// The real program with the Bubble setting on: the bubble field is made and
// registered after the floor, and columns of bubbles rise in the frames it
// saves. Everything else that lights the water is kept out of the picture
// (not drawn), so the pale bubbles stand alone in the blue.
#include <gtest/gtest.h>

#include <string>

#include "ProgramTestSupport.h"

using namespace qvtest;

namespace {

// Pale pixels: the water of Lights 0 has no red at all, the bubbles do.
bool Pale(const SavedFrame& s, int x, int y) { return s.At(x, y)[2] > 60; }

// Pale pixels of `a`; with `b`, those pale in only one of the two.
int BubblePixels(const SavedFrame& a, const SavedFrame* b = nullptr) {
  int n = 0;
  for (int y = 0; y < a.h; ++y)
    for (int x = 0; x < a.w; ++x) n += Pale(a, x, y) != (b && Pale(*b, x, y)) ? 1 : 0;
  return n;
}

class BubbleProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLog();
    dir_ = MakeTempDir("qvbubbles");
    ASSERT_TRUE(CopyDistFolder(dir_));
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

  bool Capture(HWND window, int n, SavedFrame* shot) { return CaptureFrame(window, dir_, n, shot); }

  std::string dir_;
};

TEST_F(BubbleProgram, BubbleColumnsRiseInTheProgram) {
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir_);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(WaitForLog("frame stats: ", 0, 120000), std::string::npos) << ReadLog();
  const std::string log = ReadLog();

  // Made once, after the floor and before the text panels.
  const size_t bubbles = log.find("WORLD AddChild : X7Bubbles");
  ASSERT_NE(bubbles, std::string::npos) << log;
  EXPECT_LT(log.find("WORLD AddChild : X1Terrain"), bubbles);
  EXPECT_LT(bubbles, log.find("WORLD AddChild : C7TexturePanel"));
  EXPECT_EQ(log.find("WORLD AddChild : X7Bubbles", bubbles + 1), std::string::npos);

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
  // They rise on: a frame later shows them elsewhere.
  PumpMessages(1500);
  ASSERT_TRUE(Capture(window, shots++, &b));
  EXPECT_GT(BubblePixels(a, &b), 100);

  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteFileBytes(folder + "bubbles_program_a.bmp", a.bytes.data(), a.bytes.size());
  WriteFileBytes(folder + "bubbles_program_b.bmp", b.bytes.data(), b.bytes.size());

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(60000));
  EXPECT_EQ(0u, program.ExitCode());
  EXPECT_FALSE(FileExists(dir_ + "LastError.txt")) << ReadLog();
  EXPECT_EQ(ReadLog().find("KWEX ILLEGAL"), std::string::npos);
}

}  // namespace
