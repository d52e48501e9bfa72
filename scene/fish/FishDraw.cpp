#include "FishDraw.h"

#include <cmath>

#include "C6FishTables.h"

float SunDimFactor(const D3DXVECTOR3& light, const D3DXVECTOR3& camera, const D3DXVECTOR3& fish,
                   float bodySize) {
  const D3DXVECTOR3 d = fish - camera;
  if (!(D3DXVec3Length(&d) >= 0.5f)) return 1.0f;
  const float ll = D3DXVec3Dot(&light, &light);
  // No light direction or no body: nothing stands in the way.
  if (!(ll > 0.0f) || !(bodySize > 0.0f)) return 1.0f;
  const float s = D3DXVec3Dot(&light, &d) / ll;
  // The light vector points from the sun into the scene, so the sun lies
  // along -light from the camera: only a fish on that side (s < 0) stands
  // between them.
  if (!(s < 0.0f)) return 1.0f;
  const D3DXVECTOR3 offLine = camera + light * s - fish;
  const float dist = D3DXVec3Length(&offLine);
  if (!(dist < bodySize)) return 1.0f;
  const float r = dist / bodySize;
  return r > 0.5f ? r : 0.0f;
}

float FishLightsLevel(int lights) {
  switch (lights) {
    case 0: return 0.4f;
    case 1: return 0.2f;
    case 2: return 0.1f;
    default: return 0.5f;
  }
}

float FishCausticScale(float scale, float bodySize) {
  const float size = scale * bodySize;
  if (!(size > 0.0f) || !std::isfinite(size)) return 1.0f;
  return 1.0f / std::pow(size, 0.7f);
}

FishDrawPlan PlanFishDraw(int farMesh, bool hasMorph, bool hasPartial, bool pixelShaders) {
  FishDrawPlan plan;
  if (farMesh > 0) {
    plan.mesh = farMesh;
    plan.farMesh = true;
    return plan;  // static shader, pixel shader 1
  }
  plan.morph = hasMorph;
  plan.partial = hasPartial;
  if (hasPartial) {
    plan.vertexShader = pixelShaders ? kFishPartialPsVs : kFishPartialVs;
    plan.pixelShader = pixelShaders ? kFishPartialPs : kFishPs;
  } else if (hasMorph) {
    plan.vertexShader = kFishMorphVs;
  }
  return plan;
}
