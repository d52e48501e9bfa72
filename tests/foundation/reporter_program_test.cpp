// The real error reporter program, driven as a user would.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TestSupport.h"

using namespace qvtest;

namespace {

const char kHeader[] = "Halvenorsoft Reefmoor 2:\r\n";
// "エラーが発生したので強制終了しました。" in Shift-JIS.
const char kNoFile[] =
    "\x83\x47\x83\x89\x81\x5b\x82\xaa\x94\xad\x90\xb6\x82\xb5\x82\xbd\x82\xcc\x82\xc5\x8b\xad"
    "\x90\xa7\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";

// The dialog window exists before its controls are filled; wait for the text.
std::string WaitForEditText(HWND dialog, DWORD timeoutMs) {
  char text[4096] = "";
  DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if (HWND edit = GetDlgItem(dialog, 1000)) {
      SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
      if (text[0]) break;
    }
    Sleep(20);
  }
  return text;
}

// The reporter's dialog is owned by the foreground window, and creating it
// waits on that window's thread. Under a parallel test run that could be
// another test program's busy window, so this test brings up a window of its
// own (answered while waiting) first, as the screen saver's would be.
class ForegroundWindow {
 public:
  ForegroundWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QvReporterOwner";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowA("QvReporterOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                          100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(hwnd_);
    PumpMessages(50);
  }
  ~ForegroundWindow() { DestroyWindow(hwnd_); }

 private:
  HWND hwnd_;
};

}  // namespace

// The real reporter: find its dialog, read the edit control, press OK.
TEST(WexnoteProgramTest, ShowsLastErrorAndEndsWithZeroOnOk) {
  std::string dir = MakeTempDir("wexnote");
  ASSERT_TRUE(CopyFileTo(DistDir() + "Wexnote.exe", dir + "Wexnote.exe"));
  ASSERT_TRUE(WriteFileText(dir + "LastError.txt", "first line\r\nFatal Error:x.cpp:1 - 1:2:3:1\r\n"));

  ForegroundWindow owner;
  ChildProcess reporter;
  ASSERT_TRUE(reporter.Start("\"" + dir + "Wexnote.exe\"", dir));
  HWND dialog = WaitForWindow("Halvenorsoft Error Reporter", nullptr, reporter.Id(), 60000);
  ASSERT_NE(dialog, nullptr);

  EXPECT_EQ(WaitForEditText(dialog, 60000),
            "Halvenorsoft Reefmoor 2:\r\nfirst line\r\nFatal Error:x.cpp:1 - 1:2:3:1\r\n");
  HWND edit = GetDlgItem(dialog, 1000);
  ASSERT_NE(edit, nullptr);

  // The controls sit where the dialog template puts them.
  HWND ok = GetDlgItem(dialog, IDOK);
  ASSERT_NE(ok, nullptr);
  char caption[16] = "";
  GetWindowTextA(ok, caption, sizeof caption);
  EXPECT_STREQ(caption, "OK");
  LONG style = GetWindowLongA(edit, GWL_STYLE);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_TRUE(style & WS_VSCROLL);

  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
  ASSERT_TRUE(reporter.Wait(60000));
  EXPECT_EQ(reporter.ExitCode(), 0u);
  RemoveTree(dir);
}

TEST(WexnoteProgramTest, EscapeClosesWithZeroAndMissingFileShowsMessage) {
  std::string dir = MakeTempDir("wexnote_nofile");
  ASSERT_TRUE(CopyFileTo(DistDir() + "Wexnote.exe", dir + "Wexnote.exe"));
  ForegroundWindow owner;
  ChildProcess reporter;
  ASSERT_TRUE(reporter.Start("\"" + dir + "Wexnote.exe\"", dir));
  HWND dialog = WaitForWindow("Halvenorsoft Error Reporter", nullptr, reporter.Id(), 60000);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WaitForEditText(dialog, 60000), std::string(kHeader) + kNoFile);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  ASSERT_TRUE(reporter.Wait(60000));
  EXPECT_EQ(reporter.ExitCode(), 0u);
  RemoveTree(dir);
}
