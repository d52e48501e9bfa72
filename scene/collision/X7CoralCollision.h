#pragma once
// A coral colony's field: pushes fish away from the colony's position,
// harder the closer they come (at most 10 / strength divisor).
#include "X1Collision.h"

class X7CoralCollision : public X1Collision {
 public:
  explicit X7CoralCollision(C3Object* colony = nullptr, float strengthDivisor = 1.0f);

  D3DXVECTOR3* GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& position, const C3Object* asker, float radius,
                        float band) override;

  float strengthDivisor;
  C3Object* colony;
};
