#pragma once
// The formation leader: tracks a member of some flock and drags parallel
// lanes behind it. Each lane's path is recorded so that the formation fish
// of row r swim it r seconds later.
#include <vector>

#include "X2Tracker.h"

class C4FlockController;
class C4PurselAI;

class C4FlyingBar : public X2Tracker {
 public:
  C4FlyingBar(const X2Host& host, int lanes, int rows);

  X2AIObject* X2_THISCALL Step(float now, float previous, X2Object self) override;
  C4FlyingBar* FlyingBar() override { return this; }
  C4FlockController* GetController() override { return controller_; }
  void SetController(C4FlockController* controller) { controller_ = controller; }

  // Puts fish into the first free slot (rows first, then lanes) and ties its
  // AI to this leader. False when every slot is taken.
  bool Attach(C4PurselAI* ai, X2Object fish);
  bool HasFreeSlot() const;
  X2Object SlotFish(int row, int lane) const { return slots_[row * lanes_ + lane]; }

  // The fish that carries this leader.
  X2Object OwnFish() const { return ownFish_; }
  void SetOwnFish(X2Object fish) { ownFish_ = fish; }

  int Lanes() const { return lanes_; }
  int Rows() const { return rows_; }
  // Lane index is clamped into the lanes this leader has.
  const X2PositionHistory& LaneHistory(int lane) const;
  const X2PositionHistory& Track() const { return track_; }
  const aimath::Vec3& LaneOffset(int lane) const { return offsets_[lane]; }
  const aimath::Vec3& Smoothed() const { return average_; }

 private:
  aimath::Vec3 recent_[4];
  aimath::Vec3 average_;
  int recentSlot_ = 0;
  std::vector<aimath::Vec3> offsets_;
  std::vector<X2PositionHistory> laneHistories_;
  X2PositionHistory track_;
  std::vector<X2Object> slots_;  // rows x lanes, null = free
  C4FlockController* controller_ = nullptr;
  int lanes_;
  int rows_;
  X2Object ownFish_ = nullptr;
};
