// The real program with coral: a copy of the distributable folder with the
// densest coral setting and the test camera TravelCamera.qve, which travels
// along +x a few units above the floor. The coral server is made in its
// place in the scene, every colony of Calvesh with it, and frames that show
// the coral alone (everything else left undrawn) find it round the camera
// at the start of the trip and still round it far along the way.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ProgramTestSupport.h"

using namespace qvtest;

namespace {

int Count(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

// Pixels clearly off the colour of the top left corner (the cleared water).
int CoralPixels(const SavedFrame& s) { return PixelsOffColour(s, s.At(1, 1), 0, 0, s.w, s.h); }

class CoralProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLog();
    dir_ = MakeTempDir("qvcoral");
    ASSERT_TRUE(CopyDistFolder(dir_, {{"TravelCamera.qve", "ai\\TravelCamera.qve"}}));
    const std::string ini = dir_ + "qelvar.ini";
    WritePrivateProfileStringA("Display", "DebugLogLevel", "2", ini.c_str());
    // Only the coral is drawn over the cleared water.
    WritePrivateProfileStringA("Display", "DebugDisableRender",
                               "X1Terrain C6Skydome C3Logo X7SoftFog C3LightTower C6Flare X1Halation "
                               "X2FileFish C6Fish C7TexturePanel",
                               ini.c_str());
    WritePrivateProfileStringA("system", "Lights", "0", ini.c_str());
    WritePrivateProfileStringA("system", "CoralDensity", "4", ini.c_str());
    // The travelling camera is the one position entry, for the whole run.
    UseOnlySourceCamera(dir_, "TravelCamera_QvTest");
  }
  void TearDown() override { RemoveTree(dir_); }

  // Frames until one shows coral (at most 20).
  bool CaptureCoral(HWND window, SavedFrame* shot) {
    RECT client{};
    GetClientRect(window, &client);
    for (int i = 0; i < 20; ++i) {
      char name[32];
      snprintf(name, sizeof name, "capture\\L%04d.bmp", shots_++);
      PressKey(window, 'C');
      if (!WaitForSavedFrame(dir_ + name, client.right, client.bottom, shot, 60000)) return false;
      if (CoralPixels(*shot) > shot->w * shot->h / 500) return true;
      PumpMessages(500);
    }
    return false;
  }

  std::string dir_;
  int shots_ = 0;
};

TEST_F(CoralProgram, ColoniesStandRoundTheTravellingCamera) {
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir_);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(WaitForLog("frame stats: ", 0, 120000), std::string::npos) << ReadLog();
  std::string log = ReadLog();

  // Made after the floor and its fields, before the flocks; 40 colonies in
  // each of the nine cells, each one Calvesh piece.
  const size_t terrain = log.find("WORLD AddChild : X1Terrain");
  const size_t server = log.find("WORLD AddChild : X1CoralServer");
  const size_t fish = log.find("WORLD AddChild : X2FileFish");
  ASSERT_NE(server, std::string::npos) << log;
  EXPECT_LT(terrain, server);
  EXPECT_LT(server, fish);
  EXPECT_NE(log.find("coral: 360 colonies in 9 cells (density 4)"), std::string::npos) << log;
  EXPECT_EQ(360, Count(log, "WORLD AddChild : X2FileCoral"));
  EXPECT_EQ(log.find("scene: coral not made"), std::string::npos);

  // The camera holds its start pose for 10 seconds, then travels 6 units a
  // second: coral round it at the start, and again some 90 units on, where
  // no colony of the first cells is within reach unless the grid scrolled.
  PumpMessages(11000);
  SavedFrame a, b;
  ASSERT_TRUE(CaptureCoral(window, &a)) << "no coral in view";
  PumpMessages(15000);
  ASSERT_TRUE(CaptureCoral(window, &b)) << "no coral in view further on";

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(60000));
  EXPECT_EQ(0u, program.ExitCode());
  EXPECT_FALSE(FileExists(dir_ + "LastError.txt")) << ReadLog();
  log = ReadLog();
  EXPECT_EQ(log.find("error box"), std::string::npos);
  EXPECT_EQ(log.find("KWEX Coral"), std::string::npos);
  EXPECT_GE(Count(log, "Terrain rebuilt around "), 2) << "the camera did not travel";

  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteFileBytes(folder + "coral_program_a.bmp", a.bytes.data(), a.bytes.size());
  WriteFileBytes(folder + "coral_program_b.bmp", b.bytes.data(), b.bytes.size());
}

}  // namespace
