#include <gtest/gtest.h>

#include <cmath>
#include <deque>

#include "fish/FishMotion.h"

namespace {

// Hands out the scripted draws in order; a test that draws more fails.
class ScriptedRandom {
 public:
  explicit ScriptedRandom(std::deque<float> draws) : draws_(std::move(draws)) {}
  RandomSource Source() {
    return [this] {
      EXPECT_FALSE(draws_.empty()) << "more draws than scripted";
      if (draws_.empty()) return 1.0f;
      float r = draws_.front();
      draws_.pop_front();
      return r;
    };
  }
  size_t Left() const { return draws_.size(); }

 private:
  std::deque<float> draws_;
};

X2FishPart Part(float chanceA, float chanceB, float blendRate, int state, float value = 0.0f) {
  X2FishPart p{};
  p.chanceA = chanceA;
  p.chanceB = chanceB;
  p.blendRate = blendRate;
  p.state = state;
  p.value = value;
  return p;
}

TEST(SwimTarget, AccelerationDecelerationAndTheCap) {
  EXPECT_FLOAT_EQ(SwimTarget(0.1f, 1.0f, 1.0f, 0.9f, 0.5f), 0.1f + 0.2f);
  EXPECT_FLOAT_EQ(SwimTarget(0.1f, 1.0f, 5.0f, 0.0f, 0.5f), 1.0f);
  // Slowing down gives base + 0.1, not below the base.
  EXPECT_FLOAT_EQ(SwimTarget(0.1f, 1.0f, 0.2f, 0.9f, 0.5f), 0.2f);
  EXPECT_FLOAT_EQ(SwimTarget(0.6f, 0.6f, 0.2f, 0.9f, 0.5f), 0.6f);
  // No step: no acceleration, however the speed changed.
  EXPECT_FLOAT_EQ(SwimTarget(0.1f, 1.0f, 3.0f, 0.0f, 0.0f), 0.1f);
  EXPECT_FLOAT_EQ(SwimTarget(0.1f, 1.0f, 3.0f, 0.0f, -0.1f), 0.1f);
}

TEST(SwimUpdate, PhaseAndStrengthFollowTheSpeed) {
  FishSwim s;
  s.swimFactor = 1.5f;
  UpdateSwim(s, 0.2f, 0.5f);
  // (1.5 x 0.2 + 0.2) x 2 x 0.5 = 0.5
  EXPECT_NEAR(s.swimPhase, 0.5f, 1e-6f);
  // target min(0.1 + 0.4, 1) = 0.5, rising: 0.2 of the way
  EXPECT_NEAR(s.shownSwim, 0.1f, 1e-6f);
  EXPECT_FLOAT_EQ(s.lastSpeed, 0.2f);

  UpdateSwim(s, 0.2f, 0.75f);
  EXPECT_NEAR(s.swimPhase, 0.25f, 1e-5f);  // wrapped
  EXPECT_NEAR(s.shownSwim, 0.1f, 1e-6f);   // steady at the base

  UpdateSwim(s, 0.0f, 0.5f);  // slowing: target 0.2, rising by 0.2
  EXPECT_NEAR(s.shownSwim, 0.1f * 0.8f + 0.2f * 0.2f, 1e-6f);
  s.shownSwim = 0.9f;
  UpdateSwim(s, 0.0f, 0.5f);  // falling by 0.08 towards the base
  EXPECT_NEAR(s.shownSwim, 0.9f * 0.92f + 0.1f * 0.08f, 1e-6f);
}

TEST(SwimUpdate, ZeroAndBrokenStepsLeaveEverythingFinite) {
  FishSwim s;
  s.swimPhase = 0.3f;
  s.shownSwim = 0.4f;
  s.lastSpeed = 0.1f;
  for (float e : {0.0f, -0.01f, NAN, INFINITY}) {
    UpdateSwim(s, 2.0f, e);
    EXPECT_FLOAT_EQ(s.swimPhase, 0.3f);
    EXPECT_FLOAT_EQ(s.shownSwim, 0.4f);
    EXPECT_FLOAT_EQ(s.lastSpeed, 0.1f);
  }
  // The acceleration counts on the next real step; backwards swimming keeps the phase in range.
  UpdateSwim(s, -3.0f, 0.1f);
  EXPECT_GE(s.swimPhase, 0.0f);
  EXPECT_LT(s.swimPhase, 1.0f);
  EXPECT_TRUE(std::isfinite(s.shownSwim));
}

TEST(PartInterval, ClampedAndNeverDividedByZero) {
  EXPECT_FLOAT_EQ(PartStepInterval(5.0f, 5.0f), 0.02f);
  EXPECT_FLOAT_EQ(PartStepInterval(5.0f, 6.0f), 0.02f);
  EXPECT_FLOAT_EQ(PartStepInterval(NAN, 1.0f), 0.02f);
  EXPECT_FLOAT_EQ(PartStepInterval(1.1f, 1.0f), 0.1f);
  EXPECT_FLOAT_EQ(PartStepInterval(9.0f, 1.0f), 1.0f);
}

TEST(PartMachine, TransitionsFollowTheScriptedDraws) {
  // k = 0.5: pA = min(0.5 x 0.4, 0.5) = 0.2, pB = min(0.5 x 0.8, 0.5) = 0.4.
  X2FishPart p = Part(0.4f, 0.8f, 0.0f, 0);
  StepFishPart(p, 0.5f, 0.1f, 0.0f, 1.0f);
  EXPECT_EQ(p.state, 1);  // wave -> A
  StepFishPart(p, 0.5f, 0.3f, 0.0f, 1.0f);
  EXPECT_EQ(p.state, 0);  // A -> wave
  StepFishPart(p, 0.5f, 0.3f, 0.0f, 1.0f);
  EXPECT_EQ(p.state, 2);  // wave -> B
  StepFishPart(p, 0.5f, 0.1f, 0.0f, 1.0f);
  EXPECT_EQ(p.state, 1);  // B -> A
  StepFishPart(p, 0.5f, 0.1f, 0.0f, 1.0f);
  EXPECT_EQ(p.state, 2);  // A -> B
  StepFishPart(p, 0.5f, 0.3f, 0.0f, 1.0f);
  EXPECT_EQ(p.state, 0);  // B -> wave
  StepFishPart(p, 0.5f, 0.9f, 0.0f, 1.0f);
  EXPECT_EQ(p.state, 0);  // above both chances: stays

  // Chances are capped at 0.5 however large.
  X2FishPart q = Part(100.0f, 100.0f, 0.0f, 0);
  StepFishPart(q, 1.0f, 0.6f, 0.0f, 1.0f);
  EXPECT_EQ(q.state, 0);

  // An unknown state aims at 0 and never changes.
  X2FishPart u = Part(1.0f, 1.0f, 1.0f, 7, 0.8f);
  EXPECT_FLOAT_EQ(StepFishPart(u, 0.02f, 0.0f, 0.0f, 1.0f), 0.8f * 0.6f);
  EXPECT_EQ(u.state, 7);
}

TEST(PartMachine, ValuesMoveTowardsTheStateTargetWithClampedFactors) {
  X2FishPart a = Part(0.0f, 0.0f, 0.5f, 1, 0.0f);  // pose A: target 1
  // k = 0.05: factor 0.05 x 0.5 x 20 = 0.5
  EXPECT_FLOAT_EQ(StepFishPart(a, 0.05f, 1.0f, 0.0f, 1.0f), 0.5f);
  EXPECT_FLOAT_EQ(StepFishPart(a, 0.05f, 1.0f, 0.0f, 1.0f), 0.75f);

  // A slow frame with a fast rate would overshoot to -9 without the clamp.
  X2FishPart b = Part(0.0f, 0.0f, 0.5f, 2, 1.0f);  // pose B: target 0
  EXPECT_FLOAT_EQ(StepFishPart(b, 1.0f, 1.0f, 0.0f, 1.0f), 0.0f);
  EXPECT_FLOAT_EQ(b.value, 0.0f);

  // Wave: (sin(now x swimFactor) + 1) / 2 with a full step.
  X2FishPart w = Part(0.0f, 0.0f, 1.0f, 0, 0.0f);
  EXPECT_NEAR(StepFishPart(w, 0.05f, 1.0f, 0.5f, 1.5f), (std::sin(0.75f) + 1.0f) * 0.5f, 1e-6f);

  // A stored value outside [0, 1] gives a clamped weight; NaN settles on the target.
  X2FishPart c = Part(0.0f, 0.0f, 0.0f, 1, 3.0f);
  EXPECT_FLOAT_EQ(StepFishPart(c, 0.02f, 1.0f, 0.0f, 1.0f), 1.0f);
  X2FishPart n = Part(0.0f, 0.0f, 0.5f, 1, NAN);
  EXPECT_FLOAT_EQ(StepFishPart(n, 0.05f, 1.0f, 0.0f, 1.0f), 1.0f);
}

TEST(PartMachine, EveryPartDrawsOnceInOrderAtAZeroStep) {
  X2FishPart parts[3] = {Part(10.0f, 0.0f, 0.1f, 0), Part(0.0f, 10.0f, 0.1f, 0), Part(0.0f, 0.0f, 0.1f, 1)};
  // k = 0.02 at a zero step: pA of part 0 = 0.2, pB of part 1 = 0.2.
  ScriptedRandom random({0.1f, 0.1f, 0.1f});
  float weights[kMaxFishParts];
  std::fill(weights, weights + kMaxFishParts, -1.0f);
  StepFishParts(parts, 3, 2.0f, 2.0f, 1.0f, random.Source(), weights);
  EXPECT_EQ(random.Left(), 0u);
  EXPECT_EQ(parts[0].state, 1);
  EXPECT_EQ(parts[1].state, 2);
  EXPECT_EQ(parts[2].state, 1);
  for (int i = 0; i < kMaxFishParts; ++i) {
    EXPECT_TRUE(std::isfinite(weights[i]));
    EXPECT_GE(weights[i], 0.0f);
    EXPECT_LE(weights[i], 1.0f);
    if (i >= 3) {
      EXPECT_EQ(weights[i], 0.0f);
    }
  }
  EXPECT_NEAR(weights[2], 0.04f, 1e-6f);  // factor 0.02 x 0.1 x 20 towards 1

  // More than 20 parts: only 20 draws.
  std::vector<X2FishPart> many(25, Part(0.0f, 0.0f, 0.1f, 0));
  std::deque<float> draws(20, 0.5f);
  ScriptedRandom twenty(draws);
  StepFishParts(many.data(), 25, 1.0f, 0.9f, 1.0f, twenty.Source(), weights);
  EXPECT_EQ(twenty.Left(), 0u);
  StepFishParts(nullptr, 3, 1.0f, 0.9f, 1.0f, twenty.Source(), weights);
  EXPECT_EQ(weights[0], 0.0f);
}

// An AI that hands back what it is told to and counts its deletions.
class ScriptedAI : public X2AIObjectImpl<ScriptedAI> {
 public:
  explicit ScriptedAI(int* deleted) : deleted_(deleted) {}
  ~ScriptedAI() { ++*deleted_; }
  X2AIObject* X2_THISCALL Step(float now, float, X2Object self) override {
    lastNow = now;
    lastSelf = self;
    return result;
  }
  X2AIObject* result = nullptr;
  float lastNow = 0.0f;
  X2Object lastSelf = nullptr;

 private:
  int* deleted_;
};

TEST(FishAI, NullKeepsSelfIsIgnoredAnotherReplaces) {
  int deleted = 0;
  int fish = 0;
  auto* first = new ScriptedAI(&deleted);
  X2AIObject* ai = first;
  EXPECT_EQ(StepFishAI(ai, 1.0f, 0.9f, &fish), first);
  EXPECT_EQ(first->lastSelf, &fish);
  EXPECT_FLOAT_EQ(first->lastNow, 1.0f);

  first->result = first;  // itself: never a deletion of the running AI
  EXPECT_EQ(StepFishAI(ai, 1.1f, 1.0f, &fish), first);
  EXPECT_EQ(deleted, 0);

  auto* second = new ScriptedAI(&deleted);
  first->result = second;
  EXPECT_EQ(StepFishAI(ai, 1.2f, 1.1f, &fish), second);
  EXPECT_EQ(ai, second);
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(second->owner, &fish);

  X2AIObject* none = nullptr;
  EXPECT_EQ(StepFishAI(none, 1.0f, 0.9f, &fish), nullptr);
  X2DeleteAIObject(ai);
  EXPECT_EQ(deleted, 2);
}

}  // namespace
