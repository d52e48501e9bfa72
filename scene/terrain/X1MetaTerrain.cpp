#include "X1MetaTerrain.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/SettingIds.h"
#include "frame/C3SceneHost.h"

namespace {

float Random01() { return static_cast<float>(rand()) / 32767.0f; }

}  // namespace

X1MetaTerrain::X1MetaTerrain() {
  SetClassName("X1MetaTerrain");
  features.resize(kTerrainFeatureCount);
  for (TerrainFeature& f : features) {
    const float ax = (Random01() - 0.5f) * 250.0f;
    const float az = (Random01() - 0.5f) * 500.0f;
    const float bx = (Random01() - 0.5f) * 500.0f;
    const float bz = (Random01() - 0.5f) * 250.0f;
    f.a = D3DXVECTOR3(ax, 0.0f, az);
    f.b = D3DXVECTOR3(bx, 0.0f, bz);
    f.radius = (Random01() + 1.0f) * 10.0f;
    f.height = Random01() > 0.5f ? 10.0f : -10.0f;
  }
}

void X1MetaTerrain::PlaceFeatures(const D3DXVECTOR3* points, int count) {
  if (!points || count <= 0) return;
  for (size_t i = 0; i < features.size(); ++i) {
    const D3DXVECTOR3& p = points[i % static_cast<size_t>(count)];
    features[i].a.x += p.x;
    features[i].b.x += p.x;
    features[i].a.z += p.z;
    features[i].b.z += p.z;
  }
}

float X1MetaTerrain::GetHeight(int level, float x, float, float z, D3DXVECTOR3* weights) const {
  const float h = TerrainRoughness(GetSceneHost()->GetSceneSetting(kSceneUpsDowns));
  return FeatureDisplacement(features, offset, level, h, x, z, weights);
}

float TerrainRoughness(int upsDowns) {
  static const float kRoughness[4] = {-1.0f, -0.9f, -0.8f, -0.7f};
  return kRoughness[std::clamp(upsDowns, 0, 3)];
}

float DistanceToSegment(const D3DXVECTOR3& p, const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 ab = b - a;
  const D3DXVECTOR3 ap = p - a;
  const float length2 = D3DXVec3Dot(&ab, &ab);
  float t = length2 > 0.0f ? D3DXVec3Dot(&ap, &ab) / length2 : 0.0f;
  t = std::clamp(t, 0.0f, 1.0f);
  const D3DXVECTOR3 d = ap - ab * t;
  return D3DXVec3Length(&d);
}

float FeatureDisplacement(const std::vector<TerrainFeature>& features, const D3DXVECTOR3& offset, int level,
                          float roughness, float x, float z, D3DXVECTOR3* weights) {
  const float amplitude = std::pow(std::pow(2.0f, roughness), static_cast<float>(level));
  const D3DXVECTOR3 p(x - offset.x, -offset.y, z - offset.z);
  float sum = 0.0f;
  float hill = 1.0f, trench = 1.0f;
  for (const TerrainFeature& f : features) {
    if (!(f.radius > 0.0f)) continue;
    const float d = std::min(DistanceToSegment(p, f.a, f.b), f.radius);
    const float m = (f.radius - d) / f.radius;
    sum += m * f.height * amplitude;
    if (f.height > 0.0f)
      hill *= 1.0f - m;
    else
      trench *= 1.0f - m;
  }
  if (weights) *weights = D3DXVECTOR3(1.0f - hill, 1.0f - trench, 1.0f);
  const float ripple = 2.5f * std::pow(0.5f, static_cast<float>(level)) * std::sin(x * z);
  return sum + ripple;
}
