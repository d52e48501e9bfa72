#include "X1TerrainCollision.h"

#include <utility>

#include "CollisionMath.h"

X1TerrainCollision::X1TerrainCollision(FloorHeightQuery heights) : terrain(std::move(heights)) {
  SetClassName("X1TerrainCollision");
  flags |= kObjAlwaysCulled;
}

D3DXVECTOR3* X1TerrainCollision::GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& position, const C3Object* /*asker*/,
                                          float radius, float band) {
  D3DXVECTOR3 force(0.0f, 0.0f, 0.0f);
  if (terrain) force = FloorForce(terrain(position.x, position.z) + kFloorClearance, position.y, radius, band);
  if (out) *out = force;
  return out;
}
