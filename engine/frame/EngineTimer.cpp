#include "EngineTimer.h"

#include <windows.h>
#include <mmsystem.h>

double ApplyTimerCommand(TimerState& state, int command, double clock) {
  if (!state.started) {
    state.started = true;
    state.base = clock;
    state.last = clock;
  }
  // While held, "now" is the stop time, except for start and absolute.
  double now = (state.stopped && command != kTimerStart && command != kTimerAbsolute) ? state.stop
                                                                                       : clock;
  switch (command) {
    case kTimerReset:
      state.base = now;
      state.last = now;
      state.stop = 0.0;
      state.stopped = false;
      return 0.0;
    case kTimerStart:
      if (state.stopped) state.base += now - state.stop;
      state.stop = 0.0;
      state.last = now;
      state.stopped = false;
      return 0.0;
    case kTimerStop:
      if (!state.stopped) {
        state.stop = now;
        state.last = now;
        state.stopped = true;
      }
      return 0.0;
    case kTimerAdvance:
      state.stop += 0.1;
      return 0.0;
    case kTimerAbsolute:
      return now;
    case kTimerAppTime:
      return now - state.base;
    case kTimerElapsed: {
      double elapsed = now - state.last;
      state.last = now;
      return elapsed;
    }
    default:
      return -1.0;
  }
}

namespace {

TimerState g_timer;
bool g_clockChecked = false;
LARGE_INTEGER g_frequency{};

double ReadClock() {
  if (!g_clockChecked) {
    g_clockChecked = true;
    if (!QueryPerformanceFrequency(&g_frequency)) g_frequency.QuadPart = 0;
  }
  if (g_frequency.QuadPart > 0) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(g_frequency.QuadPart);
  }
  return timeGetTime() * 0.001;
}

}  // namespace

double EngineTimer(int command) { return ApplyTimerCommand(g_timer, command, ReadClock()); }
