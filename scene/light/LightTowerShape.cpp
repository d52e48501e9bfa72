#include "LightTowerShape.h"

#include <algorithm>
#include <cmath>

namespace {

const D3DXVECTOR3 kDefaultLight(0.0f, -0.70710599f, 0.70710599f);

// A light vector the shafts can follow: clearly downwards.
const D3DXVECTOR3& UsableLight(const D3DXVECTOR3& light) {
  return light.y < -1e-3f ? light : kDefaultLight;
}

}  // namespace

void BuildShaftTemplate(float w, float h, ShaftVertex out[kShaftVertexCount]) {
  const float rows[kShaftVertexCount][4] = {
      {0.0f, -h / 2, 0.5f, 0.5f}, {-w / 2, 0.0f, 0.0f, 1.0f}, {-w / 2, -h / 2, 0.0f, 0.5f},
      {-w / 2, -h, 0.0f, 0.0f},   {0.0f, -h, 0.5f, 0.0f},     {w / 2, -h, 1.0f, 0.0f},
      {w / 2, -h / 2, 1.0f, 0.5f}, {w / 2, 0.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.5f, 1.0f},
      {-w / 2, 0.0f, 0.0f, 1.0f}};
  for (int i = 0; i < kShaftVertexCount; ++i)
    out[i] = ShaftVertex{rows[i][0], rows[i][1], 0.0f, 0.0f, 0.0f, -1.0f, rows[i][2], rows[i][3]};
}

TowerPlacement PlaceTower(const D3DXVECTOR3& camera, const D3DXVECTOR3& light, float offsetX, float offsetZ) {
  const D3DXVECTOR3& l = UsableLight(light);
  TowerPlacement p;
  p.position = D3DXVECTOR3(camera.x - camera.y * l.x / l.y + offsetX, kShaftTopY,
                           camera.z - camera.y * l.z / l.y + offsetZ);
  p.distance = std::sqrt(offsetX * offsetX + offsetZ * offsetZ);
  float a = 0.0f;
  if (p.distance > 0.0f) a = std::acos(std::clamp(offsetZ / p.distance, -1.0f, 1.0f));
  p.angle = offsetX <= 0.0f ? -a : a;
  return p;
}

void PlaceShaft(const ShaftVertex templ[kShaftVertexCount], const TowerPlacement& placement,
                ShaftVertex out[kShaftVertexCount]) {
  D3DXMATRIX rotation, translation, m;
  D3DXMatrixRotationY(&rotation, placement.angle);
  D3DXMatrixTranslation(&translation, placement.position.x, placement.position.y, placement.position.z);
  m = rotation * translation;
  for (int i = 0; i < 9; ++i) {
    out[i] = templ[i];
    D3DXVECTOR3 p(templ[i].x, templ[i].y, templ[i].z), q;
    D3DXVec3TransformCoord(&q, &p, &m);
    out[i].x = q.x;
    out[i].y = q.y;
    out[i].z = q.z;
  }
  out[9] = out[1];
}

void SwayPhases(float t, float rate, float* s1, float* s2) {
  const float u = t * rate;
  const float pi = static_cast<float>(D3DX_PI);
  *s2 = (std::cos(2.0f * pi * u) + 1.0f) * 0.5f;
  *s1 = (std::sin(1.5f * pi * u) + 1.0f) * 0.5f;
}

void SwayShaft(ShaftVertex work[kShaftVertexCount], const D3DXVECTOR3& light, float offsetX, float offsetZ,
               float s1, float s2) {
  const D3DXVECTOR3& l = UsableLight(light);
  const float gz = (0.2f * offsetZ + l.z) / l.y - 0.5f * s2;
  const float gx = (0.2f * offsetX + l.x) / l.y - 0.5f * s1;
  // Each hanging vertex and the top vertex above it.
  static const int kHanging[6][2] = {{2, 1}, {3, 1}, {0, 8}, {4, 8}, {5, 7}, {6, 7}};
  for (const auto& pair : kHanging) {
    ShaftVertex& v = work[pair[0]];
    const float depth = work[pair[1]].y - v.y;
    v.x -= gx * depth;
    v.z -= gz * depth;
  }
}

float TowerIntensity(float s1, float s2, int lights) {
  static const float kFactor[3] = {0.2f, 0.1f, 0.05f};
  lights = std::clamp(lights, 0, 2);
  return (0.3f * s1 * s1 + 0.3f * s2 * s2) * kFactor[lights];
}

float StepBlink(TowerBlink* blink, float t, float (*random)()) {
  if (!blink->blinking) {
    const float p = (t - blink->time - 0.3f) * 0.005f;
    if (random() < p) {
      blink->blinking = 1;
      blink->time = t + (random() + 1.0f) * 0.3f;
    }
  }
  if (!blink->blinking) return 1.0f;
  if (t > blink->time) {
    blink->blinking = 0;
    return 1.2f;
  }
  return 0.1f;
}
