#include "X1RingWander.h"

#include <cmath>
#include <cstring>

#include "RingOffset.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "panels/C7TexturePanel.h"

namespace {

constexpr int kIndexDraws = 10;
constexpr int kCenterPanel = 5;

int DrawIndex(int count, const RandomSource& random) {
  const float r = random ? random() : SceneRandom();
  const int n = r > 0.0f && r <= 1.0f ? static_cast<int>(r * 100.0f) : 0;
  return n % count;
}

}  // namespace

int DrawOtherIndex(int count, int avoid, const RandomSource& random) {
  int index = 0;
  for (int draw = 0; draw < kIndexDraws; ++draw) {
    index = DrawIndex(count, random);
    if (index != avoid) break;
  }
  return index;
}

X1RingWander::X1RingWander() { SetClassName("X1RingWander"); }

float X1RingWander::Draw() const { return random_ ? random_() : SceneRandom(); }

const float* X1RingWander::CurrentPoint() const {
  if (globalIndex < 0 || globalIndex >= static_cast<int>(rallies.size())) return nullptr;
  return rallies[globalIndex].points[localIndex];
}

void X1RingWander::AddRallyPoints(const X2RallyRecord* record, const D3DXMATRIX& matrix) {
  if (!record) {
    LogPrint("Rally Points: no record\n");
    return;
  }
  X2RallyRecord copy;
  std::memcpy(&copy, record, sizeof copy);
  if (copy.count < 1 || copy.count > kMaxRallyPoints) {
    LogPrint("Rally Points: %u points, 1 to %d allowed; record skipped\n", copy.count, kMaxRallyPoints);
    return;
  }
  const int stored = static_cast<int>(rallies.size());
  for (uint32_t i = 0; i < copy.count; ++i) {
    float* p = copy.points[i];
    D3DXVECTOR3 model(p[0], p[1], p[2]), world;
    D3DXVec3TransformCoord(&world, &model, &matrix);
    p[0] = world.x;
    p[1] = world.y;
    p[2] = world.z;
    LogPrint("Rally Points %d:%d   %.2f/%.2f\n", stored, static_cast<int>(i), world.x, world.z);
  }
  rallies.push_back(copy);
}

void X1RingWander::ChangeRallyPoint() {
  const bool none = CurrentPoint() == nullptr;
  // The draw is taken first, whatever else decides.
  if (Draw() < 0.1f || arrivals > 10 || none) {
    arrivals = 0;
    globalIndex = DrawOtherIndex(static_cast<int>(rallies.size()), globalIndex, random_);
    localIndex = DrawIndex(static_cast<int>(rallies[globalIndex].count), random_);
    LogPrint("RingWander: Change Global:%d Local:%d\n", globalIndex, localIndex);
  } else {
    localIndex = DrawOtherIndex(static_cast<int>(rallies[globalIndex].count), localIndex, random_);
    LogPrint("RingWander: Change Local:%d\n", localIndex);
  }
}

HRESULT X1RingWander::Move(float current, float previous) {
  if (rallies.empty()) {
    position = RingOffset(current);
  } else {
    // No record is read before one is chosen.
    const float* p = CurrentPoint();
    D3DXVECTOR3 d = p ? D3DXVECTOR3(p[0], p[1], p[2]) - position : D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    if (!p || D3DXVec3Length(&d) < kArrivalDistance) {
      ++arrivals;
      ChangeRallyPoint();
      p = CurrentPoint();
      d = D3DXVECTOR3(p[0], p[1], p[2]) - position;
    }
    const float length = D3DXVec3Length(&d);
    const float step = (current - previous) * kSpeed;
    if (length > 0.0f && std::isfinite(length) && std::isfinite(step)) position += d * (step / length);
  }
  if (GetSceneHost()->GetDebugDisplayFlag() & 1)
    C7TexturePanel::Printf(ThePanels[kCenterPanel], "Center:.%.2f %.2f", position.x, position.z);
  return 0;
}
