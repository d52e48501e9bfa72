#pragma once
// The extremes of the fish's heights over each second of scene time, for the
// debug log: how close any fish came to the floor under it (the ground as
// drawn: a fish may swim under a structure's overhang), how high any fish
// rose and, under the sea surface, how close any came to the waves' ceiling
// over it (below zero: through it). A fish whose height over the floor is
// not a number counts as lost. Where the ceiling comes down to less than the
// floor's clearance over the ground there is no water to hold a fish: it is
// stopped at the ceiling, in the ground, and counted apart instead of in
// the least height over the floor.
#include <cmath>

class FishHeightWatch {
 public:
  // ceiling is not a number without the sea surface.
  void Note(float y, float floor, float ceiling);
  // Logs the extremes noted since the last line once a second of scene time
  // has passed, then starts again; nothing while no fish was noted.
  void Report(float now);

 private:
  int fish_ = 0;
  int lost_ = 0;
  int dry_ = 0;
  float least_ = INFINITY;
  float top_ = -INFINITY;
  float under_ = INFINITY;
  bool ceiling_ = false;
  float next_ = 0.0f;
};
