#include "C6Light.h"

#include "C3SceneHost.h"
#include "FishMotion.h"
#include "LightEffects.h"
#include "SettingIds.h"

C6Light::C6Light(C3Object* boundFish) : fish(boundFish) {
  SetClassName("C6Light");
  flags |= kObjAlwaysVisible;
  rate = 1.0f + 2.0f * SceneRandom();
  const float e = FishLightLevel(GetSceneHost()->GetSceneSetting(kSceneLights));
  base = D3DXVECTOR4(e, e, e, 1.0f);
}

HRESULT C6Light::Move(float current, float previous) {
  C4VertexObject::Move(current, previous);
  const float e = FishLightLevel(GetSceneHost()->GetSceneSetting(kSceneLights));
  colour = FishLightColour(e, current * rate);
  return 0;
}
