#pragma once
// A timer that comes due at random intervals between a minimum and a
// maximum, re-arming itself each time it fires (scene random numbers,
// rand() / 32767).

struct RandomTimer {
  float due = 0.0f;
  float minimum = 0.0f;
  float maximum = 0.0f;

  // Stores the bounds; due = now + minimum + r x (maximum - minimum).
  void Arm(float minimumInterval, float maximumInterval, float now);
  // 1 (and re-armed from now) once now has passed the due time, else 0.
  int Poll(float now);
  // As Arm; returns the rand() value drawn.
  int Rearm(float minimumInterval, float maximumInterval, float now);
};
