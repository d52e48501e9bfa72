// The running program with fish: a test variant whose world holds one fish
// of every species (built-in and the vassop plug-in in its model folder).
// The saved frames show them, animated, before and after a device reset and
// two window-mode switches.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ProgramTestSupport.h"

using namespace qvtest;

namespace {

class ProgramFish : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLog();
    dir_ = MakeTempDir("qvfishprog");
    ASSERT_TRUE(CopyFileTo(TestBinDir() + "QelvarFishScene.scr", dir_ + "Qelvar.scr"));
    CreateDirectoryA((dir_ + "model").c_str(), nullptr);
    ASSERT_TRUE(CopyFileTo(DistDir() + "model\\vassop.qvf", dir_ + "model\\vassop.qvf"));
    ASSERT_TRUE(WriteFileText(dir_ + "qelvar.ini",
                              "[Display]\r\nDebugLogLevel=2\r\n[system]\r\nLights=0\r\nPartialMorph=1\r\n"));
    CreateDirectoryA((dir_ + "capture").c_str(), nullptr);
  }
  void TearDown() override { RemoveTree(dir_); }

  // Presses C and reads the saved frame number n.
  bool Capture(HWND window, int n, SavedFrame* shot) {
    char name[32];
    snprintf(name, sizeof name, "capture\\L%04d.bmp", n);
    RECT client{};
    GetClientRect(window, &client);
    PressKey(window, 'C');
    return WaitForSavedFrame(dir_ + name, client.right, client.bottom, shot, 60000);
  }

  // Pixels clearly off the cleared sea colour (the fish fill the lower half).
  static int FishPixels(const SavedFrame& s, const uint8_t sea[3]) {
    int n = 0;
    for (int y = 0; y < s.h; ++y)
      for (int x = 0; x < s.w; ++x) {
        const uint8_t* p = s.At(x, y);
        n += std::abs(p[0] - sea[0]) + std::abs(p[1] - sea[1]) + std::abs(p[2] - sea[2]) > 24;
      }
    return n;
  }
  static int Changed(const SavedFrame& a, const SavedFrame& b) {
    if (a.bytes.size() != b.bytes.size()) return -1;
    int n = 0;
    for (size_t i = 54; i < a.bytes.size(); i += 3) n += a.bytes[i] != b.bytes[i] || a.bytes[i + 1] != b.bytes[i + 1];
    return n;
  }

  std::string dir_;
};

TEST_F(ProgramFish, EverySpeciesDrawnAndAnimatedAcrossResetAndModeSwitch) {
  const int desktopWidth = GetSystemMetrics(SM_CXSCREEN);
  const int desktopHeight = GetSystemMetrics(SM_CYSCREEN);
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir_);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(WaitForLog("frame stats: ", 0, 60000), std::string::npos) << ReadLog();
  EXPECT_NE(ReadLog().find("Big Fish"), std::string::npos) << "vassop's fish not made";

  // Lights 0 clears to (0, 102, 255); blue, green, red in the file.
  const uint8_t sea[3] = {255, 102, 0};
  SavedFrame a, b;
  ASSERT_TRUE(Capture(window, 0, &a)) << ReadLog();
  const uint8_t* corner = a.At(2, 2);
  EXPECT_EQ(corner[0], sea[0]);
  EXPECT_EQ(corner[2], sea[2]);
  const int drawn = FishPixels(a, sea);
  EXPECT_GT(drawn, a.w * a.h / 100) << "fish hardly visible";
  PumpMessages(500);
  ASSERT_TRUE(Capture(window, 1, &b));
  EXPECT_GT(Changed(a, b), 50) << "the fish did not move";

  // A resize resets the device; then Alt+Enter's command twice (full screen
  // and back, a new device each time).
  int restores = CountOf(ReadLog(), "restore device objects ");
  SetWindowPos(window, nullptr, 0, 0, 560, 420, SWP_NOMOVE | SWP_NOZORDER);
  DWORD_PTR result;
  SendMessageTimeoutA(window, WM_EXITSIZEMOVE, 0, 0, SMTO_NORMAL, 10000, &result);
  ASSERT_TRUE(WaitUntil([&] { return CountOf(ReadLog(), "restore device objects ") > restores; }, 60000)) << ReadLog();
  for (int i = 0; i < 2; ++i) {
    restores = CountOf(ReadLog(), "restore device objects ");
    PostMessageA(window, WM_COMMAND, 40003, 0);
    ASSERT_TRUE(WaitUntil([&] { return CountOf(ReadLog(), "restore device objects ") > restores; }, 60000)) << ReadLog();
  }
  PumpMessages(1000);
  SavedFrame c, d;
  ASSERT_TRUE(Capture(window, 2, &c)) << ReadLog();
  EXPECT_GT(FishPixels(c, sea), c.w * c.h / 100) << "fish lost after the resets";
  PumpMessages(500);
  ASSERT_TRUE(Capture(window, 3, &d));
  EXPECT_GT(Changed(c, d), 50) << "the fish stopped after the resets";

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(30000));
  EXPECT_EQ(0u, program.ExitCode());
  // The full-screen switches changed the display mode; the programs run after
  // this one need the desktop back at its size.
  EXPECT_TRUE(WaitUntil([&] {
    return GetSystemMetrics(SM_CXSCREEN) == desktopWidth && GetSystemMetrics(SM_CYSCREEN) == desktopHeight;
  }, 30000));
  PumpMessages(1000);
  EXPECT_FALSE(FileExists(dir_ + "LastError.txt")) << ReadLog();
  const std::string log = ReadLog();
  EXPECT_EQ(log.find("error box"), std::string::npos) << log;
  // Artefact for a look: the first frame.
  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CopyFileA((dir_ + "capture\\L0000.bmp").c_str(), (folder + "program_fish.bmp").c_str(), FALSE);
}

}  // namespace
