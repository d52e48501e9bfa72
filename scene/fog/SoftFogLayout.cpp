#include "SoftFogLayout.h"

#include <algorithm>
#include <cmath>

float SoftFogAlpha(float t) { return 0.03f + 0.02f * std::sin(0.1f * t); }

void LayoutSoftFog(const D3DXVECTOR3& eye, float t, int count, int textures, const D3DXVECTOR3* offsets,
                   D3DXVECTOR3* sprites) {
  const int n = count / 2;
  const float m = 0.01f * t;
  const float y = eye.y - kSoftFogDrop;
  for (int i = 0; i < count; ++i) sprites[i] = eye;
  for (int i = 0; i < n; ++i) {
    float a = 2.0f * D3DX_PI * static_cast<float>(i) / static_cast<float>(n);
    if (textures >= 1) a += (2.0f * D3DX_PI / static_cast<float>(textures)) * static_cast<float>(i % textures);
    sprites[i] = D3DXVECTOR3(eye.x + kSoftFogRadius * std::sin(a + m), y, eye.z + kSoftFogRadius * std::cos(a + m));
    sprites[n + i] =
        D3DXVECTOR3(eye.x + kSoftFogRadius * std::sin(a - m), y, eye.z + kSoftFogRadius * std::cos(a - m));
  }
  if (offsets)
    for (int i = 0; i < count; ++i) sprites[i] += offsets[i];
}

int SoftFogGroup(int i, int count, int textures) {
  if (textures < 1) return 0;
  const int perGroup = count / textures;
  const int group = perGroup > 0 ? i / perGroup : i;
  return std::min(group, std::min(textures, kSoftFogGroups) - 1);
}

int BuildSoftFogQuads(const D3DXVECTOR3* sprites, int count, int textures, const SidePlanes& planes,
                      float* vertices, int maxQuads, int groupCounts[kSoftFogGroups]) {
  static const float kCorners[kSoftFogQuadVertices][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
  std::fill(groupCounts, groupCounts + kSoftFogGroups, 0);
  int quads = 0;
  for (int i = 0; i < count && quads < maxQuads; ++i) {
    const D3DXVECTOR3& s = sprites[i];
    const D3DXVECTOR3 fromEye = s - planes.eye;
    if (!PassesSidePlanes(planes, s, kSoftFogMargin) || !(D3DXVec3Length(&fromEye) > 1.0f)) continue;
    float* out = vertices + quads * kSoftFogQuadFloats;
    for (int v = 0; v < kSoftFogQuadVertices; ++v) {
      float* p = out + v * kSoftFogVertexFloats;
      p[0] = s.x;
      p[1] = s.y;
      p[2] = s.z;
      p[3] = 0.0f;
      p[4] = 1.0f;
      p[5] = 0.0f;
      p[6] = kCorners[v][0];
      p[7] = kCorners[v][1];
    }
    ++groupCounts[SoftFogGroup(i, count, textures)];
    ++quads;
  }
  return quads;
}

int PlanSoftFogDraws(const int groupCounts[kSoftFogGroups], SoftFogDraw out[kSoftFogGroups]) {
  int draws = 0, drawn = 0;
  for (int j = 0; j < kSoftFogGroups; ++j) {
    const int c = groupCounts[j];
    if (c <= 0) continue;
    out[draws++] = SoftFogDraw{j, 4 * drawn, 4 * c, 2 * c};
    drawn += c;
  }
  return draws;
}
