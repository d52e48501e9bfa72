// The program's screenshot command under Wine, after a window resize.
#include <gtest/gtest.h>

#include <string>

#include "ApplicationHooks.h"
#include "Diagnostics.h"
#include "TestSupport.h"

using namespace qvtest;

namespace {

std::string ReadLog() {
  auto bytes = ReadFileBytes(kLogFilePath);
  return std::string(bytes.begin(), bytes.end());
}

size_t WaitForLog(const std::string& needle, size_t from = 0, DWORD timeoutMs = 30000) {
  DWORD start = GetTickCount();
  for (;;) {
    std::string log = ReadLog();
    size_t at = from <= log.size() ? log.find(needle, from) : std::string::npos;
    if (at != std::string::npos) return at;
    if (GetTickCount() - start > timeoutMs) return std::string::npos;
    PumpMessages(50);
  }
}

bool WaitForFileSize(const std::string& path, size_t size, DWORD timeoutMs = 30000) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if (ReadFileBytes(path).size() == size) return true;
    PumpMessages(50);
  }
  return false;
}

TEST(ProgramCapture, ScreenshotCommandWritesTheBackBufferAfterAResize) {
  CreateDirectoryA("c:\\log", nullptr);
  DeleteFileA(kLogFilePath);
  std::string dir = MakeTempDir("qvcapture");
  ASSERT_TRUE(CopyFileTo(DistDir() + "Qelvar.scr", dir + "Qelvar.scr"));
  ASSERT_TRUE(WriteFileText(dir + "qelvar.ini", "[Display]\r\nDebugLogLevel=2\r\n[system]\r\nLights=1\r\n"));
  CreateDirectoryA((dir + "capture").c_str(), nullptr);
  ASSERT_TRUE(WriteFileText(dir + "capture\\L0000.bmp", "older capture"));

  const char* title;
  const char* className;
  GetWindowNames(&title, &className);
  ChildProcess program;
  ASSERT_TRUE(program.Start("\"" + dir + "Qelvar.scr\" /debug", dir));
  HWND window = WaitForWindow(title, className, program.Id(), 30000);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(WaitForLog("frame stats: "), std::string::npos) << ReadLog();

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
  const int row = (w * 3 + 3) & ~3;
  const std::string shot = dir + "capture\\L0001.bmp";
  ASSERT_TRUE(WaitForFileSize(shot, static_cast<size_t>(54 + row * h))) << w << "x" << h << " "
                                                                         << ReadFileBytes(shot).size();
  std::vector<uint8_t> bmp = ReadFileBytes(shot);
  EXPECT_EQ(w, bmp[18] | (bmp[19] << 8));
  EXPECT_EQ(h, bmp[22] | (bmp[23] << 8));
  EXPECT_EQ(24, bmp[28]);
  // The frame is cleared to the sea of Lights 1, (0, 0.2, 0.8): blue,
  // green, red bytes.
  const uint8_t* centre = &bmp[54 + (h / 2) * row + (w / 2) * 3];
  EXPECT_EQ(204, centre[0]);
  EXPECT_EQ(51, centre[1]);
  EXPECT_EQ(0, centre[2]);
  std::vector<uint8_t> older = ReadFileBytes(dir + "capture\\L0000.bmp");
  EXPECT_EQ("older capture", std::string(older.begin(), older.end()));

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(30000));
  EXPECT_EQ(0u, program.ExitCode());
  EXPECT_FALSE(FileExists(dir + "LastError.txt"));
  RemoveTree(dir);
}

}  // namespace
