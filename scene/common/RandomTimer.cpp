#include "RandomTimer.h"

#include <cstdlib>

void RandomTimer::Arm(float minimumInterval, float maximumInterval, float now) {
  Rearm(minimumInterval, maximumInterval, now);
}

int RandomTimer::Poll(float now) {
  if (!(now > due)) return 0;
  const float r = static_cast<float>(std::rand()) / 32767.0f;
  due = now + minimum + r * (maximum - minimum);
  return 1;
}

int RandomTimer::Rearm(float minimumInterval, float maximumInterval, float now) {
  minimum = minimumInterval;
  maximum = maximumInterval;
  const int drawn = std::rand();
  due = now + minimum + static_cast<float>(drawn) / 32767.0f * (maximum - minimum);
  return drawn;
}
