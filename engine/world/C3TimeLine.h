#pragma once
// A smoothed scene clock: a ten-frame history of the raw clock whose mean
// and slope give current and previous times half a frame either side.

// Limits of the speed factor that scales the scene clock.
constexpr float kMinSpeedFactor = 0.125f;
constexpr float kMaxSpeedFactor = 8.0f;
float ClampSpeedFactor(float factor);

class C3TimeLine {
 public:
  C3TimeLine() = default;
  virtual ~C3TimeLine() = default;

  // Advances by the elapsed seconds (times the scale); returns current.
  float Advance(float elapsed);
  float GetCurrent() const { return current_; }
  float GetPrevious() const { return previous_; }
  float GetScale() const { return scale_; }
  void SetScale(float scale) { scale_ = scale; }
  float GetRaw() const { return history_[0]; }

 private:
  float history_[10] = {};
  float current_ = 0.0f;
  float previous_ = 0.0f;
  float scale_ = 1.0f;
};
