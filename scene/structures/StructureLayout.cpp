#include "StructureLayout.h"

#include <algorithm>
#include <cmath>

D3DXVECTOR3 HeronPoint(float a, float b, float c) {
  const float f = a + b;  // P0 to P1
  const float g = a + c;  // P0 to the new centre
  const float d = b + c;  // P1 to the new centre
  if (!(f > 0.0f)) return D3DXVECTOR3(0.0f, 0.0f, g);
  // Along the line from P0 towards P1 and across it; valid whether or not
  // the angle at P0 is obtuse.
  const float along = (f * f + g * g - d * d) / (2.0f * f);
  const float across = std::sqrt(std::max(0.0f, g * g - along * along));
  return D3DXVECTOR3(a - along, 0.0f, across);
}

std::vector<D3DXVECTOR3> LayoutStructureCentres(const std::vector<float>& radii) {
  const size_t m = std::min(radii.size(), static_cast<size_t>(kMaxLaidOutStructures));
  std::vector<D3DXVECTOR3> centres;
  if (m == 0) return centres;
  if (m == 1) {
    centres.emplace_back(0.0f, 0.0f, 0.0f);
    return centres;
  }
  centres.emplace_back(radii[0], 0.0f, 0.0f);
  centres.emplace_back(-radii[1], 0.0f, 0.0f);
  if (m >= 3) centres.push_back(HeronPoint(radii[0], radii[1], radii[2]));
  if (m >= 4) {
    D3DXVECTOR3 p = HeronPoint(radii[0], radii[1], radii[3]);
    p.z = -p.z;
    centres.push_back(p);
  }
  D3DXVECTOR3 mean(0.0f, 0.0f, 0.0f);
  for (const D3DXVECTOR3& p : centres) mean += p;
  mean /= static_cast<float>(centres.size());
  for (D3DXVECTOR3& p : centres) p -= mean;
  return centres;
}

float StructureRadius(float footprint, float u, float v) { return footprint * (1.0f + 0.5f * u) + 10.0f * v; }

int PickStructure(int count, float r) {
  if (count <= 0) return -1;
  const int drawn = static_cast<int>(r * 100.0f);
  return ((drawn % count) + count) % count;
}
