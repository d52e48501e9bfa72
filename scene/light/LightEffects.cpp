#include "LightEffects.h"

#include <algorithm>
#include <cmath>

int CausticFrame(float t) {
  if (!(t >= 0.0f) || !std::isfinite(t)) return 0;
  const double frame = std::fmod(std::floor(32.0 * static_cast<double>(t)), 32.0);
  return static_cast<int>(frame) & (kCausticFrames - 1);
}

float FishLightLevel(int lights) {
  static const float kLevel[3] = {3.0f, 2.0f, 1.0f};
  return kLevel[std::clamp(lights, 0, 2)];
}

D3DXVECTOR4 FishLightColour(float e, float a) {
  return D3DXVECTOR4(0.55f * e, e * (0.25f * std::sin(a) + 0.7f), e * (0.25f * std::cos(1.3f * a) + 0.75f),
                     1.0f);
}

SkyVertex MakeSkyVertex(const float* p, float top) {
  const float pi = static_cast<float>(D3DX_PI);
  float ratio = top > 0.0f ? p[1] / top : 1.0f;
  ratio = std::clamp(ratio, -1.0f, 1.0f);
  if (!std::isfinite(ratio)) ratio = 1.0f;
  const float e = std::acos(ratio);
  const float a = std::atan2(p[0], p[2]);
  SkyVertex v;
  v.u = std::clamp(0.5f + (e / pi) * std::sin(a), 0.0f, 1.0f);
  v.v = std::clamp(0.5f + (e / pi) * std::cos(a), 0.0f, 1.0f);
  const float shrink = 0.333333f;
  v.x = p[0] * shrink;
  v.y = p[1] * 0.5f * shrink;
  v.z = p[2] * shrink;
  v.nx = p[3];
  v.ny = p[4];
  v.nz = p[5];
  return v;
}
