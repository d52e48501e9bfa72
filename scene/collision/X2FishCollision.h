#pragma once
// A body's field (a fish or the dolphin): pushes other fish out of the
// body's scaled bounding box, in the body's own frame. The body itself
// gets no push from it. Body and field may go in either order: the body
// detaches the field when it goes away (DetachBody, after which the field
// never touches it again), the field clears the body's pointer to it when
// it goes first. A field without a body pushes nothing.
#include "X1Collision.h"

class C3Move;

class X2FishCollision : public X1Collision {
 public:
  explicit X2FishCollision(C3Move* body);
  ~X2FishCollision() override;

  D3DXVECTOR3* GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& position, const C3Object* asker, float radius,
                        float band) override;
  // Forgets the body and its pointer to this field.
  void DetachBody() {
    body = nullptr;
    backLink_ = nullptr;
  }
  // The body's pointer to this field, cleared when the field is deleted
  // while the body still stands.
  void LinkBack(X2FishCollision** slot) { backLink_ = slot; }

  // The field of `body` listed with the collision server and registered with
  // the world; *link, the body's pointer to it, is set and linked back. Null
  // without a server or a world, and when memory runs out (logged; nothing
  // is left that reaches the body).
  static X2FishCollision* Attach(C3Move* body, X2FishCollision** link) noexcept;

  C3Move* body;

 private:
  X2FishCollision** backLink_ = nullptr;
};
