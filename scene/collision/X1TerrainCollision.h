#pragma once
// The floor: pushes fish up, away from the sea floor and the tops of
// sunken structures. It asks its height source for the coarse floor height
// with structures included; hooked to the terrain that is
//   [terrain](float x, float z) { return terrain->GetHeight(x, z, nullptr, true, false); }
// and it follows the terrain (told after each rebuild; nothing to redo).
#include <functional>

#include "X1Collision.h"

// Floor height at (x, z), structure tops included.
using FloorHeightQuery = std::function<float(float x, float z)>;

class X1TerrainCollision : public X1Collision {
 public:
  explicit X1TerrainCollision(FloorHeightQuery terrain);

  D3DXVECTOR3* GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& position, const C3Object* asker, float radius,
                        float band) override;

  FloorHeightQuery terrain;
};
