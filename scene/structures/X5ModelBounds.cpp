#include "X5ModelBounds.h"

#include <algorithm>
#include <cmath>

X5ModelBounds MeasurePoints(const std::vector<D3DXVECTOR3>& points) {
  X5ModelBounds b;
  D3DXVECTOR3 sum(0.0f, 0.0f, 0.0f);
  size_t counted = 0;
  for (const D3DXVECTOR3& p : points) {
    if (p.x == 0.0f && p.y == 0.0f && p.z == 0.0f) continue;
    sum += p;
    ++counted;
  }
  if (counted > 0) {
    b.centre = sum / static_cast<float>(counted);
    float farthest = 0.0f;
    for (const D3DXVECTOR3& p : points) {
      if (p.x == 0.0f && p.y == 0.0f && p.z == 0.0f) continue;
      const D3DXVECTOR3 d = p - b.centre;
      farthest = std::max(farthest, D3DXVec3LengthSq(&d));
    }
    b.radius = std::sqrt(farthest);
  }
  if (!points.empty()) {
    D3DXVECTOR3 lo(1000.0f, 1000.0f, 1000.0f), hi(-1000.0f, -1000.0f, -1000.0f);
    for (const D3DXVECTOR3& p : points) {
      D3DXVec3Minimize(&lo, &lo, &p);
      D3DXVec3Maximize(&hi, &hi, &p);
    }
    b.boxMin = D3DXVECTOR3(lo.x, lo.z, lo.y);
    b.boxMax = D3DXVECTOR3(hi.x, hi.z, hi.y);
    b.hasBox = true;
  }
  return b;
}
