#pragma once
// A ring of 200 timed positions: the track of a lane, a wandering fish or the
// camera, read back at a delay or a number of samples back.
#include "X2Vector.h"

class X2PositionHistory {
 public:
  static constexpr int kSize = 200;
  static constexpr float kSpacing = 0.2f;  // Record keeps entries this far apart

  X2PositionHistory();

  void Reset();
  // Appends when empty or when time is at least kSpacing after the newest entry.
  void Record(float x, float y, float z, float time);
  void Record(const aimath::Vec3& p, float time) { Record(p.x, p.y, p.z, time); }
  // Appends without the spacing test; when full the oldest entry goes.
  void Append(float x, float y, float z, float time);
  void Append(const aimath::Vec3& p, float time) { Append(p.x, p.y, p.z, time); }

  // The n-th newest entry (1 = newest), n clamped to 1..count. Empty: zero
  // vector and time 0.
  aimath::Vec3 SampleBack(int n, float* time = nullptr) const;
  // The position at time now - delay, interpolated between the bracketing
  // entries (or extrapolated beyond them). Fewer than 4 entries: zero.
  aimath::Vec3 SampleAt(float delay, float now) const;

  int Count() const { return count_; }
  int Head() const { return head_; }
  void SetDelayMode(int mode) { delayMode_ = mode; }
  void SetDelayBase(float base) { delayBase_ = base; }

 private:
  int SlotBack(int n) const { return (head_ - n + 2 * kSize) % kSize; }

  float positions_[kSize][3];
  float times_[kSize];
  int head_ = 0;
  int count_ = 0;
  int delayMode_ = 0;
  float delayBase_ = 10.0f;
};
