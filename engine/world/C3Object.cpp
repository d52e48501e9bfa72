#include "C3Object.h"

#include <cstring>

#include "frame/C3SceneHost.h"

namespace {

class DefaultSceneHost : public C3SceneHost {};

DefaultSceneHost g_defaultHost;
C3SceneHost* g_host = nullptr;
C3Camera* g_mainCamera = nullptr;

}  // namespace

C3SceneHost* GetSceneHost() { return g_host ? g_host : &g_defaultHost; }
void SetSceneHost(C3SceneHost* host) { g_host = host; }
C3Camera* GetMainCamera() { return g_mainCamera; }
void SetMainCamera(C3Camera* camera) { g_mainCamera = camera; }

C3Object::C3Object() {
  SetClassName("C3Object");
  farDistance = GetSceneHost()->GetDefaultRange();
  D3DXMatrixIdentity(&world);
}

C3Object::~C3Object() = default;

void C3Object::SetClassName(const char* name) {
  std::memset(className, 0, sizeof(className));
  if (name) std::strncpy(className, name, sizeof(className) - 1);
}

void C3Object::UpdateRadiusFromBox() {
  float a = D3DXVec3Length(&boxMin);
  float b = D3DXVec3Length(&boxMax);
  radius = a > b ? a : b;
}

D3DXVECTOR3* C3Object::GetPosition(D3DXVECTOR3* out) {
  *out = position;
  return out;
}

void C3Object::SetViewProjection(const D3DXMATRIX*, const D3DXMATRIX*) {}
HRESULT C3Object::InitDeviceObjects() { return 0; }
HRESULT C3Object::RestoreDeviceObjects() { return 0; }
HRESULT C3Object::InvalidateDeviceObjects() { return 0; }
HRESULT C3Object::DeleteDeviceObjects() { return 0; }

HRESULT C3Object::Move(float, float) {
  ComposePlacement(&world, *this);
  return 0;
}

HRESULT C3Object::PreRender() { return 0; }
HRESULT C3Object::Render() { return 0; }
HRESULT C3Object::FinalCleanUp() { return 0; }
void C3Object::OnTerrainRebuilt(X1Terrain*) {}
HRESULT C3Object::Spare(int) { return 0; }

D3DXMATRIX* ComposePlacement(D3DXMATRIX* out, const C3Object& o) {
  D3DXMATRIX s, rx, rz, ry, t;
  D3DXMatrixScaling(&s, o.scale, o.scale, o.scale);
  D3DXMatrixRotationX(&rx, o.rotX);
  D3DXMatrixRotationZ(&rz, o.rotZ);
  D3DXMatrixRotationY(&ry, o.rotY);
  D3DXMatrixTranslation(&t, o.position.x, o.position.y, o.position.z);
  *out = s * rx * rz * ry * t;
  return out;
}
