#include "X7CoralCollision.h"

#include "CollisionMath.h"

X7CoralCollision::X7CoralCollision(C3Object* colonyObject, float divisor)
    : strengthDivisor(divisor), colony(colonyObject) {
  SetClassName("X7CoralCollision");
  flags |= kObjAlwaysCulled;
}

D3DXVECTOR3* X7CoralCollision::GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& position, const C3Object* /*asker*/,
                                        float radius, float /*band*/) {
  D3DXVECTOR3 force(0.0f, 0.0f, 0.0f);
  if (colony) {
    D3DXVECTOR3 at;
    colony->GetPosition(&at);
    force = ColonyForce(position - at, radius, strengthDivisor);
  }
  if (out) *out = force;
  return out;
}
