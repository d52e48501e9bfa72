// The shipped program as a user starts it, in a copy of the distributable
// folder with its own configuration files (no camera position plug-in), at
// scene speed x8: once the start pose is over, the camera travels with the
// flocks, so the view lines the log gives once a second mostly count fish,
// the camera moves, and it stays under the sea's rest height.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ProgramTestSupport.h"
#include "frame/C3Application.h"

using namespace qvtest;

namespace {

TEST(CameraProgram, TheCameraTravelsWithTheFish) {
  ClearLog();
  const std::string dir = MakeTempDir("qvcamera");
  ASSERT_TRUE(CopyDistFolder(dir));
  WritePrivateProfileStringA("Display", "DebugLogLevel", "2", (dir + "qelvar.ini").c_str());
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir);
  ASSERT_NE(window, nullptr);
  for (int i = 0; i < 3; ++i) PostMessageA(window, WM_COMMAND, kCmdSpeedUp, 0);  // x2, x4, x8
  // The start pose holds for 10 seconds of the program's clock; then the
  // camera finds its first flock. Lines from the 15th on count.
  constexpr size_t kSkipped = 15, kCounted = 30;
  ASSERT_TRUE(WaitUntil([] { return ViewLines(ReadLog()).size() >= kSkipped + kCounted; }, 240000)) << ReadLog();
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(60000));
  EXPECT_EQ(0u, program.ExitCode());
  const std::string log = ReadLog();
  RemoveTree(dir);
  EXPECT_EQ(log.find("nan"), std::string::npos);

  const std::vector<ViewLine> all = ViewLines(log);
  const std::vector<ViewLine> lines(all.begin() + kSkipped, all.end());
  const ViewSummary view = SummariseView(lines);
  printf("%zu view lines: %.0f%% with 3 or more fish, median %d fish, camera span %.1f, y from %.1f to %.1f\n",
         view.lines, view.shareWithFish * 100.0, view.medianFish, view.span, view.lowest, view.highest);
  EXPECT_GT(view.shareWithFish, 0.6);
  EXPECT_GT(view.span, 10.0);
  EXPECT_LT(view.highest, 1.0);
  EXPECT_GT(view.lowest, -80.0);  // never below the deepest floor
}

}  // namespace
