#include "C3TimeLine.h"

#include <cmath>

float ClampSpeedFactor(float factor) {
  if (!(factor >= kMinSpeedFactor)) return kMinSpeedFactor;  // NaN too
  if (factor > kMaxSpeedFactor) return kMaxSpeedFactor;
  return factor;
}

float C3TimeLine::Advance(float elapsed) {
  for (int k = 9; k >= 1; --k) history_[k] = history_[k - 1];
  history_[0] = history_[1] + elapsed * scale_;
  float r = (history_[0] - history_[9]) * 0.1f;
  float sum = 0.0f;
  for (float h : history_) sum += h;
  float m = sum * 0.1f;
  current_ = m + 5.5f * r;
  previous_ = m + 4.5f * r;
  if (current_ < previous_) current_ = previous_ + 0.001f;
  return current_;
}
