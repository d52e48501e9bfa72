// The running program: the water it shows follows the Lights setting of
// qelvar.ini (bright blue at 0, deep blue at 2), and the capture key (through
// the key table) saves the frame that shows it.
#include <gtest/gtest.h>

#include <string>

#include "ProgramTestSupport.h"

using namespace qvtest;

namespace {

struct Rgb {
  int r, g, b;
};

// Runs the program in debug mode with the given Lights value, presses C and
// returns the mean colour of the top tenth of the saved frame (open water).
void CentreWithLights(int lights, Rgb* out) {
  ClearLog();
  std::string dir = MakeTempDir("qvfog");
  ASSERT_TRUE(CopyFileTo(DistDir() + "Qelvar.scr", dir + "Qelvar.scr"));
  ASSERT_TRUE(WriteFileText(dir + "qelvar.ini", "[Display]\r\nDebugLogLevel=2\r\n[system]\r\nLights=" +
                                                    std::to_string(lights) + "\r\n"));
  CreateDirectoryA((dir + "capture").c_str(), nullptr);  // where the saved frames go
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(WaitForLog("frame stats: "), std::string::npos) << ReadLog();
  RECT client{};
  GetClientRect(window, &client);
  const int w = client.right, h = client.bottom;
  ASSERT_GT(w, 0);
  ASSERT_GT(h, 0);

  // The key goes through the program's key table to the capture command.
  PressKey(window, 'C');
  const std::string shot = dir + "capture\\L0000.bmp";
  SavedFrame frame;
  ASSERT_TRUE(WaitForSavedFrame(shot, w, h, &frame))
      << w << "x" << h << " " << ReadFileBytes(shot).size() << "\n" << ReadLog();
  long sum[3] = {0, 0, 0};
  const int rows = h / 10;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) sum[c] += frame.At(x, y)[c];
  const long n = static_cast<long>(rows) * w;
  *out = Rgb{static_cast<int>(sum[2] / n), static_cast<int>(sum[1] / n), static_cast<int>(sum[0] / n)};

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(30000));
  EXPECT_EQ(0u, program.ExitCode());
  EXPECT_FALSE(FileExists(dir + "LastError.txt"));
  RemoveTree(dir);
}

}  // namespace

TEST(ProgramFog, WaterFollowsTheLightsSetting) {
  Rgb bright{-1, -1, -1}, dark{-1, -1, -1};
  CentreWithLights(0, &bright);
  CentreWithLights(2, &dark);
  // Blue water either way, clearly brighter with Lights 0.
  EXPECT_GT(bright.b, bright.r + 40);
  EXPECT_GT(dark.b, dark.r + 10);
  EXPECT_GT(bright.b + bright.g, dark.b + dark.g + 60);
}
