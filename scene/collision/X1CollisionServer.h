#pragma once
// Holds every collision field of the scene: sums their forces and
// multiplies their clearances. It lists the fields without owning them
// (the world does); the list lives as long as the server, so a device made
// again still finds every field.
#include "world/C3Object.h"
#include "world/C4Collection.h"

class X1Collision;

class X1CollisionServer : public C3Object {
 public:
  X1CollisionServer();

  void AddCollision(X1Collision* field);
  // Sum of every field's force, in list order; zero with no fields.
  D3DXVECTOR3* GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& position, const C3Object* asker, float radius,
                        float band);
  // Product of the fields' clearances, stopping at the first field that
  // makes it 0 (later fields are not asked); 1 with no fields.
  float GetClearance(const D3DXVECTOR3& start, const D3DXVECTOR3& displacement);

  int FieldCount() const { return fields_.count; }

 private:
  C4Collection fields_{10, 10};
};
