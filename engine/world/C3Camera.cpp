#include "C3Camera.h"

#include <cmath>
#include <cstring>

#include "frame/C3SceneHost.h"

bool SphereInFrustum(const D3DXVECTOR3* normals, int planeCount, const D3DXVECTOR3& direction,
                     const D3DXVECTOR3& d, float r) {
  for (int i = 0; i < planeCount; ++i) {
    if (D3DXVec3Dot(&d, &normals[i]) > r) return false;
  }
  return D3DXVec3Dot(&d, &direction) <= r + kCameraFar;
}

bool BoxInFrustum(const D3DXVECTOR3* normals, int planeCount, const D3DXVECTOR3& eye,
                  const D3DXVECTOR3 corners[8]) {
  for (int i = 0; i < planeCount; ++i) {
    int outside = 0;
    for (int c = 0; c < 8; ++c) {
      D3DXVECTOR3 d = corners[c] - eye;
      if (D3DXVec3Dot(&d, &normals[i]) >= 0.0f) ++outside;
    }
    if (outside == 8) return false;
  }
  return true;
}

void WorldBoxCorners(const C3Object& o, D3DXVECTOR3 corners[8]) {
  for (int c = 0; c < 8; ++c) {
    D3DXVECTOR3 p((c & 1) ? o.boxMax.x : o.boxMin.x, (c & 2) ? o.boxMax.y : o.boxMin.y,
                  (c & 4) ? o.boxMax.z : o.boxMin.z);
    D3DXVec3TransformCoord(&corners[c], &p, &o.world);
  }
}

void GetMainCameraMatrices(D3DXMATRIX* view, D3DXMATRIX* projection) {
  if (C3Camera* camera = GetMainCamera()) {
    camera->GetViewMatrix(view);
    *projection = camera->projection;
  } else {
    D3DXMatrixIdentity(view);
    D3DXMatrixIdentity(projection);
  }
}

C3Camera::C3Camera() {
  SetClassName("C3Camera");
  flags |= kObjUnscaledClock | kObjAlwaysCulled;
  for (auto& n : planeNormals) n = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  D3DXMatrixIdentity(&view);
  D3DXMatrixIdentity(&projection);
}

float C3Camera::AspectRatio() const {
  C3SceneHost* host = GetSceneHost();
  float w = static_cast<float>(host->GetBackBufferWidth());
  float h = static_cast<float>(host->GetBackBufferHeight());
  return h > 0.0f ? w / h : 1.0f;
}

void C3Camera::BuildProjection() {
  D3DXMatrixPerspectiveFovLH(&projection, fov, AspectRatio(), kCameraNear, kCameraFar);
}

HRESULT C3Camera::InitDeviceObjects() {
  fov = D3DX_PI / 3.0f;
  BuildProjection();
  return C3Move::InitDeviceObjects();
}

// The back buffer may have a new size after a reset (window resize).
HRESULT C3Camera::RestoreDeviceObjects() {
  if (eye == kEyeCentre)
    BuildProjection();
  else
    SetEye(eye);
  return C3Move::RestoreDeviceObjects();
}

HRESULT C3Camera::Move(float, float) {
  float f = GetFov();
  float v = f * 0.5f + D3DX_PI / 2.0f;
  float h = f * AspectRatio() * 0.5f + D3DX_PI / 2.0f;
  D3DXVECTOR3 d, right, up, yAxis(0.0f, 1.0f, 0.0f);
  GetDirection(&d);
  D3DXVec3Cross(&right, &d, &yAxis);
  D3DXVec3Cross(&up, &right, &d);
  D3DXMATRIX r;
  D3DXMatrixRotationAxis(&r, &right, -v);
  D3DXVec3TransformCoord(&planeNormals[0], &d, &r);
  D3DXMatrixRotationAxis(&r, &right, v);
  D3DXVec3TransformCoord(&planeNormals[1], &d, &r);
  D3DXMatrixRotationAxis(&r, &up, -h);
  D3DXVec3TransformCoord(&planeNormals[2], &d, &r);
  D3DXMatrixRotationAxis(&r, &up, h);
  D3DXVec3TransformCoord(&planeNormals[3], &d, &r);
  D3DXVECTOR3 eyePos, at;
  GetPosition(&eyePos);
  GetTarget(&at);
  D3DXMatrixLookAtLH(&view, &eyePos, &at, &yAxis);
  return 0;
}

D3DXVECTOR3* C3Camera::GetTarget(D3DXVECTOR3* out) {
  *out = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  return out;
}

D3DXVECTOR3* C3Camera::GetDirection(D3DXVECTOR3* out) {
  D3DXVECTOR3 target, eyePos;
  GetTarget(&target);
  GetPosition(&eyePos);
  D3DXVECTOR3 d = target - eyePos;
  D3DXVec3Normalize(out, &d);
  return out;
}

D3DXVECTOR3* C3Camera::GetUp(D3DXVECTOR3* out) {
  D3DXVECTOR3 d, side, yAxis(0.0f, 1.0f, 0.0f);
  GetDirection(&d);
  D3DXVec3Cross(&side, &d, &yAxis);
  D3DXVec3Cross(out, &side, &d);
  return out;
}

C3Object* C3Camera::GetRiderObject() { return rider_; }
float C3Camera::GetFov() { return fov; }
float C3Camera::GetLodScale() { return 1.0f; }

void C3Camera::SetEye(int mode) {
  eye = mode;
  if (mode != kEyeLeft && mode != kEyeRight) return;
  float t = 1.0f / std::tan(fov * 0.5f);
  float a = 2.0f * AspectRatio();
  D3DXMATRIX p(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  p._11 = t / a;
  p._22 = t;
  p._33 = kCameraFar / (kCameraFar - kCameraNear);
  p._43 = -kCameraNear * kCameraFar / (kCameraFar - kCameraNear);
  p._34 = 1.0f;
  // Row vectors: x' = 2x + s w, s = +1 for the left half, -1 for the right.
  D3DXMATRIX half;
  D3DXMatrixIdentity(&half);
  half._11 = 2.0f;
  half._41 = mode == kEyeLeft ? 1.0f : -1.0f;
  projection = p * half;
}

D3DXMATRIX* C3Camera::GetViewMatrix(D3DXMATRIX* out) {
  *out = view;
  return out;
}

bool C3Camera::IsSphereVisible(const C3Object& object) {
  D3DXVECTOR3 eyePos, dir;
  GetPosition(&eyePos);
  GetDirection(&dir);
  D3DXVECTOR3 d = object.position - eyePos;
  int planes = GetSceneHost()->IsDualView() ? 2 : 4;
  return SphereInFrustum(planeNormals, planes, dir, d, object.scale * object.radius);
}

bool C3Camera::IsBoxVisible(const C3Object& object) {
  D3DXVECTOR3 corners[8], eyePos;
  WorldBoxCorners(object, corners);
  GetPosition(&eyePos);
  int planes = GetSceneHost()->IsDualView() ? 2 : 4;
  return BoxInFrustum(planeNormals, planes, eyePos, corners);
}
