#include "PurselTables.h"

#include <algorithm>

const X2ParamDesc kPurselKeys[] = {
    {"Form", 0, kParamChoice, 1004, 0, {"", "長い", "広い"}, 0},
    {"Density", 1, kParamChoice, 1005, 0, {"", "広い", "狭い"}, 0},
    {"Scale", 2, kParamChoice, 1002, 1, {"巨大", "多い", "少ない"}, 1},
    {"SizeVarie", 3, kParamChoice, 1007, 1, {"X1", "X1-X2", "X1-X3", "X2-X3"}, 1},
    {"Character", 4, kParamChoice, 1008, 1, {"おとなしい", "活発"}, 1},
    {"Depth", 5, kParamChoice, 1009, 2, {"表層", "底層", "全て"}, 2},
    {"FlockID", 7, kParamDecimal, 0, 0, {}, 0},
    {"FishPosition", 8, kParamChoice, 1010, 0, {"先頭", "真ん中", "後尾"}, 0},
    {nullptr, 0, 0, 0, 0, {}, 0},
};

const FlockShape kFlockShapes[kFlockShapeCount] = {
    {10, 6, 4}, {8, 4, 3}, {4, 3, 2}, {15, 4, 4}, {10, 3, 3},
    {6, 2, 2},  {7, 8, 4}, {6, 6, 3}, {3, 4, 2},
};

const int kFlockLabelCounts[kFlockShapeCount] = {300, 128, 36, 300, 120, 36, 280, 144, 36};

const double kFlockMultipliers[kMultiplierCount] = {0.629, 0.793, 1.0, 1.26, 1.59, 2.0};

const aimath::Vec3 kFlockStartPoints[8] = {
    {2, -2, 2}, {2, -2, -2}, {2, -4, 2}, {2, -4, -2},
    {-2, -2, 2}, {-2, -2, -2}, {-2, -4, 2}, {-2, -4, -2},
};

int FlockShapeIndex(int form, int scale) {
  return std::clamp(form, 0, 2) * 3 + std::clamp(scale, 0, 2);
}

FlockShape ScaledFlockShape(int shapeIndex, int multiplierIndex) {
  const FlockShape& base = kFlockShapes[std::clamp(shapeIndex, 0, kFlockShapeCount - 1)];
  const double m = kFlockMultipliers[std::clamp(multiplierIndex, 0, kMultiplierCount - 1)];
  return {static_cast<int>(m * base.rows), static_cast<int>(m * base.lanes),
          static_cast<int>(m * base.hangers)};
}

int CountFlockFish(const FlockShape& shape) {
  return shape.lanes * (shape.hangers + 1) * shape.rows;
}

aimath::Vec3 FlockStartPoint(int flockIndex) { return kFlockStartPoints[((flockIndex % 8) + 8) % 8]; }

int ClampFlockID(int id, int flockCount) {
  id = std::max(id, 0);
  return flockCount > 0 && id >= flockCount ? flockCount - 1 : id;
}

int FlockLabelCount(int shapeIndex) {
  return kFlockLabelCounts[std::clamp(shapeIndex, 0, kFlockShapeCount - 1)];
}
