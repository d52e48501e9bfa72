#pragma once
// The one process-wide engine clock: performance counter when available,
// else the multimedia millisecond timer.

// Commands of EngineTimer.
enum EngineTimerCommand {
  kTimerReset = 0,     // base = now, running
  kTimerStart = 1,     // resume after a stop (held time is skipped)
  kTimerStop = 2,      // hold time at now
  kTimerAdvance = 3,   // held time += 0.1 s
  kTimerAbsolute = 4,  // the clock itself, held or not
  kTimerAppTime = 5,   // seconds since the base
  kTimerElapsed = 6,   // seconds since the previous elapsed query
};

// Result of the command in seconds; 0 for commands that only change state,
// -1 for an unknown command.
double EngineTimer(int command);

// State of a timer; plain so that the command logic can be driven with any
// clock (the process-wide timer feeds it the real one).
struct TimerState {
  bool started = false;  // the first command has set the base
  bool stopped = false;
  double base = 0.0;
  double stop = 0.0;
  double last = 0.0;
};

// Applies one command at clock reading `clock` (seconds). The first command
// on a fresh state sets the base and the last reading to `clock`, so
// application time starts from 0.
double ApplyTimerCommand(TimerState& state, int command, double clock);
