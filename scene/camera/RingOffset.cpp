#include "RingOffset.h"

#include <cmath>

#include "common/SettingIds.h"
#include "frame/C3SceneHost.h"

D3DXVECTOR3 RingOffset(float t, bool smallWorld) {
  if (smallWorld) return D3DXVECTOR3(50.0f * std::sin(t / 180.0f), 0.0f, 50.0f * std::cos(t / 180.0f));
  return D3DXVECTOR3(100.0f * std::sin(t / 600.0f), 0.0f, 100.0f * (std::cos(t / 600.0f) - 1.0f));
}

D3DXVECTOR3 RingOffset(float t) {
  return RingOffset(t, GetSceneHost()->GetSceneSetting(kSceneSmallWorld) != 0);
}
