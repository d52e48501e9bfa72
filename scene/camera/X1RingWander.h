#pragma once
// The wander target flock AIs read through the host table: it walks from
// rally point to rally point of the structures in the scene at 0.7 units a
// second, now and then moving on to another structure, or follows the
// circular RingOffset path while no structure brought rally points.
#include <cstdint>
#include <vector>

#include "fish/FishMotion.h"
#include "world/C3Object.h"

constexpr int kMaxRallyPoints = 10;

// The rally-point record of a structure plug-in (X2FishData::rallyPoints),
// 124 bytes, copied by value: `count` points (1 to 10) in the structure's
// model space.
struct X2RallyRecord {
  uint32_t count;
  float points[kMaxRallyPoints][3];
};
static_assert(sizeof(X2RallyRecord) == 124, "rally record layout");

// An index below count (which must be positive) drawn as the integer of
// r x 100 modulo count; drawn again, ten draws in all, while it equals
// avoid. The last draw stands even when it equals avoid.
int DrawOtherIndex(int count, int avoid, const RandomSource& random);

class X1RingWander : public C3Object {
 public:
  // globalIndex before any record was chosen.
  static constexpr int kNoRecord = 255;
  // Closer than this to its rally point, the target has arrived.
  static constexpr float kArrivalDistance = 4.0f;
  static constexpr float kSpeed = 0.7f;  // units per second

  X1RingWander();

  // One wander step; with the debug-display bit 0 the target is shown on
  // text panel 5.
  HRESULT Move(float current, float previous) override;

  // Copies the record, carries its points into world space by matrix and
  // keeps it. Null records and counts outside 1..10 are logged and skipped.
  void AddRallyPoints(const X2RallyRecord* record, const D3DXMATRIX& matrix);
  // Where the draws come from (SceneRandom unless set).
  void SetRandomSource(RandomSource random) { random_ = std::move(random); }
  // The current rally point; null while no record is chosen.
  const float* CurrentPoint() const;

  std::vector<X2RallyRecord> rallies;
  int globalIndex = kNoRecord;
  int localIndex = 0;
  int arrivals = 0;

 private:
  // Arrived (or no record chosen yet): another record or another point.
  void ChangeRallyPoint();
  float Draw() const;

  RandomSource random_;
};
