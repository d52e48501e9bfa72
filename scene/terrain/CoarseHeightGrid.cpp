#include "CoarseHeightGrid.h"

#include <cmath>

bool CoarseHeightGrid::Lookup(float dx, float dz, float* height) const {
  if (!filled_) return false;
  // Far-away or invalid offsets must not reach the int conversion.
  if (!(std::fabs(dx) < 1e6f) || !(std::fabs(dz) < 1e6f)) return false;
  const int i = static_cast<int>(std::floor(dx * 0.5f)) + kHalf;
  const int j = static_cast<int>(std::floor(dz * 0.5f)) + kHalf;
  if (i < 0 || i >= kSize || j < 0 || j >= kSize) return false;
  *height = samples_[i][j];
  return true;
}

std::string CoarseHeightGrid::DebugMap() const {
  std::string map;
  for (int j = 0; j < kSize - 1; ++j) {
    for (int i = 0; i < kSize - 1; ++i) {
      const float h = samples_[i][j];
      map += h > 0.0f ? "[]" : h > -10.0f ? "-1" : h > -20.0f ? "-2" : "  ";
    }
    map += "/\n";
  }
  return map;
}
