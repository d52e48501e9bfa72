#pragma once
// The per-frame decisions of a swimming fish that need no device: the swim
// phase and strength that drive its morph, and the state machine of its
// animated parts (eyes, mouth, fins).
#include <functional>

#include "X2PluginAbi.h"

constexpr int kMaxFishParts = 20;

// Swim state of one fish.
struct FishSwim {
  float swimPhase = 0.0f;  // 0 to below 1
  float shownSwim = 0.0f;  // strength shown; the morph amount is twice this
  float swimMax = 1.0f;
  float swimBase = 0.1f;
  float swimRate = 2.0f;
  float swimFactor = 1.0f;  // 1 to 2, drawn once per fish
  float lastSpeed = 0.0f;
};

// Target strength for a change of speed over elapsed seconds: the base plus
// the acceleration, at most the maximum; slowing down gives base + 0.1. A
// step that is not positive counts as no acceleration.
float SwimTarget(float swimBase, float swimMax, float speed, float lastSpeed, float elapsed);

// Advances phase and strength by one frame. A step that is not positive
// (paused clock, single steps) changes nothing, so nothing divides by zero.
void UpdateSwim(FishSwim& swim, float speed, float elapsed);

// One step of the fish's AI object. A non-null result other than the AI
// itself takes over: the old AI is deleted through its own deleting
// destructor and the new one is told its owner. Returns the AI now steering.
X2AIObject* StepFishAI(X2AIObject*& ai, float now, float previous, X2Object fish);

// Scene random source: rand() / 32767, 0 to 1 inclusive.
using RandomSource = std::function<float()>;
float SceneRandom();

// Interval the part machine works with: the frame step clamped to [0.02, 1].
float PartStepInterval(float now, float previous);

// One part for one frame with interval k and random draw r: chooses the
// target of its state, may change state, moves its value towards the target
// by the blend factor k x blendRate x 20 clamped to [0, 1], and returns the
// value clamped to [0, 1] as the part's weight.
float StepFishPart(X2FishPart& part, float k, float r, float now, float swimFactor);

// Every part (count clamped to 0-20), one draw each in order; weights[i] for
// the parts, 0 beyond them.
void StepFishParts(X2FishPart* parts, int count, float now, float previous, float swimFactor,
                   const RandomSource& random, float weights[kMaxFishParts]);
