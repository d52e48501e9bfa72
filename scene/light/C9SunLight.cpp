#include "C9SunLight.h"

#include "common/SceneGlobals.h"
#include "frame/C3SceneHost.h"
#include "seaface/SeafaceGeometry.h"
#include "terrain/X1Terrain.h"
#include "world/C3Camera.h"

C9SunLight::C9SunLight() : direction(kSunRestDirection) {
  SetClassName("C9SunLight");
  flags |= kObjAlwaysVisible;
}

HRESULT C9SunLight::Move(float current, float) {
  C3Camera* camera = GetMainCamera();
  if (!camera) return 0;
  D3DXVECTOR3 eye;
  camera->GetPosition(&eye);
  const float cx = TheTerrain ? TheTerrain->position.x : 0.0f;
  const float cz = TheTerrain ? TheTerrain->position.z : 0.0f;
  direction = SunLightDirection(eye, cx, cz, current);
  return 0;
}
