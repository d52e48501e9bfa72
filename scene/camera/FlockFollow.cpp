#include "FlockFollow.h"

#include <algorithm>
#include <cmath>

#include "world/C3Object.h"

namespace {

constexpr float kSubStep = 0.1f;
constexpr float kLongestStep = 1.0f;
// Speed gained for each unit beyond the viewing distance, and the least
// speed (closer than that distance it creeps on).
constexpr float kCatchUp = 0.7f;
constexpr float kCreep = 0.5f;
// Near enough to the approach point, and the longest time spent going out.
constexpr float kArrived = 3.0f;
constexpr float kLongestOut = 15.0f;
// Seconds over which the fish's velocity is smoothed.
constexpr float kFishSmoothing = 0.5f;
// Speed out of a solid shape at its full push (the fields push with 50),
// and the seconds of travel ahead at which shapes are felt.
constexpr float kPushGain = 0.5f;
constexpr float kLookAhead = 0.5f;

bool Finite(const D3DXVECTOR3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

D3DXVECTOR3 Limit(const D3DXVECTOR3& v, float most) {
  const float length = D3DXVec3Length(&v);
  return length > most ? v * (most / length) : v;
}

bool Hidden(const C3Object* fish) { return fish->HasFlag(kObjAlwaysCulled); }

// y kept between the floor and the ceiling, each with its margin; where the
// two meet, under the ceiling.
float InWater(const FlockFollow::Scene& scene, float x, float y, float z) {
  const float floor = scene.FloorAt(x, z);
  const float ceiling = scene.CeilingAt(x, z);
  if (std::isfinite(floor)) y = std::max(y, floor + FlockFollow::kFloorMargin);
  if (std::isfinite(ceiling)) y = std::min(y, ceiling - FlockFollow::kCeilingMargin);
  return y;
}

// The unit vector `from` turned towards `to` by at most `most` radians.
D3DXVECTOR3 TurnTowards(const D3DXVECTOR3& from, const D3DXVECTOR3& to, float most, float* angle) {
  const float c = std::clamp(D3DXVec3Dot(&from, &to), -1.0f, 1.0f);
  *angle = std::acos(c);
  if (*angle <= most) return to;
  D3DXVECTOR3 side = to - from * c;
  if (D3DXVec3Length(&side) < 1e-4f) {  // straight back: turn through the level side
    side = D3DXVECTOR3(-from.z, 0.0f, from.x);
    if (D3DXVec3Length(&side) < 1e-4f) side = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
  }
  D3DXVec3Normalize(&side, &side);
  return from * std::cos(most) + side * std::sin(most);
}

}  // namespace

bool FlockFollow::TakeFish(const Scene& scene, int flock) {
  if (flock < 0 || flock >= scene.FlockCount()) return false;
  for (int m = scene.FlockSize(flock) - 1; m >= 0; --m) {
    const C3Object* fish = scene.Member(flock, m);
    if (!fish || Hidden(fish)) continue;
    if (fish != fish_) fishNew_ = true;
    flock_ = flock;
    member_ = m;
    fish_ = fish;
    return true;
  }
  return false;
}

bool FlockFollow::NextFlock(const Scene& scene) {
  const int count = scene.FlockCount();
  for (int k = 1; k <= count; ++k) {
    if (!TakeFish(scene, ((flock_ < 0 ? -1 : flock_) + k) % count)) continue;
    PlanApproach(scene);
    return true;
  }
  flock_ = member_ = -1;
  fish_ = nullptr;
  return false;
}

void FlockFollow::PlanApproach(const Scene& scene) {
  const D3DXVECTOR3 fish = fish_->position;
  const D3DXVECTOR3 gap = fish - position_;
  // The first flock is headed for straight from where the camera starts.
  swimmingOut_ = approaches_++ > 0 && Finite(fish) && D3DXVec3Length(&gap) < 0.6f * kApproachDistance;
  if (!swimmingOut_) return;
  // Each approach a golden angle round from the last one.
  const float bearing = 2.3999632f * static_cast<float>(approaches_);
  approachFrom_ = fish + D3DXVECTOR3(std::cos(bearing), 0.0f, std::sin(bearing)) * kApproachDistance;
  approachFrom_.y = InWater(scene, approachFrom_.x, approachFrom_.y, approachFrom_.z);
  outTime_ = 0.0f;
}

bool FlockFollow::FishStillThere(const Scene& scene) const {
  return flock_ < scene.FlockCount() && member_ < scene.FlockSize(flock_) &&
         scene.Member(flock_, member_) == fish_ && !Hidden(fish_);
}

void FlockFollow::Place(const D3DXVECTOR3& p) {
  position_ = p;
  velocity_ = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
}

const D3DXVECTOR3& FlockFollow::Step(const Scene& scene, float dt) {
  dt = std::isfinite(dt) ? std::clamp(dt, 0.0f, kLongestStep) : 0.0f;
  if (fish_ && !FishStillThere(scene) && !TakeFish(scene, flock_)) NextFlock(scene);
  if (!fish_ || !Finite(fish_->position)) {
    velocity_ = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    return position_;
  }
  const D3DXVECTOR3 fish = fish_->position;
  if (fishNew_) {
    fishNew_ = false;
    fishVelocity_ = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  } else if (dt > 0.0f) {
    const D3DXVECTOR3 seen = Limit((fish - fishLast_) / dt, 2.0f * kMaxSpeed);
    fishVelocity_ += (seen - fishVelocity_) * std::min(dt / kFishSmoothing, 1.0f);
  }
  fishLast_ = fish;
  const int steps = std::max(1, static_cast<int>(std::ceil(dt / kSubStep)));
  for (int i = 0; i < steps && dt > 0.0f; ++i) SubStep(scene, fish, dt / steps);
  return position_;
}

void FlockFollow::SubStep(const Scene& scene, const D3DXVECTOR3& fish, float h) {
  // Out to the approach point, then after the fish. Either way it heads for
  // its goal, so that a view along the way travelled looks there, as fast
  // as keeps the viewing distance from the fish, never stopping.
  if (swimmingOut_) {
    const D3DXVECTOR3 left = approachFrom_ - position_;
    outTime_ += h;
    swimmingOut_ = D3DXVec3Length(&left) > kArrived && outTime_ < kLongestOut;
  }
  const D3DXVECTOR3 toGoal = (swimmingOut_ ? approachFrom_ : fish) - position_;
  const float distance = D3DXVec3Length(&toGoal);
  const float speed = D3DXVec3Length(&velocity_);
  D3DXVECTOR3 to = distance > 1e-3f ? toGoal / distance
                   : speed > 1e-3f  ? velocity_ / speed
                                    : D3DXVECTOR3(0.0f, 0.0f, 1.0f);
  const float away = swimmingOut_ ? 0.0f : D3DXVec3Dot(&fishVelocity_, &to);
  const float keep = swimmingOut_ ? 0.0f : kViewDistance;
  D3DXVECTOR3 wanted = to * std::clamp(away + (distance - keep) * kCatchUp, kCreep, kMaxSpeed);
  // A solid shape ahead turns the course along it and away.
  const D3DXVECTOR3 push = scene.PushAt(position_ + velocity_ * kLookAhead);
  const float strength = D3DXVec3Length(&push);
  if (strength > 0.0f && std::isfinite(strength)) {
    const D3DXVECTOR3 out = push / strength;
    const float into = D3DXVec3Dot(&wanted, &out);
    if (into < 0.0f) wanted -= out * into;
    wanted = Limit(wanted + push * kPushGain, kMaxSpeed);
  }

  float goalSpeed = D3DXVec3Length(&wanted);
  D3DXVECTOR3 direction(0.0f, 0.0f, 0.0f);
  if (goalSpeed > 1e-4f) {
    to = wanted / goalSpeed;
    if (speed > 1e-3f) {
      // Slower through a turn, so that it stays tight.
      float angle = 0.0f;
      direction = TurnTowards(velocity_ / speed, to, kMaxTurn * h, &angle);
      goalSpeed *= 0.5f + 0.5f * std::max(std::cos(angle), 0.0f);
    } else {
      direction = to;
    }
  } else if (speed > 1e-3f) {
    direction = velocity_ / speed;
  }
  const float change = std::clamp(goalSpeed - speed, -kMaxAcceleration * h, kMaxAcceleration * h);
  velocity_ = direction * std::min(speed + change, kMaxSpeed);
  position_ += velocity_ * h;
  // Out of a shape it got into, whatever its speed.
  const D3DXVECTOR3 inside = scene.PushAt(position_);
  if (Finite(inside)) position_ += inside * (kPushGain * h);
  position_.y = InWater(scene, position_.x, position_.y, position_.z);
}
