// The running program: with no fog object yet, the sea it clears to follows
// the Lights setting of qelvar.ini, and the capture key (through the key
// table) saves the frame that shows it.
#include <gtest/gtest.h>

#include <string>

#include "ProgramTestSupport.h"

using namespace qvtest;

namespace {

struct Rgb {
  int r, g, b;
};

// Runs the program in debug mode with the given Lights value, presses C and
// returns the centre pixel of the saved frame.
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
  const uint8_t* centre = frame.Centre();
  *out = Rgb{centre[2], centre[1], centre[0]};

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(30000));
  EXPECT_EQ(0u, program.ExitCode());
  EXPECT_FALSE(FileExists(dir + "LastError.txt"));
  RemoveTree(dir);
}

}  // namespace

TEST(ProgramFog, SeaColourFollowsTheLightsSetting) {
  // Lights 0: (0, 0.4, 1.0); Lights 2: (0, 0.1, 0.4), each v * 255 + 0.5.
  const struct {
    int lights;
    Rgb colour;
  } cases[] = {{0, {0, 102, 255}}, {2, {0, 26, 102}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lights);
    Rgb centre{-1, -1, -1};
    CentreWithLights(c.lights, &centre);
    EXPECT_EQ(centre.r, c.colour.r);
    EXPECT_EQ(centre.g, c.colour.g);
    EXPECT_EQ(centre.b, c.colour.b);
  }
}
