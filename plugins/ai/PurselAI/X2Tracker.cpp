#include "X2Tracker.h"

#include <algorithm>

using aimath::Vec3;

X2Tracker::X2Tracker(const X2Host& host) : C4WanderAI(host) { SetClassName("X2Tracker"); }

void X2Tracker::MakePathPoint(float now) {
  const float c = host_.HasScaleAndBodySize()
                      ? host_.GetScale(targetObject_) * host_.GetBodySize(targetObject_)
                      : 0.5f;
  Vec3 aim = host_.GetPosition(targetObject_) +
             host_.GetDirection(targetObject_) * (2.0f * c * host_.Random());
  float x = aim.x, z = aim.z;
  for (int tries = 0; tries < 10; ++tries) {
    float ra = host_.Random();
    float rb = host_.Random();
    x = aim.x + (rb - 0.5f) * c / 2.0f;
    z = aim.z + (ra - 0.5f) * c / 2.0f;
    if (host_.HasTerrain() && host_.GetTerrainHeight(x, z) < 0.0f) break;
  }
  float p = (host_.Random() - 0.5f) * c / 3.0f;
  float y = p > 0.0f ? aim.y + p + 1.0f : aim.y + p - 1.0f;
  path_.Append(x, y, z, now);
}

X2AIObject* X2Tracker::Step(float now, float previous, X2Object self) {
  if (!self) return nullptr;
  return Follow(now, previous, self, host_.GetPosition(self));
}

X2AIObject* X2Tracker::Follow(float now, float previous, X2Object self, const Vec3& pos) {
  if (!targetObject_) {
    int n = host_.GetFlockSize(followedFlock_);
    int member = 0;
    switch (std::clamp(memberChoice_, 0, 2)) {
      case kMiddle: member = n / 2; break;
      case kLast: member = std::max(n - 1, 0); break;
      default: member = 0; break;
    }
    targetObject_ = host_.GetFlockMember(followedFlock_, member);
  }

  UpdateTargetSpeed(pos);

  const float reach = std::max(targetSpeed_ * 0.5f, 0.5f);
  if (aimath::Length(pos - target_) < reach || now - lastPathTime_ >= 10.0f) {
    if (pathStep_ == 2) {
      pathStep_ = 0;
      MakePathPoint(now);
    } else {
      ++pathStep_;
    }
    const float w = pathStep_ / 3.0f;
    target_ = path_.SampleBack(3) * (1.0f - w) + path_.SampleBack(2) * w;
    lastPathTime_ = now;
  }

  host_.AddHaloAnchor(target_);
  for (int k = 1; k <= 4; ++k) host_.AddHaloAnchor(path_.SampleBack(k));
  host_.AddHaloAnchor(pos);

  return Steer(now, previous, self, pos);
}
