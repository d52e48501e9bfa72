#pragma once
// The fixed tables of the formation flock AI: its parameter keys, the flock
// shapes by Form and Scale, the size multipliers and the start points.
#include "X2ParamTable.h"
#include "X2Vector.h"

// Table positions of the parameter keys.
enum PurselParam {
  kParamForm = 0,
  kParamDensity = 1,
  kParamScale = 2,
  kParamSizeVarie = 3,
  kParamCharacter = 4,
  kParamDepth = 5,
  kParamFlockID = 6,
  kParamFishPosition = 7,
};

extern const X2ParamDesc kPurselKeys[];

constexpr int kFlockShapeCount = 9;
constexpr int kMultiplierCount = 6;

struct FlockShape {
  int rows;
  int lanes;    // fish per row
  int hangers;  // hangers-on per formation fish
};

extern const FlockShape kFlockShapes[kFlockShapeCount];
extern const int kFlockLabelCounts[kFlockShapeCount];
extern const double kFlockMultipliers[kMultiplierCount];
extern const aimath::Vec3 kFlockStartPoints[8];

// Form x 3 + Scale, with both forced into 0..2.
int FlockShapeIndex(int form, int scale);
// The shape at that index, each count multiplied and truncated separately;
// out-of-range indexes are clamped.
FlockShape ScaledFlockShape(int shapeIndex, int multiplierIndex);
int CountFlockFish(const FlockShape& shape);
// Start point of a flock (flock index mod 8; negative indexes wrap too).
aimath::Vec3 FlockStartPoint(int flockIndex);
// Label count of the dialog (the table at multiplier 1.0).
int FlockLabelCount(int shapeIndex);
// A FlockID forced into 0 .. flockCount - 1 (only not below 0 when the host
// has no flocks).
int ClampFlockID(int id, int flockCount);
