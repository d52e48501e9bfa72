#include "X1HeightCollision.h"

#include "CollisionMath.h"
#include "seaface/EvaluateWaves.h"
#include "world/C3World.h"

X1HeightCollision::X1HeightCollision(float offset, const C3Object* centreObject)
    : surfaceOffset(offset), centre(centreObject) {
  SetClassName("X1HeightCollision");
  flags |= kObjAlwaysCulled;
}

float X1HeightCollision::CeilingAt(float x, float z) const {
  const C3World* world = C3World::Current();
  const float t = world ? world->clockB.GetCurrent() : 0.0f;
  const float cx = centre ? centre->position.x : 0.0f;
  const float cz = centre ? centre->position.z : 0.0f;
  return WaveHeight(x - cx, z - cz, t) + surfaceOffset;
}

D3DXVECTOR3* X1HeightCollision::GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& position, const C3Object* /*asker*/,
                                         float radius, float band) {
  const float wave = CeilingAt(position.x, position.z) - surfaceOffset;
  const D3DXVECTOR3 force = CeilingForce(wave, surfaceOffset, position.y, radius, band);
  if (out) *out = force;
  return out;
}
