// Qelvar.scr itself under Wine: each test runs the program from a fresh copy
// of the dist folder and follows it through its window, the debug log and
// its exit code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ApplicationHooks.h"
#include "TestSupport.h"
#include "diagnostics/Diagnostics.h"

using namespace qvtest;

namespace {

const char kLogFolder[] = "c:\\log";

size_t Count(const std::string& text, const std::string& needle) {
  size_t n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

// The highest counter seen on a life-cycle line such as "init device objects 2.".
int LastCounter(const std::string& log, const std::string& prefix) {
  int last = 0;
  for (size_t at = log.find(prefix); at != std::string::npos; at = log.find(prefix, at + 1))
    last = std::max(last, atoi(log.c_str() + at + prefix.size()));
  return last;
}

// Everything the log file has held since the watcher started. The log is
// shared by every test of this build, and a test elsewhere that deletes it
// must not take away lines this test has already seen.
class LogWatcher {
 public:
  const std::string& Poll() {
    // Another test may have taken the folder away; without it lines are lost.
    CreateDirectoryA(kLogFolder, nullptr);
    auto bytes = ReadFileBytes(kLogFilePath);
    std::string now(bytes.begin(), bytes.end());
    bool same = now.size() >= read_ && now.compare(0, head_.size(), head_) == 0;
    if (same) {
      seen_ += now.substr(read_);
    } else {
      seen_ += now;  // replaced or deleted: a fresh file
    }
    read_ = now.size();
    head_ = now.substr(0, 64);
    return seen_;
  }
  // Waits until `needle` shows at or after `from`; returns its position.
  size_t WaitFor(const std::string& needle, size_t from = 0, DWORD timeoutMs = kProgramWaitMs) {
    DWORD start = GetTickCount();
    for (;;) {
      const std::string& log = Poll();
      size_t at = from <= log.size() ? log.find(needle, from) : std::string::npos;
      if (at != std::string::npos) return at;
      if (GetTickCount() - start > timeoutMs) return std::string::npos;
      PumpMessages(50);
    }
  }

 private:
  std::string seen_;
  std::string head_;
  size_t read_ = 0;
};

struct WindowNames {
  const char* title;
  const char* className;
  WindowNames() { GetWindowNames(&title, &className); }
};

BOOL CALLBACK CountMatching(HWND window, LPARAM param) {
  WindowNames names;
  char cls[128] = "";
  char title[128] = "";
  GetClassNameA(window, cls, sizeof cls);
  GetWindowTextA(window, title, sizeof title);
  if (strcmp(cls, names.className) == 0 && strcmp(title, names.title) == 0) ++*reinterpret_cast<int*>(param);
  return TRUE;
}

int CountProgramWindows() {
  int n = 0;
  EnumWindows(CountMatching, reinterpret_cast<LPARAM>(&n));
  return n;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA(kLogFolder, nullptr);
    DeleteFileA(kLogFilePath);
    dir_ = MakeTempDir("qelvar");
  }
  void TearDown() override { RemoveTree(dir_); }

  // A copy of the program (or its test variant) with a qelvar.ini.
  void Install(const std::string& program = DistDir() + "Qelvar.scr",
               const std::string& ini = "[Display]\r\nDebugLogLevel=2\r\n") {
    ASSERT_TRUE(CopyFileTo(program, dir_ + "Qelvar.scr"));
    ASSERT_TRUE(WriteFileText(dir_ + "qelvar.ini", ini));
  }
  std::string Command(const std::string& args) const { return "\"" + dir_ + "Qelvar.scr\" " + args; }

  // The program in debug mode, logging at level 2, without the fish lights;
  // its window, or null.
  HWND StartDebugRun(ChildProcess* program) {
    Install(DistDir() + "Qelvar.scr", "[Display]\r\nDebugLogLevel=2\r\n[system]\r\nLights=0\r\n");
    WindowNames names;
    if (!program->Start(Command("/debug"), dir_)) return nullptr;
    return WaitForWindow(names.title, names.className, program->Id(), 30000);
  }

  std::string dir_;
  LogWatcher log_;
};

}  // namespace

