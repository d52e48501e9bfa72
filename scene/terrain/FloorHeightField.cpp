#include "FloorHeightField.h"

#include <algorithm>
#include <cmath>

namespace {

int FloorDiv(int a, int b) {
  int q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

int TrailingZeros(int v) {
  if (v == 0) return 32;
  int n = 0;
  unsigned u = static_cast<unsigned>(v);
  while ((u & 1u) == 0) {
    u >>= 1;
    ++n;
  }
  return n;
}

}  // namespace

FloorHeightField::FloorHeightField(const std::vector<TerrainFeature>& features, const D3DXVECTOR3& offset,
                                   float roughness, float scale)
    : features_(features),
      offset_(offset),
      roughness_(roughness),
      scale_(scale) {}

int FloorHeightField::LevelOf(LatticePoint p) {
  const int zeros = std::min(TrailingZeros(p.i), TrailingZeros(p.j));
  return zeros >= kTerrainDepth ? 0 : kTerrainDepth - zeros;
}

D3DXVECTOR2 FloorLatticePosition(LatticePoint p, float scale) {
  return (kTerrainLatticeA * static_cast<float>(p.i) + kTerrainLatticeB * static_cast<float>(p.j)) * scale;
}

LatticePoint NearestFloorLatticePoint(float x, float z, float scale) {
  // Solve (x, z) = i A + j B with A = (a, 0), B = (bx, bz); far-away or
  // invalid points give the origin.
  const D3DXVECTOR2 a = kTerrainLatticeA * scale, b = kTerrainLatticeB * scale;
  const float j = z / b.y;
  const float i = (x - j * b.x) / a.x;
  if (!(std::fabs(i) < 1e8f) || !(std::fabs(j) < 1e8f)) return LatticePoint{0, 0};
  return LatticePoint{static_cast<int>(std::lround(i)), static_cast<int>(std::lround(j))};
}

float FloorHeightField::Displacement(int i, int j) {
  const uint64_t key = (uint64_t(uint32_t(i)) << 32) | uint32_t(j);
  auto found = cache_.find(key);
  if (found != cache_.end()) return found->second;
  const D3DXVECTOR2 w = Position(LatticePoint{i, j});
  const float d = FeatureDisplacement(features_, offset_, LevelOf(LatticePoint{i, j}), roughness_, w.x, w.y, nullptr);
  cache_.emplace(key, d);
  return d;
}

float FloorHeightField::HeightAt(LatticePoint p) {
  float height = 0.0f;
  for (int level = 0; level <= kTerrainDepth; ++level) {
    const int step = 1 << (kTerrainDepth - level);
    const int i0 = FloorDiv(p.i, step), j0 = FloorDiv(p.j, step);
    const float fi = static_cast<float>(p.i - i0 * step) / static_cast<float>(step);
    const float fj = static_cast<float>(p.j - j0 * step) / static_cast<float>(step);
    // The cell (i0, j0) .. (i0 + 1, j0 + 1) splits along its short diagonal,
    // from (i0 + 1, j0) to (i0, j0 + 1), as the subdivided mesh does.
    struct Corner {
      int i, j;
      float w;
    } corners[3];
    if (fi + fj <= 1.0f) {
      corners[0] = {i0, j0, 1.0f - fi - fj};
      corners[1] = {i0 + 1, j0, fi};
      corners[2] = {i0, j0 + 1, fj};
    } else {
      corners[0] = {i0 + 1, j0 + 1, fi + fj - 1.0f};
      corners[1] = {i0, j0 + 1, 1.0f - fi};
      corners[2] = {i0 + 1, j0, 1.0f - fj};
    }
    for (const Corner& c : corners) {
      if (c.w == 0.0f) continue;
      const LatticePoint q{c.i * step, c.j * step};
      // Only the points new at this level carry its displacement.
      if (LevelOf(q) != level) continue;
      height += c.w * Displacement(q.i, q.j);
    }
  }
  return height;
}

D3DXVECTOR3 FloorHeightField::WeightsAt(LatticePoint p) const {
  const D3DXVECTOR2 w = Position(p);
  D3DXVECTOR3 weights;
  FeatureDisplacement(features_, offset_, 0, roughness_, w.x, w.y, &weights);
  return weights;
}
