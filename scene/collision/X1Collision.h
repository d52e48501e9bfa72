#pragma once
// A collision field: a scene object that answers the steering force at a
// point (added by the asking fish to its motion) and the clearance of a
// segment (1 when it is free, 0 when it is blocked). The base answers no
// force and full clearance. Fields are world children; the collision
// server lists them without owning them.
#include "world/C3Object.h"

class X1Collision : public C3Object {
 public:
  X1Collision();

  // The force at position for the asking object (a field may leave its own
  // body out through it); radius is the asker's size, band the width of
  // the soft zone (0: the field's default). Writes and returns out.
  virtual D3DXVECTOR3* GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& position, const C3Object* asker,
                                float radius, float band);
  // 0 .. 1 for the segment from start along displacement.
  virtual float GetClearance(const D3DXVECTOR3& start, const D3DXVECTOR3& displacement);
};
