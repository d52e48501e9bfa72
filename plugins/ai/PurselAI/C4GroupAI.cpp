#include "C4GroupAI.h"

using aimath::Vec3;

C4GroupAI::C4GroupAI(const X2Host& host, X2Object follow) : C4BasicAI(host) {
  SetClassName("C4GroupAI");
  flocking_ = 1;
  leaderObject_ = follow;
}

X2AIObject* C4GroupAI::Step(float now, float previous, X2Object self) {
  if (!self) return nullptr;
  if (now > nextChange_) {
    nextChange_ = now + (host_.Random() + 1.0f) * 5.0f;
    float ra = host_.Random();
    float rb = host_.Random();
    float rc = host_.Random();
    offset_ = Vec3(rc * box_.x - box_.x / 2, rb * box_.y - box_.y / 2, ra * box_.z - box_.z / 2);
  }
  target_ = host_.GetPosition(leaderObject_) + offset_;
  const Vec3 pos = host_.GetPosition(self);
  UpdateTargetSpeed(pos);
  return Steer(now, previous, self, pos);
}
