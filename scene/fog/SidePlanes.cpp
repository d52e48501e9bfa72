#include "SidePlanes.h"

#include <algorithm>
#include <cmath>

#include "frame/C3SceneHost.h"
#include "world/C3Camera.h"

namespace {

float ClampHalfAngle(float angle) {
  if (!(angle > 0.0f)) return 0.0f;
  return std::min(angle, D3DX_PI);
}

D3DXVECTOR3 Turned(const D3DXVECTOR3& d, const D3DXVECTOR3& axis, float angle) {
  D3DXMATRIX r;
  D3DXMatrixRotationAxis(&r, &axis, angle);
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &d, &r);
  return out;
}

}  // namespace

void SidePlaneAngles(float fov, float aspect, float* v, float* h) {
  if (!(aspect > 0.0f) || !std::isfinite(aspect)) aspect = 1.0f;
  const float vertical = fov * 0.5f + D3DX_PI / 2.0f;
  *v = ClampHalfAngle(vertical);
  *h = ClampHalfAngle(aspect * vertical);
}

void BuildSidePlanes(const D3DXVECTOR3& eye, const D3DXVECTOR3& d, float fov, float aspect, SidePlanes* out) {
  float v = 0.0f, h = 0.0f;
  SidePlaneAngles(fov, aspect, &v, &h);
  D3DXVECTOR3 side(-d.z, 0.0f, d.x);
  D3DXVECTOR3 up(-d.x * d.y, d.x * d.x + d.z * d.z, -d.y * d.z);
  if (d.x * d.x + d.z * d.z < 1e-12f) {
    side = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
    up = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
  }
  out->eye = eye;
  out->normals[0] = Turned(d, side, -v);
  out->normals[1] = Turned(d, side, v);
  out->normals[2] = Turned(d, up, -h);
  out->normals[3] = Turned(d, up, h);
}

bool PassesSidePlanes(const SidePlanes& planes, const D3DXVECTOR3& point, float margin) {
  const D3DXVECTOR3 q = point - planes.eye;
  for (const D3DXVECTOR3& n : planes.normals)
    if (!(D3DXVec3Dot(&q, &n) <= margin)) return false;
  return true;
}

bool MainCameraSidePlanes(SidePlanes* out) {
  C3Camera* camera = GetMainCamera();
  if (!camera) return false;
  C3SceneHost* host = GetSceneHost();
  const float width = static_cast<float>(host->GetBackBufferWidth());
  const float height = static_cast<float>(host->GetBackBufferHeight());
  D3DXVECTOR3 eye, direction;
  camera->GetPosition(&eye);
  camera->GetDirection(&direction);
  BuildSidePlanes(eye, direction, camera->GetFov(), height > 0.0f ? width / height : 1.0f, out);
  return true;
}