TEST_F(ProgramTest, DebugRunDrawsSurvivesResetAndModeSwitchAndClosesCleanly) {
  const int desktopWidth = GetSystemMetrics(SM_CXSCREEN);
  const int desktopHeight = GetSystemMetrics(SM_CYSCREEN);
  ChildProcess program;
  HWND window = StartDebugRun(&program);
  ASSERT_NE(window, nullptr);

  // Frames run: the statistics are rebuilt once a second.
  size_t first = log_.WaitFor("frame stats: ");
  ASSERT_NE(first, std::string::npos) << log_.Poll();
  ASSERT_NE(log_.WaitFor("frame stats: ", first + 1), std::string::npos);
  // The presented frame shows on the screen: open water of Lights 0 near the
  // top of the window, clearly blue. A busy machine may show it a little
  // later.
  RECT area{};
  GetClientRect(window, &area);
  POINT top = {area.right / 2, area.bottom / 20};
  ClientToScreen(window, &top);
  COLORREF colour = 0;
  auto blueWater = [&] { return GetBValue(colour) > GetRValue(colour) + 60 && GetBValue(colour) > 120; };
  WaitUntil(
      [&] {
        HDC screen = GetDC(nullptr);
        colour = GetPixel(screen, top.x, top.y);
        ReleaseDC(nullptr, screen);
        return blueWater();
      },
      10000);
  EXPECT_TRUE(blueWater()) << std::hex << colour;

  std::string log = log_.Poll();
  EXPECT_NE(log.find("device: HAL"), std::string::npos) << log;
  EXPECT_NE(log.find("init device objects 1."), std::string::npos);
  EXPECT_NE(log.find("restore device objects 1."), std::string::npos);

  // A resize by the user ends with WM_EXITSIZEMOVE: the device is reset.
  DWORD_PTR result;
  SendMessageTimeoutA(window, WM_ENTERSIZEMOVE, 0, 0, SMTO_NORMAL, 10000, &result);
  SetWindowPos(window, nullptr, 0, 0, 520, 410, SWP_NOMOVE | SWP_NOZORDER);
  SendMessageTimeoutA(window, WM_EXITSIZEMOVE, 0, 0, SMTO_NORMAL, 10000, &result);
  RECT client{};
  GetClientRect(window, &client);
  size_t reset = log_.WaitFor("restore device objects 2.");
  ASSERT_NE(reset, std::string::npos) << log_.Poll();
  EXPECT_NE(log_.Poll().find("invalidate device objects 1."), std::string::npos);
  char size[32];
  snprintf(size, sizeof size, "(%ldx%ld)", client.right, client.bottom);
  EXPECT_NE(log_.WaitFor(size, reset), std::string::npos) << size << "\n" << log_.Poll();

  // Alt+Enter's command: to full screen and back, a new device each time,
  // and frames drawn after each. (Progress is read from the counters, so a
  // line lost to another test deleting the shared log does not stall it.)
  for (int switchNo = 1; switchNo <= 2; ++switchNo) {
    int before = LastCounter(log_.Poll(), "restore device objects ");
    PostMessageA(window, WM_COMMAND, 40003, 0);
    size_t restored = std::string::npos;
    for (int i = 0; i < 600 && restored == std::string::npos; ++i) {
      PumpMessages(50);
      const std::string& now = log_.Poll();
      if (LastCounter(now, "restore device objects ") > before) restored = now.rfind("restore device objects ");
    }
    ASSERT_NE(restored, std::string::npos) << "switch " << switchNo << "\n" << log_.Poll();
    ASSERT_NE(log_.WaitFor("frame stats: ", restored), std::string::npos) << log_.Poll();
    EXPECT_TRUE(IsWindow(window));
  }
  EXPECT_GE(LastCounter(log_.Poll(), "init device objects "), 2);

  PostMessageA(window, WM_CLOSE, 0, 0);
  bool ended = false;
  for (int i = 0; i < 600 && !ended; ++i) {
    ended = program.Wait(50);
    log_.Poll();
  }
  ASSERT_TRUE(ended);
  EXPECT_EQ(program.ExitCode(), 0u);
  // The full-screen switches changed the display mode; the programs run after
  // this one need the desktop back at its size.
  EXPECT_TRUE(WaitUntil([&] {
    return GetSystemMetrics(SM_CXSCREEN) == desktopWidth && GetSystemMetrics(SM_CYSCREEN) == desktopHeight;
  }, 30000));
  EXPECT_FALSE(FileExists(dir_ + "LastError.txt"));
  log = log_.Poll();
  EXPECT_NE(log.find("final clean up."), std::string::npos);
  // Three devices: every init has its delete and every restore its invalidate.
  EXPECT_EQ(LastCounter(log, "delete device objects "), 3) << log;
  EXPECT_EQ(LastCounter(log, "invalidate device objects "), LastCounter(log, "restore device objects ")) << log;
  EXPECT_EQ(log.find("error box"), std::string::npos) << log;
}

