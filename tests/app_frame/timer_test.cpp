// The engine timer's commands and the pause count.
#include <gtest/gtest.h>

#include "frame/C3Application.h"
#include "frame/EngineTimer.h"

TEST(TimerTest, ApplicationTimeStartsFromZero) {
  TimerState t;
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, kTimerAppTime, 5000.0), 0.0);
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, kTimerAppTime, 5002.5), 2.5);
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, kTimerAbsolute, 5003.0), 5003.0);
}

TEST(TimerTest, StartWithoutStopKeepsTheBase) {
  TimerState t;
  ApplyTimerCommand(t, kTimerStart, 100.0);
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, kTimerAppTime, 101.0), 1.0);
}

TEST(TimerTest, StopHoldsTimeAndStartSkipsTheHeldSpan) {
  TimerState t;
  ApplyTimerCommand(t, kTimerReset, 10.0);
  ApplyTimerCommand(t, kTimerStop, 12.0);
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, kTimerAppTime, 20.0), 2.0);
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, kTimerAbsolute, 20.0), 20.0);  // the clock itself
  ApplyTimerCommand(t, kTimerStop, 21.0);  // second stop changes nothing
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, kTimerAppTime, 22.0), 2.0);
  ApplyTimerCommand(t, kTimerStart, 30.0);
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, kTimerAppTime, 31.0), 3.0);
}

TEST(TimerTest, AdvanceMovesHeldTimeByATenth) {
  TimerState t;
  ApplyTimerCommand(t, kTimerReset, 0.0);
  ApplyTimerCommand(t, kTimerStop, 1.0);
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, kTimerElapsed, 5.0), 0.0);
  ApplyTimerCommand(t, kTimerAdvance, 6.0);
  EXPECT_NEAR(ApplyTimerCommand(t, kTimerAppTime, 7.0), 1.1, 1e-12);
  EXPECT_NEAR(ApplyTimerCommand(t, kTimerElapsed, 7.0), 0.1, 1e-12);
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, kTimerElapsed, 8.0), 0.0);
}

TEST(TimerTest, ElapsedCountsFromThePreviousQuery) {
  TimerState t;
  ApplyTimerCommand(t, kTimerReset, 3.0);
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, kTimerElapsed, 3.5), 0.5);
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, kTimerElapsed, 3.5), 0.0);
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, kTimerElapsed, 4.25), 0.75);
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, 7, 5.0), -1.0);
  EXPECT_DOUBLE_EQ(ApplyTimerCommand(t, -1, 5.0), -1.0);
}

TEST(TimerTest, ProcessTimerRunsFromZero) {
  // The process timer's base is its first reading, not the machine's clock.
  double appTime = EngineTimer(kTimerAppTime);
  EXPECT_GE(appTime, 0.0);
  EXPECT_LT(appTime, 600.0);
  EXPECT_DOUBLE_EQ(EngineTimer(99), -1.0);
}

TEST(PauseTest, CountsPausesAndStartsTheTimerOnlyAtZero) {
  C3Application app;  // constructed paused once
  EXPECT_EQ(app.PauseCount(), 1);
  EXPECT_FALSE(app.IsActive());
  app.SetPaused(false);
  EXPECT_TRUE(app.IsActive());

  app.SetPaused(true);
  double held = EngineTimer(kTimerAppTime);
  app.SetPaused(true);
  app.SetPaused(false);
  EXPECT_FALSE(app.IsActive());
  EXPECT_EQ(app.PauseCount(), 1);
  Sleep(20);
  EXPECT_DOUBLE_EQ(EngineTimer(kTimerAppTime), held);  // still stopped
  app.SetPaused(false);
  EXPECT_TRUE(app.IsActive());

  // A stray unpause leaves the count at 0.
  app.SetPaused(false);
  EXPECT_EQ(app.PauseCount(), 0);
  EXPECT_TRUE(app.IsActive());
}

namespace {

class WindowedApp : public C3Application {
 public:
  using C3Application::CreateWindows;
};

}  // namespace

// The loop waits in GetMessage while paused, and sent messages are handled
// inside that wait, which ends only for a posted one. An unpause that comes
// in a sent message (the end of a sizing loop) must leave one waiting.
TEST(PauseTest, UnpauseFromASentMessageEndsThePausedLoopsWait) {
  WindowedApp app;
  ASSERT_EQ(app.CreateWindows(), S_OK);
  HWND window = app.MainWindow();
  ASSERT_NE(window, nullptr);
  app.SetPaused(false);  // the constructor's pause
  ASSERT_TRUE(app.IsActive());

  MSG message;
  auto drain = [&] {
    ValidateRect(window, nullptr);
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  };
  SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
  EXPECT_FALSE(app.IsActive());
  drain();
  SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
  EXPECT_TRUE(app.IsActive());
  EXPECT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));

  // A pause that does not end leaves nothing behind it.
  SendMessageA(window, WM_ENTERMENULOOP, 0, 0);
  SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
  drain();
  SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
  EXPECT_FALSE(app.IsActive());
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
  SendMessageA(window, WM_EXITMENULOOP, 0, 0);
  EXPECT_TRUE(app.IsActive());
  EXPECT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
  drain();
  DestroyWindow(window);
}
