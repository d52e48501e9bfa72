#pragma once
// Base of the flock AIs: steers its fish towards a target point through the
// host table (yaw, climb, speed).
#include <vector>

#include "X2Host.h"
#include "X2PluginAbi.h"

class C4FlyingBar;
class C4FlockController;

class C4BasicAI : public X2AIObject {
 public:
  explicit C4BasicAI(const X2Host& host);
  C4BasicAI(const C4BasicAI&) = delete;
  C4BasicAI& operator=(const C4BasicAI&) = delete;

  // Slot 0: runs the most derived destructor; bit 0 also frees the memory.
  void* X2_THISCALL Destroy(int flags) override;
  X2AIObject* X2_THISCALL Step(float now, float previous, X2Object self) override;

  virtual C4FlyingBar* FlyingBar();
  virtual void SetFlyingBar(C4FlyingBar* leader);
  virtual C4FlockController* GetController();
  // Fills groups with the neighbour groups around this AI; returns their count.
  virtual int GetNeighbors(std::vector<void*>& groups);
  // After the operations above in the table; Destroy runs it.
  virtual ~C4BasicAI() = default;

  const char* ClassName() const { return className_; }
  const aimath::Vec3& TargetPoint() const { return target_; }
  void SetTargetPoint(const aimath::Vec3& p) { target_ = p; }
  float TargetSpeed() const { return targetSpeed_; }
  void SetTargetSpeed(float v) { targetSpeed_ = v; }
  float LastAcceleration() const { return lastAcceleration_; }
  float MaxSpeed() const { return maxSpeed_; }
  void SetMaxSpeed(float v) { maxSpeed_ = v; }
  int FlockIndex() const { return flockIndex_; }
  void SetFlockIndex(int index) { flockIndex_ = index; }
  X2Object LeaderObject() const { return leaderObject_; }
  void SetLeaderObject(X2Object obj) { leaderObject_ = obj; }
  void SetNoAvoidance(int on) { noAvoidance_ = on; }
  void SetCollisionSelector(int selector) { collisionSelector_ = selector; }
  const X2Host& Host() const { return host_; }

 protected:
  void SetClassName(const char* name);
  // target speed = min(base + gain * k * distance, max * k), k the
  // controller's speed factor (1 without a controller); pos is the fish's
  // position this step.
  void UpdateTargetSpeed(const aimath::Vec3& pos);
  // The base step for a fish at pos: subclasses that have read the position
  // already hand it on instead of asking the host again.
  X2AIObject* Steer(float now, float previous, X2Object self, const aimath::Vec3& pos);
  // Logs a class-check message the first time only.
  void LogBadClassOnce(const char* message);

  aimath::Vec3 target_;
  char className_[16] = {};
  float maxSpeed_ = 1.0f;
  float baseSpeed_ = 0.1f;
  float speedGain_ = 0.3f;
  float turnRate_ = aimath::kPi;      // radians per second
  float climbRate_ = 0.6283185f;      // pi / 5 per second
  float decelerationLimit_ = -1.0f;
  float accelerationLimit_ = 1.0f;
  int noAvoidance_ = 0;
  C4FlyingBar* flyingBar_ = nullptr;
  int flocking_ = 0;
  int flockIndex_ = 0;
  X2Object leaderObject_ = nullptr;
  float lastAcceleration_ = 0.0f;
  float targetSpeed_ = 0.0f;
  int collisionSelector_ = 0;

  X2Host host_;  // the table this AI was created with
  bool badClassLogged_ = false;
};
