#include "C4PurselAI.h"

#include "C4FlyingBar.h"

C4PurselAI::C4PurselAI(const X2Host& host) : C4BasicAI(host) {
  SetClassName("C4PurselAI");
  flocking_ = 1;
}

C4FlyingBar* C4PurselAI::FlyingBar() {
  if (!flyingBar_ && !missingLeaderLogged_) {
    missingLeaderLogged_ = true;
    host_.Log("KWEX C4FlyingBar FlyingBar NULL\n");
  }
  return flyingBar_;
}

X2AIObject* C4PurselAI::Step(float now, float previous, X2Object self) {
  if (!self) return nullptr;
  if (C4FlyingBar* bar = FlyingBar()) {
    target_ = bar->LaneHistory(lane_).SampleAt(static_cast<float>(row_), now);
  }
  const aimath::Vec3 pos = host_.GetPosition(self);
  UpdateTargetSpeed(pos);
  return Steer(now, previous, self, pos);
}
