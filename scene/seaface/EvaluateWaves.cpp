#include "EvaluateWaves.h"

#include <cmath>

namespace {

struct WaveRow {
  float divX, divZ;  // a zero divisor leaves that axis out of the phase
  float frequency;
  float amplitude;
};

const WaveRow kWaves[] = {
    {5.0f, 5.0f, 0.1f, 2.0f},
    {4.8f, 4.8f, 0.2f, 1.0f},
    {1.0f, 2.0f, 0.4f, 0.5f},
};

constexpr float kTwoPi = 6.2831855f;
constexpr float kTextureSwing = 0.03f;
constexpr float kTextureDrift = 0.033333335f;

}  // namespace

float EvaluateWaves(SurfaceVertex* vertex, float t, int animateTexture, D3DXVECTOR3* normal) {
  if (!vertex) return 0.0f;
  const float x = vertex->x, z = vertex->z;
  float h = 0.0f;
  if (normal) *normal = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  for (const WaveRow& w : kWaves) {
    float angle = t * w.frequency * kTwoPi;
    if (w.divX != 0.0f) angle += x / w.divX;
    if (w.divZ != 0.0f) angle += z / w.divZ;
    const float s = std::sin(angle);
    if (animateTexture) {
      const float k = s * w.amplitude * kTextureSwing;
      vertex->v += k;
      vertex->u += std::sin(t * kTextureDrift) + k;
    }
    h += s * w.amplitude;
    if (normal) {
      const float c = kTwoPi * w.amplitude * w.frequency * std::cos(angle);
      normal->x -= c;
      normal->y += 1.0f;
      normal->z -= c;
    }
  }
  // Calmer away from the surface's origin: halved at distance 10.
  const float r = 1.0f / (0.1f * std::sqrt(x * x + z * z) + 1.0f);
  vertex->y += h * r;
  if (normal) {
    normal->x *= r;
    normal->z *= r;
    D3DXVec3Normalize(normal, normal);
  }
  return h * r;
}

float WaveHeight(float x, float z, float t) {
  SurfaceVertex v = {x, 0.0f, z, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
  return EvaluateWaves(&v, t, 0, nullptr);
}
