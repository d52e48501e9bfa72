#pragma once
// A restartable linear fade: its weight is 1 at the restart and falls to 0
// over `length` seconds. A restart while the fade still runs is ignored, so
// a running fade is never cut short.

class X2EaseTimer {
 public:
  // 1 - (t - start) / length, within 0 and 1.
  float Weight(float t) const;
  // Starts a new fade at t unless the current one still runs.
  void Restart(float t);

  float start = -10.0f;
  float length = 1.0f;
};
