#include "C3LightTower.h"

#include "LightContent.h"
#include "LightTables.h"
#include "common/SettingIds.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"
#include "fish/FishMotion.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

#define TOWER_CHECK(code) FatalCheck("C3LightTower", __LINE__, __TIME__, (code))

namespace {

constexpr UINT kBufferBytes = kShaftVertexCount * sizeof(ShaftVertex);  // 320

}  // namespace

C3LightTower::C3LightTower() {
  SetClassName("C3LightTower");
  flags |= kObjAlwaysVisible;
  // Each shaft sways at its own slow pace, so they never move in step.
  swayRate = 0.03f + 0.04f * SceneRandom();
  shaderDescriptors = g_LightTowerShaders;
  shaderCount = 1;
  stateRecords = g_LightTowerStates;
  AddTexture(LightContent::kShaftImage.data, LightContent::kShaftImage.size);
  D3DXMatrixIdentity(&world);
}

C3LightTower::~C3LightTower() = default;

HRESULT C3LightTower::InitDeviceObjects() {
  templ.assign(kShaftVertexCount, ShaftVertex{});
  BuildShaftTemplate(width, height, templ.data());
  work = templ;
  return C4VertexObject::InitDeviceObjects();
}

HRESULT C3LightTower::RestoreDeviceObjects() {
  HRESULT hr = C4VertexObject::RestoreDeviceObjects();
  if (hr != 0) return hr;
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!device || shaft_.Buffer()) return 0;
  return shaft_.Restore(device, kBufferBytes, 0, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
}

HRESULT C3LightTower::InvalidateDeviceObjects() {
  shaft_.Release();
  return C4VertexObject::InvalidateDeviceObjects();
}

HRESULT C3LightTower::DeleteDeviceObjects() {
  templ.clear();
  work.clear();
  return C4VertexObject::DeleteDeviceObjects();
}

HRESULT C3LightTower::Move(float current, float /*previous*/) {
  C3World* scene = C3World::Current();
  C3Camera* camera = GetMainCamera();
  if (!scene || !camera || templ.size() != kShaftVertexCount) return 0;
  D3DXVECTOR3 eye;
  camera->GetPosition(&eye);
  const D3DXVECTOR3 light = scene->lightDirection;
  const TowerPlacement placement = PlaceTower(eye, light, offsetX, offsetZ);
  position = placement.position;
  cameraDistance = placement.distance;
  PlaceShaft(templ.data(), placement, work.data());
  float s1 = 0.0f, s2 = 0.0f;
  SwayPhases(current, swayRate, &s1, &s2);
  SwayShaft(work.data(), light, offsetX, offsetZ, s1, s2);
  float intensity = TowerIntensity(s1, s2, GetSceneHost()->GetSceneSetting(kSceneLights));
  intensity *= StepBlink(&blink, current, SceneRandom);
  colour = D3DXVECTOR4(intensity, intensity, intensity, 1.0f);
  // The vertices are in world space already: drawing them through any other
  // world matrix would move the shaft a second time.
  D3DXMatrixIdentity(&world);
  return 0;
}

HRESULT C3LightTower::Render() {
  C3World* scene = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!scene || !device || !shaft_.Buffer() || work.size() != kShaftVertexCount || vertexShaders.empty() ||
      !scene->vsServer || !scene->vbServer || !scene->sbServer)
    return 0;
  if (shaft_.Upload(kBufferBytes, work.data()) != 0) return 0;

  scene->sbServer->SetSB(stateBlock);
  SetShaderMatrices();
  SetVertexConstants(device, 43, colour, 1);
  scene->vsServer->SetShaders(vertexShaders[0], nullptr, declarations[0]);
  scene->vbServer->SetVB(0, shaft_.Buffer(), sizeof(ShaftVertex), true);  // the object's own buffer
  TOWER_CHECK(device->SetTexture(0, textures.empty() ? nullptr : textures[0]));
  TOWER_CHECK(C3DrawCounter::Draw(device, D3DPT_TRIANGLEFAN, 0, kShaftVertexCount - 2));
  return 0;
}