// The program waits for messages while paused. A sizing loop that ends
// without a new size unpauses it from inside that wait, with no paint or
// posted message to follow: frames go on all the same.
TEST_F(ProgramTest, FramesGoOnAfterASizingLoopThatKeepsTheSize) {
  ChildProcess program;
  HWND window = StartDebugRun(&program);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(log_.WaitFor("frame stats: "), std::string::npos) << log_.Poll();

  DWORD_PTR result;
  SendMessageTimeoutA(window, WM_ENTERSIZEMOVE, 0, 0, SMTO_NORMAL, 10000, &result);
  // Long enough for the paused program to be waiting for its next message.
  PumpMessages(1000);
  const size_t mark = log_.Poll().size();
  SendMessageTimeoutA(window, WM_EXITSIZEMOVE, 0, 0, SMTO_NORMAL, 10000, &result);
  EXPECT_NE(log_.WaitFor("frame stats: ", mark), std::string::npos) << log_.Poll();

  PostMessageA(window, WM_CLOSE, 0, 0);
  bool ended = false;
  for (int i = 0; i < 600 && !ended; ++i) ended = program.Wait(50);
  ASSERT_TRUE(ended);
  EXPECT_EQ(program.ExitCode(), 0u);
  EXPECT_EQ(log_.Poll().find("error box"), std::string::npos);
}

TEST_F(ProgramTest, SecondInstanceRefusesToStart) {
  Install();
  WindowNames names;
  ChildProcess first;
  ASSERT_TRUE(first.Start(Command("/debug"), dir_));
  HWND window = WaitForWindow(names.title, names.className, first.Id(), 30000);
  ASSERT_NE(window, nullptr);

  EXPECT_EQ(RunProcess(Command("/debug"), dir_, 30000), 0);
  EXPECT_EQ(RunProcess(Command("/s"), dir_, 30000), 0);
  EXPECT_EQ(CountProgramWindows(), 1);

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(first.Wait(30000));
  EXPECT_EQ(first.ExitCode(), 0u);
}

TEST_F(ProgramTest, PreviewDrawsInsideTheParentAndEndsWithIt) {
  Install();
  WNDCLASSA cls{};
  cls.lpfnWndProc = DefWindowProcA;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = "QvPreviewPane";
  RegisterClassA(&cls);
  HWND pane = CreateWindowExA(0, "QvPreviewPane", "pane", WS_POPUP | WS_VISIBLE, 40, 40, 152, 112, nullptr, nullptr,
                              cls.hInstance, nullptr);
  ASSERT_NE(pane, nullptr);

  ChildProcess preview;
  ASSERT_TRUE(preview.Start(Command("/p " + std::to_string(reinterpret_cast<uintptr_t>(pane))), dir_));
  HWND child = nullptr;
  // Created hidden, then shown once its picture is drawn.
  for (int i = 0; i < 600 && !(child && IsWindowVisible(child)); ++i) {
    PumpMessages(50);
    child = FindWindowExA(pane, nullptr, "MYCLASS", nullptr);
  }
  ASSERT_NE(child, nullptr);
  DWORD owner = 0;
  GetWindowThreadProcessId(child, &owner);
  EXPECT_EQ(owner, preview.Id());
  RECT rect{};
  GetClientRect(child, &rect);
  EXPECT_EQ(rect.right, 152);
  EXPECT_EQ(rect.bottom, 112);
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_NE(log_.WaitFor("create window in window"), std::string::npos);

  DestroyWindow(pane);
  bool ended = false;
  for (int i = 0; i < 600 && !ended; ++i) {
    PumpMessages(50);
    ended = preview.Wait(0);
  }
  ASSERT_TRUE(ended);
  EXPECT_EQ(preview.ExitCode(), 0u);
}

