#include "X7CurrentServer.h"

#include "common/SettingIds.h"
#include "frame/C3SceneHost.h"

X7CurrentServer::X7CurrentServer() {
  SetClassName("X7CurrentServer");
  flags |= kObjAlwaysVisible;
}

HRESULT X7CurrentServer::Move(float current, float previous) {
  StepCurrent(state, GetSceneHost()->GetSceneSetting(kSceneWaterCurrent), current, SceneRandom);
  return C3Object::Move(current, previous);
}

D3DXVECTOR3* X7CurrentServer::GetCurrent(D3DXVECTOR3* out, const D3DXVECTOR3& /*position*/) const {
  if (out) *out = state.vector;
  return out;
}
