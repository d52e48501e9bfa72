#include "C6Light.h"

#include "LightEffects.h"
#include "common/SettingIds.h"
#include "fish/FishMotion.h"
#include "frame/C3SceneHost.h"

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
