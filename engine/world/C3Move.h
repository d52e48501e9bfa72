#pragma once
// A scene object that moves along its heading, builds its world matrix each
// frame and guards it against invalid numbers.
#include "C3Object.h"

class C3Move : public C3Object {
 public:
  C3Move();

  HRESULT Move(float current, float previous) override;
  HRESULT FinalCleanUp() override;
  // Rotation, heading, movement and world matrix; non-zero on success.
  virtual int ComposeWorldMatrix(float current, float previous);

  D3DXMATRIX rotation;
  D3DXMATRIX lastGoodWorld;
};

// Replaces a world matrix holding a NaN by the last good one; returns true when
// it had to. The last good matrix is then updated from the result.
bool GuardWorldMatrix(D3DXMATRIX* world, D3DXMATRIX* lastGood, bool composed);
