#include "C4FlockController.h"

C4FlockController::C4FlockController(const X2Host& host, int flockIndex, int character)
    : flockIndex_(flockIndex), character_(character), host_(host) {}

float C4FlockController::SpeedFactor() const {
  if (burst_) return 3.0f;
  return mode_ == kHighSpeedWander ? 5.0f : 1.0f;
}

X2AIObject* C4FlockController::Step(float now, float, X2Object) {
  if (!burst_ && (mode_ == 0 || mode_ == 2)) {
    // The longer since the last burst, the likelier the next.
    float r = host_.Random();
    if ((now - burstEnd_ - 10.0f) * 0.005f > r) {
      burst_ = 1;
      burstEnd_ = now + 1.0f + host_.Random();
    }
  } else if (burst_ && now > burstEnd_) {
    burst_ = 0;
  }

  if (character_ != 0) {
    mode_ = kHighSpeedWander;
    return nullptr;
  }
  if (now > modeEnd_) {
    float r = host_.Random();
    mode_ = (static_cast<int>(100.0f * r) & 1) ? kHighSpeedWander : kLowSpeedWander;
    modeEnd_ = now + (r + 0.3f) * (mode_ == kLowSpeedWander ? 90.0f : 45.0f);
  }
  return nullptr;
}
