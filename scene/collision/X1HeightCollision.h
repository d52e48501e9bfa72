#pragma once
// The wave ceiling: pushes fish down, away from the moving sea surface. The
// surface hangs over the floor's centre, so the waves are evaluated
// relative to the centre object's x and z (the terrain; the origin without
// one) at the world's scaled clock.
#include "X1Collision.h"

class X1HeightCollision : public X1Collision {
 public:
  explicit X1HeightCollision(float surfaceOffset, const C3Object* centre = nullptr);

  D3DXVECTOR3* GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& position, const C3Object* asker, float radius,
                        float band) override;
  // Height of the waves' ceiling at (x, z) now: where the push is full for
  // a point without size.
  float CeilingAt(float x, float z) const;

  float surfaceOffset;
  const C3Object* centre;
};
