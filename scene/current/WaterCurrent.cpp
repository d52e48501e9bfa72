#include "WaterCurrent.h"

#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;

const CurrentLevel kLevels[] = {
    {15.0f, 40.0f, kPi / 2.0f, 0.1f, 0.2f},
    {10.0f, 30.0f, kPi, 0.2f, 0.5f},
    {5.0f, 20.0f, 2.0f * kPi, 0.3f, 0.8f},
};

float Draw(const RandomSource& random) { return random ? random() : SceneRandom(); }

}  // namespace

const CurrentLevel* FindCurrentLevel(int level) {
  if (level < 1 || level > 3) return nullptr;
  return &kLevels[level - 1];
}

D3DXVECTOR3 CurrentVector(const CurrentLevel& level, float t, float angleOffset, float sign) {
  const float angle = sign * level.angularSpeed * t + angleOffset;
  const float f = (std::fabs(std::sin(2.0f * t * level.angularSpeed)) + 0.2f) * level.strength;
  return D3DXVECTOR3(f * std::cos(angle), 0.0f, f * std::sin(angle));
}

void StepCurrent(CurrentState& state, int level, float t, const RandomSource& random) {
  const CurrentLevel* l = FindCurrentLevel(level);
  if (!l) {
    state.vector = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    return;
  }
  if (t > state.due) {
    state.angleOffset = Draw(random) * l->angleRange;
    state.minimum = l->minInterval;
    state.maximum = l->maxInterval;
    state.due = t + l->minInterval + Draw(random) * (l->maxInterval - l->minInterval);
    state.sign = -state.sign;
  }
  state.vector = CurrentVector(*l, t, state.angleOffset, state.sign);
}
