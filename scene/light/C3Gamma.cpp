#include "C3Gamma.h"

#include <cstring>

#include "GammaRamp.h"
#include "common/SettingIds.h"
#include "frame/C3SceneHost.h"

C3Gamma::C3Gamma() {
  SetClassName("C3Gamma");
  flags |= kObjAlwaysVisible;
  std::memset(ramps, 0, sizeof(ramps));
  // Neutral until the first restore reads the setting.
  BuildGammaRamp(1.0f, &ramps[0]);
}

void C3Gamma::Apply(const D3DGAMMARAMP& ramp) {
  C3SceneHost* host = GetSceneHost();
  IDirect3DDevice9* device = host->GetDevice();
  if (!device) return;
  device->SetGammaRamp(0, D3DSGR_CALIBRATE, &ramp);
  if (host->IsDualView()) device->SetGammaRamp(1, D3DSGR_CALIBRATE, &ramp);
}

HRESULT C3Gamma::RestoreDeviceObjects() {
  BuildGammaRamp(WaterityTint(GetSceneHost()->GetSceneSetting(kSceneWaterity)), &ramps[0]);
  // A reset device starts from the neutral ramp: the tint goes on again.
  applied = 0;
  return 0;
}

HRESULT C3Gamma::InvalidateDeviceObjects() {
  if (applied) {
    BuildGammaRamp(1.0f, &ramps[0]);
    Apply(ramps[0]);
    applied = 0;
  }
  return 0;
}

HRESULT C3Gamma::Render() {
  if (!applied) {
    Apply(ramps[0]);
    applied = 1;
  }
  return 0;
}
