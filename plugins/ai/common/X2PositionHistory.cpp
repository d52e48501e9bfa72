#include "X2PositionHistory.h"

#include <cstring>

X2PositionHistory::X2PositionHistory() {
  std::memset(times_, 0, sizeof times_);
  Reset();
}

void X2PositionHistory::Reset() {
  head_ = 0;
  count_ = 0;
  std::memset(positions_, 0, sizeof positions_);
  delayMode_ = 0;
  delayBase_ = 10.0f;
}

void X2PositionHistory::Record(float x, float y, float z, float time) {
  if (count_ == 0 || time >= times_[SlotBack(1)] + kSpacing) Append(x, y, z, time);
}

void X2PositionHistory::Append(float x, float y, float z, float time) {
  positions_[head_][0] = x;
  positions_[head_][1] = y;
  positions_[head_][2] = z;
  times_[head_] = time;
  head_ = (head_ + 1) % kSize;
  if (count_ < kSize) ++count_;
}

aimath::Vec3 X2PositionHistory::SampleBack(int n, float* time) const {
  if (count_ == 0) {
    if (time) *time = 0.0f;
    return aimath::Vec3();
  }
  // n <= 0 would name the slot the next entry goes to.
  if (n < 1) n = 1;
  if (n > count_) n = count_;
  int slot = SlotBack(n);
  if (time) *time = times_[slot];
  return {positions_[slot][0], positions_[slot][1], positions_[slot][2]};
}

aimath::Vec3 X2PositionHistory::SampleAt(float delay, float now) const {
  if (delayMode_) delay = delayBase_ - delay;
  if (count_ < 4) return aimath::Vec3();

  const float target = now - delay;
  int n = static_cast<int>(delay * 5.0f);  // entries lie about 0.2 s apart
  float t1 = 0.0f, t0 = 0.0f;
  for (int step = 0; step < 100; ++step) {
    bool last = false;
    if (n <= 1) {
      n = 1;
      last = true;
    }
    if (n > count_ - 2) n = count_ - 2;
    t1 = times_[SlotBack(n)];
    t0 = times_[SlotBack(n + 1)];
    if (last) break;
    if (target < t0) {
      if (n >= count_ - 2) break;  // nothing older to bracket with
      ++n;
    } else if (t1 < target) {
      --n;
    } else {
      break;
    }
  }

  const float* p1 = positions_[SlotBack(n)];
  const float* p0 = positions_[SlotBack(n + 1)];
  aimath::Vec3 a(p1[0], p1[1], p1[2]);
  if (t1 == t0) return a;
  aimath::Vec3 b(p0[0], p0[1], p0[2]);
  return a + (b - a) * ((target - t1) / (t0 - t1));
}
