// The running program: the water it shows follows the Lights setting of
// qelvar.ini (bright blue at 0, deep blue at 2), and the capture key (through
// the key table) saves the frame that shows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ProgramTestSupport.h"

using namespace qvtest;

namespace {

struct Rgb {
  int r, g, b;
};

// Runs the program in debug mode with the given Lights value, presses C and
// returns the median colour of the saved frame.
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
  // The median of each channel over the whole frame: the water around the
  // logo, whatever the sea surface, the flare or the halation do to a part of it.
  std::vector<int> channel[3];
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) channel[c].push_back(frame.At(x, y)[c]);
  int median[3];
  for (int c = 0; c < 3; ++c) {
    std::nth_element(channel[c].begin(), channel[c].begin() + channel[c].size() / 2, channel[c].end());
    median[c] = channel[c][channel[c].size() / 2];
  }
  *out = Rgb{median[2], median[1], median[0]};

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
  EXPECT_GT(bright.b + bright.g, dark.b + dark.g + 100);
}
