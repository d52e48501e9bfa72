#pragma once
// Follows a member of some flock: lays path points around and ahead of it
// and steers along them.
#include "C4WanderAI.h"

class X2Tracker : public C4WanderAI {
 public:
  enum Member { kFirst = 0, kMiddle = 1, kLast = 2 };

  explicit X2Tracker(const X2Host& host);

  X2AIObject* X2_THISCALL Step(float now, float previous, X2Object self) override;

  X2Object TargetObject() const { return targetObject_; }
  int FollowedFlock() const { return followedFlock_; }
  void SetFollowedFlock(int flock) { followedFlock_ = flock; }
  int MemberChoice() const { return memberChoice_; }
  void SetMemberChoice(int choice) { memberChoice_ = choice; }

 protected:
  // The tracker's step for a fish at pos (read once by the caller).
  X2AIObject* Follow(float now, float previous, X2Object self, const aimath::Vec3& pos);

 private:
  void MakePathPoint(float now);

  X2Object targetObject_ = nullptr;
  int followedFlock_ = 0;
  int memberChoice_ = kFirst;
};
