#include "X2EaseTimer.h"

float X2EaseTimer::Weight(float t) const {
  if (!(length > 0.0f)) return 0.0f;
  const float w = 1.0f - (t - start) / length;
  if (!(w > 0.0f)) return 0.0f;  // NaN too
  return w < 1.0f ? w : 1.0f;
}

void X2EaseTimer::Restart(float t) {
  if (Weight(t) <= 0.0f) start = t;
}
