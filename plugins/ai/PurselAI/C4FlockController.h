#pragma once
// Sets the pace of a formation flock: a slow and a fast mode, alternating
// at random for a calm flock, with short random bursts on top.
#include "X2Host.h"
#include "X2PluginAbi.h"

class C4FlyingBar;

class C4FlockController : public X2AIObjectImpl<C4FlockController> {
 public:
  enum Mode { kLowSpeedWander = 0, kHighSpeedWander = 1 };

  C4FlockController(const X2Host& host, int flockIndex, int character);

  X2AIObject* X2_THISCALL Step(float now, float previous, X2Object self) override;

  // 3.0 during a burst; else 1.0 in the slow mode and 5.0 in the fast one.
  float SpeedFactor() const;

  int Mode() const { return mode_; }
  bool InBurst() const { return burst_ != 0; }
  float ModeEnd() const { return modeEnd_; }
  float BurstEnd() const { return burstEnd_; }
  int FlockIndex() const { return flockIndex_; }
  int Character() const { return character_; }
  C4FlyingBar* Leader() const { return leader_; }
  void SetLeader(C4FlyingBar* leader) { leader_ = leader; }

 private:
  float modeEnd_ = 0.0f;
  float burstEnd_ = 0.0f;
  int burst_ = 0;
  int mode_ = kLowSpeedWander;
  int flockIndex_;
  int character_;
  C4FlyingBar* leader_ = nullptr;
  X2Host host_;
};
