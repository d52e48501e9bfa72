#include "X6Fog.h"

#include <cmath>

#include "common/SettingIds.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/ShaderConstantCopy.h"

bool FogBaseColour(int lights, D3DXVECTOR4* out) {
  static const D3DXVECTOR4 kBase[3] = {
      {0.0f, 0.4f, 1.0f, 1.0f},
      {0.0f, 0.2f, 0.8f, 1.0f},
      {0.0f, 0.1f, 0.4f, 0.6f},
  };
  if (lights < 0 || lights > 2) return false;
  *out = kBase[lights];
  return true;
}

FogFrame AnimateFog(const D3DXVECTOR4& base, float t, float rate) {
  const float c = t * rate;
  const float s = std::sin(c);
  const float k = std::cos(1.3f * c);
  FogFrame f;
  f.colour = D3DXVECTOR4(base.x * (1.0f + 0.2f * s), base.y * (1.0f + 0.4f * (s + k)), base.z * (1.0f + 0.2f * k),
                         base.w);
  f.start = kFogStart + 5.0f * s;
  f.end = kFogEnd;
  return f;
}

void FogShaderConstant(float start, float end, float out[4]) {
  const float length = end - start;
  out[0] = 0.0f;
  out[1] = end;
  out[2] = length != 0.0f ? 1.0f / length : 0.0f;
  out[3] = 0.0f;
}

X6Fog::X6Fog() {
  SetClassName("X6Fog");
  flags |= kObjAlwaysVisible | kObjAlwaysCulled;
  // Until the first move the fog answers what the hooks answered without it.
  if (FogBaseColour(GetSceneHost()->GetSceneSetting(kSceneLights), &baseColour)) colour = baseColour;
}

HRESULT X6Fog::Move(float current, float previous) {
  C3Object::Move(current, previous);
  FogBaseColour(GetSceneHost()->GetSceneSetting(kSceneLights), &baseColour);
  const FogFrame f = AnimateFog(baseColour, current, rate);
  colour = f.colour;
  fogStart = f.start;
  fogEnd = f.end;
  return 0;
}

void X6Fog::SetShaderConstants() {
  float c23[4];
  FogShaderConstant(fogStart, fogEnd, c23);
  FatalCheck("X6Fog", __LINE__, __TIME__, SetVertexConstants(GetSceneHost()->GetDevice(), kFogConstantRegister, c23, 1));
}
