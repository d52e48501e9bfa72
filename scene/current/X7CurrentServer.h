#pragma once
// The water current of the scene: one vector per frame by the WaterCurrent
// scene setting (0 none, 1 to 3 ever stronger and more restless). Objects
// flagged to drift are carried by it in their frame move, and the bubbles
// add it to their rise.
#include "WaterCurrent.h"
#include "world/C3Object.h"

class X7CurrentServer : public C3Object {
 public:
  X7CurrentServer();

  HRESULT Move(float current, float previous) override;
  // The current at a world position (the same everywhere).
  D3DXVECTOR3* GetCurrent(D3DXVECTOR3* out, const D3DXVECTOR3& position) const;

  CurrentState state;
};
