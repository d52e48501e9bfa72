#pragma once
// The extremes of the fish's heights over each second of scene time, for the
// debug log: how close any fish came to the floor under it and how high any
// fish rose. A fish whose height over the floor is not a number counts as
// lost.
#include <cmath>

class FishHeightWatch {
 public:
  void Note(float y, float floor);
  // Logs the extremes noted since the last line once a second of scene time
  // has passed, then starts again; nothing while no fish was noted.
  void Report(float now);

 private:
  int fish_ = 0;
  int lost_ = 0;
  float least_ = INFINITY;
  float top_ = -INFINITY;
  float next_ = 0.0f;
};
