#include "HalationQuads.h"

#include <cmath>

float HalationSize(float intensity) { return intensity > 0.9f ? 0.1f * intensity : 0.05f * intensity; }

void WriteHalationQuad(float* out, const D3DXVECTOR3& point, float intensity) {
  static const float kCorners[kHalationQuadVertices][2] = {{0, 0}, {0, 0}, {0, 1}, {1, 0}, {1, 1}, {1, 1}};
  const float size = HalationSize(intensity);
  for (int v = 0; v < kHalationQuadVertices; ++v) {
    float* p = out + v * kHalationVertexFloats;
    p[0] = point.x;
    p[1] = point.y;
    p[2] = point.z;
    p[3] = size;
    p[4] = 2.0f * intensity;
    p[5] = 1.0f;
    p[6] = kCorners[v][0];
    p[7] = kCorners[v][1];
  }
}

int BuildHalationQuads(const D3DXVECTOR3* points, const float* intensities, int count, const SidePlanes& planes,
                       float* vertices, int maxQuads) {
  int quads = 0;
  for (int i = 0; i < count && quads < maxQuads; ++i) {
    if (!PassesSidePlanes(planes, points[i], 0.0f)) continue;
    WriteHalationQuad(vertices + quads * kHalationQuadFloats, points[i], intensities[i]);
    ++quads;
  }
  return quads;
}

bool FishGlint(const D3DXVECTOR3& light, const D3DXVECTOR3& camera, const D3DXVECTOR3& fish,
               const D3DXVECTOR3& heading, float* intensity) {
  D3DXVECTOR3 toCamera = camera - fish;
  if (!(D3DXVec3Length(&toCamera) > 0.0f)) return false;
  D3DXVECTOR3 v;
  D3DXVec3Normalize(&v, &toCamera);
  const D3DXVECTOR3 toSun = -light;
  if (!(D3DXVec3Dot(&toSun, &v) < 0.9f)) return false;
  D3DXVECTOR3 half = v - light;
  if (!(D3DXVec3Length(&half) > 0.0f)) return false;
  D3DXVec3Normalize(&half, &half);
  const float q = 1.0f - std::fabs(D3DXVec3Dot(&half, &heading));
  if (!(q > 0.8f)) return false;
  const float k = (q - 0.8f) * 5.0000005f;
  *intensity = k * k;
  return true;
}
