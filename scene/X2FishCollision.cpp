#include "X2FishCollision.h"

#include "C3Move.h"
#include "CollisionMath.h"

X2FishCollision::X2FishCollision(C3Move* bodyObject) : body(bodyObject) {
  // Unlike the other fields it is not marked hidden.
  SetClassName("X2FishCollision");
}

X2FishCollision::~X2FishCollision() {
  if (backLink_ && *backLink_ == this) *backLink_ = nullptr;
}

D3DXVECTOR3* X2FishCollision::GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& position, const C3Object* asker,
                                       float /*radius*/, float /*band*/) {
  D3DXVECTOR3 force(0.0f, 0.0f, 0.0f);
  D3DXMATRIX inverse;
  if (body && asker != body && D3DXMatrixInverse(&inverse, nullptr, &body->world)) {
    D3DXVECTOR3 local;
    D3DXVec3TransformCoord(&local, &position, &inverse);
    force = BodyForce(local, body->boxMin, body->boxMax, body->rotation);
  }
  if (out) *out = force;
  return out;
}
