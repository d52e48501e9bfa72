#include "C6unionSeaface.h"

#include "C6LegacySeaface.h"
#include "C6Seaface.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/VSServer.h"
#include "terrain/X1Terrain.h"
#include "world/C3World.h"

C6unionSeaface::C6unionSeaface() {
  SetClassName("C6unionSeaface");
  flags |= kObjAlwaysVisible;
}

C6unionSeaface::~C6unionSeaface() { delete inner; }

void C6unionSeaface::SetViewProjection(const D3DXMATRIX* view, const D3DXMATRIX* projection) {
  if (inner) inner->SetViewProjection(view, projection);
}

HRESULT C6unionSeaface::InitDeviceObjects() {
  if (!inner) {
    C3World* world = C3World::Current();
    const bool pixelShaders = world && world->vsServer && world->vsServer->UsePixelShaders();
    if (pixelShaders)
      inner = new C6Seaface();
    else
      inner = new C6LegacySeaface();
    LogPrint("sea surface: %s\n", inner->className);
    // A floor built before the surface existed already has its centre.
    if (TheTerrain) Recentre(TheTerrain->position.x, TheTerrain->position.z);
    inner->position = D3DXVECTOR3(centreX, kSurfaceY, centreZ);
  }
  return inner->InitDeviceObjects();
}

HRESULT C6unionSeaface::RestoreDeviceObjects() { return inner ? inner->RestoreDeviceObjects() : 0; }
HRESULT C6unionSeaface::InvalidateDeviceObjects() { return inner ? inner->InvalidateDeviceObjects() : 0; }

HRESULT C6unionSeaface::DeleteDeviceObjects() {
  if (!inner) return 0;
  HRESULT hr = inner->DeleteDeviceObjects();
  delete inner;
  inner = nullptr;
  return hr;
}

HRESULT C6unionSeaface::Move(float current, float previous) {
  return inner ? inner->Move(current, previous) : 0;
}
HRESULT C6unionSeaface::PreRender() { return inner ? inner->PreRender() : 0; }
HRESULT C6unionSeaface::Render() { return inner ? inner->Render() : 0; }

void C6unionSeaface::Recentre(float x, float z) {
  centreX = x;
  centreZ = z;
  if (inner) {
    inner->position.x = x;
    inner->position.z = z;
  }
}
