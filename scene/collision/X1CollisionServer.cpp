#include "X1CollisionServer.h"

#include "X1Collision.h"

X1CollisionServer::X1CollisionServer() { SetClassName("X1CollisionServer"); }

void X1CollisionServer::AddCollision(X1Collision* field) {
  if (field) fields_.Add(field);
}

D3DXVECTOR3* X1CollisionServer::GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& position, const C3Object* asker,
                                         float radius, float band) {
  D3DXVECTOR3 sum(0.0f, 0.0f, 0.0f);
  for (int i = 0; i < fields_.count; ++i) {
    D3DXVECTOR3 force(0.0f, 0.0f, 0.0f);
    static_cast<X1Collision*>(fields_.items[i])->GetForce(&force, position, asker, radius, band);
    sum += force;
  }
  if (out) *out = sum;
  return out;
}

float X1CollisionServer::GetClearance(const D3DXVECTOR3& start, const D3DXVECTOR3& displacement) {
  float clearance = 1.0f;
  for (int i = 0; i < fields_.count && clearance != 0.0f; ++i)
    clearance *= static_cast<X1Collision*>(fields_.items[i])->GetClearance(start, displacement);
  return clearance;
}