TEST_F(ProgramTest, PreviewWithHandleZeroOpensItsOwnWindowWithoutHandleEnds) {
  Install();
  EXPECT_EQ(RunProcess(Command("/p"), dir_, 30000), 0);

  ChildProcess preview;
  ASSERT_TRUE(preview.Start(Command("/p 0"), dir_));
  HWND window = WaitForWindow("MYCLASS", "MYCLASS", preview.Id(), 30000);
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(preview.Wait(30000));
  EXPECT_EQ(preview.ExitCode(), 0u);
}

TEST_F(ProgramTest, PasswordEndsAtOnceConfigureShowsTheSettingsDialog) {
  Install();
  EXPECT_EQ(RunProcess(Command("/a"), dir_, 30000), 0);
  EXPECT_EQ(CountProgramWindows(), 0);
  log_.Poll();
  const std::string ini = ReadFileText(dir_ + "qelvar.ini");
  // "/c" with a handle that is no window, and no argument at all: the
  // settings dialog; its Cancel ends the program and writes nothing.
  for (const char* args : {"/c:1234", ""}) {
    ChildProcess program;
    ASSERT_TRUE(program.Start(Command(args), dir_));
    HWND dialog = WaitForWindow("Reefmoor2 --Sallowen-- V1.7", nullptr, program.Id(), 30000);
    ASSERT_NE(dialog, nullptr) << args;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return program.Wait(0); }, 30000)) << args;
    EXPECT_EQ(program.ExitCode(), 0u) << args;
  }
  EXPECT_EQ(CountProgramWindows(), 0);
  EXPECT_EQ(ReadFileText(dir_ + "qelvar.ini"), ini);
  std::string log = log_.Poll();
  EXPECT_NE(log.find("change password mode"), std::string::npos) << log;
  EXPECT_EQ(Count(log, "configure mode"), 2u) << log;
  // Configure mode lists the enumerated modes.
  EXPECT_NE(log.find("Adapter:0 MODE 00 "), std::string::npos) << log;
}

// Installed in a folder whose path has a blank, beside a program named like
// the path's part before the blank: the reporter beside the program starts
// (with no arguments), never that other program.
TEST_F(ProgramTest, DeviceFailureTakesTheFatalRoad) {
  const std::string folder = dir_ + "Program Files\\Qelvar\\";
  ASSERT_TRUE(CreateDirectoryA((dir_ + "Program Files").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(CopyFileTo(TestBinDir() + "QelvarRestoreFail.scr", folder + "Qelvar.scr"));
  ASSERT_TRUE(WriteFileText(folder + "qelvar.ini", "[Display]\r\nDebugLogLevel=2\r\n"));
  ASSERT_TRUE(CopyFileTo(TestBinDir() + "reporter_standin.exe", folder + "Wexnote.exe"));
  ASSERT_TRUE(CopyFileTo(TestBinDir() + "reporter_standin.exe", dir_ + "Program.exe"));
  EXPECT_EQ(RunProcess("\"" + folder + "Qelvar.scr\" /debug", folder, 60000), 1);

  auto bytes = ReadFileBytes(folder + "LastError.txt");
  std::string text(bytes.begin(), bytes.end());
  EXPECT_NE(text.find("Fatal Error:MyApplication.cpp:"), std::string::npos) << text;
  EXPECT_NE(text.find(":8876017C"), std::string::npos) << text;
  // The reporter is started asynchronously; give it a moment.
  WaitUntil([&] { return !ReadFileText(folder + "started.txt").empty() || FileExists(dir_ + "started.txt"); },
            5000);
  EXPECT_EQ(ReadFileText(folder + "started.txt"), "\"" + folder + "Wexnote.exe\"");
  EXPECT_FALSE(FileExists(dir_ + "started.txt")) << ReadFileText(dir_ + "started.txt");
  EXPECT_EQ(CountProgramWindows(), 0);
}
