// MyApplication as the scene's host: the product's answers to the world and
// its objects. The decisions and register maps are the plain functions of
// AppHooks; here they are fed from the settings, the world, the main camera
// and the scene objects.
//
// The scene objects (fog, current server, terrain, halation, sun light,
// collision server, lone-fish lights) are made by the one-time scene set-up;
// until then their globals are null and every answer below is the default
// one: the fog colour by the Lights setting, the default light direction, no
// water current, nothing paused, no halation flag to clear, full sunlight.
#include "MyApplication.h"

#include "AppHooks.h"
#include "Settings.h"
#include "collision/X1CollisionServer.h"
#include "common/SceneGlobals.h"
#include "current/X7CurrentServer.h"
#include "fog/X1Halation.h"
#include "fog/X6Fog.h"
#include "light/C6Light.h"
#include "light/C9SunLight.h"
#include "terrain/X1Terrain.h"
#include "world/C3Camera.h"
#include "world/C4VertexObject.h"

float MyApplication::GetDefaultRange() { return ::GetDefaultRange(); }

D3DXVECTOR3 MyApplication::GetWaterCurrent(float, const D3DXVECTOR3& position) {
  D3DXVECTOR3 current(0.0f, 0.0f, 0.0f);
  if (TheCurrentServer) TheCurrentServer->GetCurrent(&current, position);
  return current;
}

void MyApplication::SetMatrixShaderConstants(C4VertexObject* object) {
  if (!object) return;
  const C4ShaderMatrices& m = object->Shading();
  WriteMatrixShaderConstants(m_device, object->world, m.worldViewProjectionT, m.worldViewT, m.viewT);
}

void MyApplication::SetFrameShaderConstants() {
  // The fog object writes its own register (c23) first.
  if (TheFog) TheFog->SetShaderConstants();
  FrameShaderInputs in;
  in.lightDirection = m_world ? m_world->lightDirection : ::GetLightDirection(nullptr);
  in.lights = GetSceneSetting(kSceneLights);
  if (C3Camera* camera = GetMainCamera()) camera->GetPosition(&in.cameraPosition);
  // Lone-fish lights: only the slots whose fish was made (the others leave
  // their registers untouched).
  for (int k = 0; k < kLoneFishLightCount && k < kFishLightSlots; ++k) {
    const C6Light* light = TheFishLights[k];
    if (!light || !light->fish) continue;
    FishLightConstants& slot = in.fishLights[k];
    slot.present = true;
    slot.colour = light->colour;
    slot.fishPosition = light->fish->position;
    slot.fishRotationX = light->fish->rotX;
  }
  in.fogColour = GetFogColor();
  WriteFrameShaderConstants(m_device, in);
}

void MyApplication::ResetHalationFlag() {
  if (TheHalation) TheHalation->ResetPoints();
}

bool MyApplication::IsScenePaused() {
  // Still while the terrain rebuilds; never paused without a terrain.
  return TheTerrain && TheTerrain->IsRebuilding();
}

D3DXVECTOR3 MyApplication::GetLightDirection() {
  return ::GetLightDirection(TheSunLight ? &TheSunLight->direction : nullptr);
}

// The collision server's clearance from the camera towards the sun; full
// light without the server or a camera.
float MyApplication::GetSunVisibility() {
  C3Camera* camera = GetMainCamera();
  if (!TheCollisionServer || !camera) return 1.0f;
  D3DXVECTOR3 eye;
  camera->GetPosition(&eye);
  return TheCollisionServer->GetClearance(eye, -GetLightDirection());
}

D3DXVECTOR4 MyApplication::GetFogColor() { return ::GetFogColor(TheFog ? &TheFog->Colour() : nullptr); }

bool MyApplication::HideCameraObject() { return ::HideCameraObject() != 0; }

int MyApplication::GetLightsSetting() { return GetSceneSetting(kSceneLights); }

bool MyApplication::IsPartialMorphEnabled() { return GetTechSetting(kTechPartialMorph) != 0; }

bool MyApplication::IsDisplayInfoShown() { return ::GetSceneSetting(kSceneDisplayInfo) != 0; }

int MyApplication::GetSceneSetting(int pos) { return ::GetSceneSetting(pos); }

int MyApplication::GetTechSetting(int pos) { return ::GetTechSetting(pos); }

int MyApplication::GetMultiSurfaceCount() { return ::GetMultiSurfaceCount(); }

bool MyApplication::IsMultiSurface() { return ::IsMultiSurface() != 0; }
