#include "X2PositionAverage.h"

#include <cmath>

const D3DXVECTOR3& X2PositionAverage::Add(const D3DXVECTOR3& v) {
  const bool finite = std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
  samples[next] = finite ? v : average;
  next = next + 1 > kSampleCount - 1 ? 0 : next + 1;
  // Summed afresh each time: no rounding drift over a long run.
  D3DXVECTOR3 sum(0.0f, 0.0f, 0.0f);
  for (const D3DXVECTOR3& s : samples) sum += s;
  average = sum * (1.0f / kSampleCount);
  return average;
}
