// The program itself: input ends the full-screen run, never the debug run.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

using namespace qvtest;

namespace {

const char kTitle[] = "Orvex Engine Reefmoor 2";
const char kClass[] = "Orvex_Engine_Qelvar_CLASS";

class SaverRun : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = MakeTempDir("saver_exit");
    ASSERT_TRUE(CopyFileTo(DistDir() + "Qelvar.scr", folder_ + "Qelvar.scr"));
  }
  void TearDown() override {
    process_.Kill();
    process_.Wait(5000);
    RemoveTree(folder_);
  }
  HWND Start(const char* args) {
    SetCursorPos(200, 200);
    if (!process_.Start("\"" + folder_ + "Qelvar.scr\" " + args, folder_)) return nullptr;
    return WaitForWindow(kTitle, kClass, process_.Id(), 30000);
  }

  std::string folder_;
  ChildProcess process_;
};

}  // namespace

TEST_F(SaverRun, DebugRunIgnoresKeysAndButtons) {
  HWND window = Start("/debug");
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_KEYDOWN, 'A', 0);
  PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
  PostMessageA(window, WM_RBUTTONDOWN, 0, 0);
  PostMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(process_.Wait(2000)) << "the debug run ended on input";
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(process_.Wait(20000));
  EXPECT_EQ(process_.ExitCode(), 0u);
}

TEST_F(SaverRun, KeyEndsTheFullScreenRun) {
  HWND window = Start("/s");
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(process_.Wait(1000)) << "the full-screen run ended by itself";
  PostMessageA(window, WM_KEYDOWN, 'A', 0);
  ASSERT_TRUE(process_.Wait(20000));
  EXPECT_EQ(process_.ExitCode(), 0u);
}

TEST_F(SaverRun, ButtonEndsTheFullScreenRun) {
  HWND window = Start("/s");
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(process_.Wait(1000)) << "the full-screen run ended by itself";
  PostMessageA(window, WM_RBUTTONDOWN, 0, 0);
  ASSERT_TRUE(process_.Wait(20000));
  EXPECT_EQ(process_.ExitCode(), 0u);
}

TEST_F(SaverRun, MouseMoveOfTenEndsTheFullScreenRunButNine) {
  HWND window = Start("/s");
  ASSERT_NE(window, nullptr);
  // The run takes its reference point once the device exists.
  EXPECT_FALSE(process_.Wait(1000)) << "the full-screen run ended by itself";
  POINT start{};
  GetCursorPos(&start);
  // A jitter of 9 pixels moves the reference point and keeps the saver up.
  SetCursorPos(start.x + 5, start.y + 4);
  POINT now{};
  GetCursorPos(&now);
  if (now.x != start.x + 5 || now.y != start.y + 4) GTEST_SKIP() << "the cursor cannot be placed here";
  PostMessageA(window, WM_MOUSEMOVE, 0, 0);
  EXPECT_FALSE(process_.Wait(1500)) << "a move of 9 ended the saver";
  // 10 from the new reference point ends it.
  SetCursorPos(start.x + 15, start.y + 4);
  PostMessageA(window, WM_MOUSEMOVE, 0, 0);
  ASSERT_TRUE(process_.Wait(20000));
  EXPECT_EQ(process_.ExitCode(), 0u);
}
