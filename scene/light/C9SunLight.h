#pragma once
// The sun's light direction: down the sky at 45 degrees, tilted each frame
// by the waves above the point where the camera sees the sun through the
// surface. The product's light-direction hook reads it.
#include "world/C3Object.h"

class C9SunLight : public C3Object {
 public:
  C9SunLight();
  HRESULT Move(float current, float previous) override;

  D3DXVECTOR3 direction;
};
