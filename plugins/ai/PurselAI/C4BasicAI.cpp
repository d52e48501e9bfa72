#include "C4BasicAI.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "C4FlockController.h"
#include "C4FlyingBar.h"

using aimath::kPi;
using aimath::Vec3;

C4BasicAI::C4BasicAI(const X2Host& host) : host_(host) { SetClassName("C4BasicAI"); }

void* C4BasicAI::Destroy(int flags) {
  if (flags & 1) {
    delete this;
  } else {
    this->~C4BasicAI();
  }
  return this;
}

void C4BasicAI::SetClassName(const char* name) {
  std::strncpy(className_, name, sizeof className_ - 1);
  className_[sizeof className_ - 1] = '\0';
}

void C4BasicAI::LogBadClassOnce(const char* message) {
  if (badClassLogged_) return;
  badClassLogged_ = true;
  host_.Log("%s", message);
}

C4FlyingBar* C4BasicAI::FlyingBar() {
  if (!leaderObject_) return nullptr;
  // The leader object is a fish of this plug-in's own flock, so its AI is ours.
  auto* ai = static_cast<C4BasicAI*>(host_.GetAI(leaderObject_));
  return ai && ai != this ? ai->FlyingBar() : nullptr;
}

void C4BasicAI::SetFlyingBar(C4FlyingBar* leader) { flyingBar_ = leader; }

C4FlockController* C4BasicAI::GetController() {
  C4FlyingBar* bar = FlyingBar();
  return bar ? bar->GetController() : nullptr;
}

// The formation hands out no neighbour groups, so the list stays empty: a
// hanger-on asks its formation fish, and any other AI with a leader object
// logs the class check.
int C4BasicAI::GetNeighbors(std::vector<void*>& groups) {
  groups.clear();
  if (!leaderObject_) return 0;
  if (std::strcmp(className_, "C4GroupAI") != 0) {
    LogBadClassOnce("KWEX GetNeighbors:BAD CLASS 2\n");
    return 0;
  }
  auto* ai = static_cast<C4BasicAI*>(host_.GetAI(leaderObject_));
  return ai && ai != this ? ai->GetNeighbors(groups) : 0;
}

void C4BasicAI::UpdateTargetSpeed(const Vec3& pos) {
  float distance = aimath::Length(target_ - pos);
  C4FlockController* controller = GetController();
  float k = controller ? controller->SpeedFactor() : 1.0f;
  targetSpeed_ = std::min(baseSpeed_ + speedGain_ * k * distance, maxSpeed_ * k);
}

namespace {

float WrapOnce(float a) {
  if (a > kPi) return a - 2.0f * kPi;
  if (a < -kPi) return a + 2.0f * kPi;
  return a;
}

}  // namespace

X2AIObject* C4BasicAI::Step(float now, float previous, X2Object self) {
  if (!self) return nullptr;
  return Steer(now, previous, self, host_.GetPosition(self));
}

X2AIObject* C4BasicAI::Steer(float now, float previous, X2Object self, const Vec3& pos) {
  // A step backwards in time turns and accelerates nothing.
  const float e = std::max(now - previous, 0.0f);

  Vec3 d = target_ - pos;
  const float len = aimath::Length(d);
  if (len > 0.0f) {
    d = d / len;
    if (flocking_) {
      std::vector<void*> groups;
      GetNeighbors(groups);  // the formation has no neighbour groups to add
    }
    if (host_.HasCollisionServer() && std::strcmp(className_, "C4FlyingBar") != 0 && !noAvoidance_) {
      Vec3 force = collisionSelector_ ? host_.GetCollisionForceEx(pos, self, collisionSelector_, 0)
                                      : host_.GetCollisionForce(pos, self);
      host_.AddDebugLine(pos, force / 30.0f);
      force = force * (10.0f * e);
      if (len < 1.0f) force = force * len;
      d += force;
    }
    d = aimath::Normalize(d);

    // Turn about Y, the short way round.
    float yaw = WrapOnce(host_.GetYaw(self));
    float a = std::atan2(d.z, d.x);
    float wanted = a >= 0.0f ? kPi - a : -kPi - a;
    float delta = WrapOnce(wanted - yaw);
    float turn = e * turnRate_;
    delta = std::clamp(delta, -turn, turn);
    host_.SetYaw(self, yaw + delta);

    // Climb about Z.
    float climb = -std::asin(std::clamp(d.y, -1.0f, 1.0f));
    if (!std::isnan(climb)) {
      float roll = host_.GetRoll(self);
      float limit = e * climbRate_;
      host_.SetRoll(self, roll + std::clamp(climb - roll, -limit, limit));
    }
  }

  const float speed = host_.GetSpeed(self);
  const float change = std::clamp(targetSpeed_ - speed, e * decelerationLimit_, e * accelerationLimit_);
  host_.SetSpeed(self, speed + change);
  lastAcceleration_ = e > 0.0f ? change / e : 0.0f;
  return nullptr;
}
