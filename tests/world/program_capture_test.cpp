// The program's screenshot command under Wine, after a window resize.
#include <gtest/gtest.h>

#include <string>

#include "ProgramTestSupport.h"

using namespace qvtest;

namespace {

TEST(ProgramCapture, ScreenshotCommandWritesTheBackBufferAfterAResize) {
  ClearLog();
  std::string dir = MakeTempDir("qvcapture");
  ASSERT_TRUE(CopyFileTo(DistDir() + "Qelvar.scr", dir + "Qelvar.scr"));
  ASSERT_TRUE(WriteFileText(dir + "qelvar.ini", "[Display]\r\nDebugLogLevel=2\r\n[system]\r\nLights=1\r\n"));

  ChildProcess program;
  HWND window = StartDebugRun(&program, dir);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(WaitForLog("frame stats: "), std::string::npos) << ReadLog();
  EXPECT_NE(ReadLog().find("random seed "), std::string::npos) << "the run's seed is logged";

  // Without the capture folder nothing is saved, and the log says so; the
  // program does not make the folder.
  PostMessageA(window, WM_COMMAND, 40001, 0);
  ASSERT_NE(WaitForLog("KWEX Capture not written:"), std::string::npos) << ReadLog();
  EXPECT_NE(ReadLog().find("capture\\L0000.bmp"), std::string::npos);
  EXPECT_FALSE(FileExists(dir + "capture"));

  CreateDirectoryA((dir + "capture").c_str(), nullptr);
  ASSERT_TRUE(WriteFileText(dir + "capture\\L0000.bmp", "older capture"));
  SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
  SetWindowPos(window, nullptr, 0, 0, 517, 403, SWP_NOMOVE | SWP_NOZORDER);
  SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
  size_t reset = WaitForLog("restore device objects 2.");
  ASSERT_NE(reset, std::string::npos) << ReadLog();
  ASSERT_NE(WaitForLog("frame stats: ", reset), std::string::npos) << ReadLog();
  RECT client{};
  GetClientRect(window, &client);
  const int w = client.right, h = client.bottom;
  ASSERT_GT(w, 0);

  PostMessageA(window, WM_COMMAND, 40001, 0);
  const std::string shot = dir + "capture\\L0001.bmp";
  SavedFrame frame;
  ASSERT_TRUE(WaitForSavedFrame(shot, w, h, &frame)) << w << "x" << h << " " << ReadFileBytes(shot).size();
  const std::vector<uint8_t>& bmp = frame.bytes;
  EXPECT_EQ(w, bmp[18] | (bmp[19] << 8));
  EXPECT_EQ(h, bmp[22] | (bmp[23] << 8));
  EXPECT_EQ(24, bmp[28]);
  // The saved frame is the picture, not a blank buffer: open blue water at
  // the top (blue, green, red bytes).
  const uint8_t* top = frame.At(w / 2, h / 20);
  EXPECT_GT(top[0], top[2] + 40);
  std::vector<uint8_t> older = ReadFileBytes(dir + "capture\\L0000.bmp");
  EXPECT_EQ("older capture", std::string(older.begin(), older.end()));

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(30000));
  EXPECT_EQ(0u, program.ExitCode());
  EXPECT_FALSE(FileExists(dir + "LastError.txt"));
  RemoveTree(dir);
}

}  // namespace
