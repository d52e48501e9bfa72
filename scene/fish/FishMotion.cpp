#include "FishMotion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

float Clamp01(float v) {
  if (!(v > 0.0f)) return 0.0f;  // NaN too
  return v < 1.0f ? v : 1.0f;
}

}  // namespace

float SwimTarget(float swimBase, float swimMax, float speed, float lastSpeed, float elapsed) {
  float g = 0.0f;
  if (elapsed > 0.0f) {
    g = (speed - lastSpeed) / elapsed;
    if (!std::isfinite(g)) g = 0.0f;
    if (g < 0.0f) g = 0.1f;
  }
  return std::min(swimBase + g, swimMax);
}

void UpdateSwim(FishSwim& s, float speed, float elapsed) {
  if (!(elapsed > 0.0f) || !std::isfinite(elapsed) || !std::isfinite(speed)) return;
  float phase = std::fmod((s.swimFactor * 0.2f + speed) * s.swimRate * elapsed + s.swimPhase, 1.0f);
  if (phase < 0.0f) phase += 1.0f;  // swimming backwards still keeps 0 to below 1
  if (!(phase < 1.0f)) phase = 0.0f;
  s.swimPhase = phase;

  float target = SwimTarget(s.swimBase, s.swimMax, speed, s.lastSpeed, elapsed);
  float k = target > s.shownSwim ? 0.2f : 0.08f;
  s.shownSwim = s.shownSwim * (1.0f - k) + target * k;
  s.lastSpeed = speed;
}

X2AIObject* StepFishAI(X2AIObject*& ai, float now, float previous, X2Object fish) {
  if (!ai) return nullptr;
  X2AIObject* next = ai->Step(now, previous, fish);
  if (next && next != ai) {
    X2DeleteAIObject(ai);
    ai = next;
    ai->owner = fish;
  }
  return ai;
}

float SceneRandom() { return static_cast<float>(std::rand()) / 32767.0f; }

float PartStepInterval(float now, float previous) {
  float e = now - previous;
  if (!(e > 0.02f)) return 0.02f;  // zero, negative and NaN steps included
  return e < 1.0f ? e : 1.0f;
}

float StepFishPart(X2FishPart& part, float k, float r, float now, float swimFactor) {
  const float pA = std::min(k * part.chanceA, 0.5f);
  const float pB = std::min(k * part.chanceB, 0.5f);
  float target = 0.0f;
  switch (part.state) {
    case 0:
      target = (std::sin(now * swimFactor) + 1.0f) * 0.5f;
      if (r < pA) part.state = 1;
      else if (r < pB) part.state = 2;
      break;
    case 1:
      target = 1.0f;
      if (r < pA) part.state = 2;
      else if (r < pB) part.state = 0;
      break;
    case 2:
      target = 0.0f;
      if (r < pA) part.state = 1;
      else if (r < pB) part.state = 0;
      break;
    default:
      break;
  }
  const float w = Clamp01(k * part.blendRate * 20.0f);
  float value = (1.0f - w) * part.value + w * target;
  if (!std::isfinite(value)) value = target;
  part.value = value;
  return Clamp01(value);
}

void StepFishParts(X2FishPart* parts, int count, float now, float previous, float swimFactor,
                   const RandomSource& random, float weights[kMaxFishParts]) {
  std::fill(weights, weights + kMaxFishParts, 0.0f);
  if (!parts) return;
  count = std::clamp(count, 0, kMaxFishParts);
  const float k = PartStepInterval(now, previous);
  for (int i = 0; i < count; ++i) {
    float r = random ? random() : SceneRandom();
    weights[i] = StepFishPart(parts[i], k, r, now, swimFactor);
  }
}
