#pragma once
// The water current's decisions, free of scene objects: one horizontal
// vector per frame that swings round with an angular speed, swells and
// ebbs, and every so often turns back and takes a new heading. The level
// (the WaterCurrent scene setting) sets how often, how far and how strong.
#include <d3dx9math.h>

#include "fish/FishMotion.h"

struct CurrentLevel {
  float minInterval, maxInterval;  // seconds between turns
  float angleRange;                // a new heading offset is r x this
  float angularSpeed;
  float strength;
};

// The levels 1 to 3; null for 0 (no current) and any other value.
const CurrentLevel* FindCurrentLevel(int level);

struct CurrentState {
  D3DXVECTOR3 vector{0.0f, 0.0f, 0.0f};
  // The turn timer: due at `due`, re-armed between minimum and maximum.
  // Made due at 0, so the first frame after 0 turns.
  float due = 0.0f;
  float minimum = 0.0f;
  float maximum = 0.0f;
  float angleOffset = 0.0f;
  float sign = 1.0f;
};

// The vector at time t for a heading offset and a turning sign.
D3DXVECTOR3 CurrentVector(const CurrentLevel& level, float t, float angleOffset, float sign);

// One frame at time t: at a level without current the vector is zero;
// otherwise a due timer turns the current (new offset r x range, timer
// re-armed from t, sign flipped), then the vector is taken.
void StepCurrent(CurrentState& state, int level, float t, const RandomSource& random);

