#include "X2FishCollision.h"

#include <new>

#include "CollisionMath.h"
#include "X1CollisionServer.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "world/C3Move.h"
#include "world/C3World.h"

X2FishCollision::X2FishCollision(C3Move* bodyObject) : body(bodyObject) {
  // Unlike the other fields it is not marked hidden.
  SetClassName("X2FishCollision");
}

X2FishCollision::~X2FishCollision() {
  if (backLink_ && *backLink_ == this) *backLink_ = nullptr;
}

X2FishCollision* X2FishCollision::Attach(C3Move* body, X2FishCollision** link) noexcept {
  C3World* world = C3World::Current();
  if (!TheCollisionServer || !world) return nullptr;
  X2FishCollision* field = new (std::nothrow) X2FishCollision(body);
  if (!field) {
    LogPrint("KWEX body field: out of memory\n");
    return nullptr;
  }
  try {
    world->AddChild(field);
    TheCollisionServer->AddCollision(field);
  } catch (const std::bad_alloc&) {
    LogPrint("KWEX body field: out of memory\n");
    // A field the world already holds stays there, pushing nothing.
    field->DetachBody();
    if (!world->HasChild(field)) delete field;
    return nullptr;
  }
  *link = field;
  field->LinkBack(link);
  return field;
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
