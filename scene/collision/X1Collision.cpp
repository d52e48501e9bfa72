#include "X1Collision.h"

X1Collision::X1Collision() { SetClassName("X1Collision"); }

D3DXVECTOR3* X1Collision::GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& /*position*/, const C3Object* /*asker*/,
                                   float /*radius*/, float /*band*/) {
  if (out) *out = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  return out;
}

float X1Collision::GetClearance(const D3DXVECTOR3& /*start*/, const D3DXVECTOR3& /*displacement*/) {
  return 1.0f;
}
