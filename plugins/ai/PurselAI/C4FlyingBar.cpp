#include "C4FlyingBar.h"

#include <algorithm>

#include "C4PurselAI.h"

using aimath::Mat3;
using aimath::Vec3;

C4FlyingBar::C4FlyingBar(const X2Host& host, int lanes, int rows)
    : X2Tracker(host), lanes_(std::max(lanes, 1)), rows_(std::max(rows, 0)) {
  SetClassName("C4FlyingBar");
  const float k = 1.0f + 0.05f * lanes_;
  offsets_.reserve(lanes_);
  for (int j = 0; j < lanes_; ++j) {
    float r3 = host_.Random();
    float r2 = host_.Random();
    float r1 = host_.Random();
    offsets_.emplace_back(0.2f * (k * r1 - k / 2), k * r2 - k / 2, k * r3 - k / 2);
  }
  laneHistories_.resize(lanes_);
  slots_.assign(static_cast<size_t>(rows_) * lanes_, nullptr);
}

const X2PositionHistory& C4FlyingBar::LaneHistory(int lane) const {
  return laneHistories_[std::clamp(lane, 0, lanes_ - 1)];
}

bool C4FlyingBar::HasFreeSlot() const {
  return std::find(slots_.begin(), slots_.end(), nullptr) != slots_.end();
}

bool C4FlyingBar::Attach(C4PurselAI* ai, X2Object fish) {
  if (!ai || !fish) return false;
  for (int row = 0; row < rows_; ++row) {
    for (int lane = 0; lane < lanes_; ++lane) {
      X2Object& slot = slots_[static_cast<size_t>(row) * lanes_ + lane];
      if (slot) continue;
      slot = fish;
      ai->SetSlot(row, lane);
      ai->SetFlyingBar(this);
      ai->SetLeaderObject(ownFish_);
      return true;
    }
  }
  return false;
}

X2AIObject* C4FlyingBar::Step(float now, float previous, X2Object self) {
  if (!self) return nullptr;
  // The host moves the fish after its step, so one read serves the whole step.
  const Vec3 pos = host_.GetPosition(self);
  Follow(now, previous, self, pos);

  host_.SetPitch(self, now * 0.2f);  // the formation rolls slowly about its heading
  const Mat3 m = Mat3::RotationX(host_.GetPitch(self)) * Mat3::RotationZ(host_.GetRoll(self)) *
                 Mat3::RotationY(host_.GetYaw(self));

  average_ = average_ - recent_[recentSlot_] / 4.0f + pos / 4.0f;
  recent_[recentSlot_] = pos;
  recentSlot_ = (recentSlot_ + 1) % 4;

  track_.Record(average_, now);
  for (int j = 0; j < lanes_; ++j) {
    laneHistories_[j].Record(average_ + aimath::Transform(offsets_[j], m), now);
  }
  return nullptr;
}
