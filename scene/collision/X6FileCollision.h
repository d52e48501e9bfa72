#pragma once
// A sunken structure's field, from the collision shapes its plug-in record
// carries: capsules and spheres push fish out to their radius plus a soft
// band, triangles push fish off their front faces, and capsules block
// segments (the sun light through a wreck). Shapes are in the structure's
// model space and follow its world matrix; a far-culled structure neither
// pushes nor blocks.
#include <cstdint>
#include <vector>

#include "CollisionMath.h"
#include "X1Collision.h"
#include "X6CollisionShapes.h"

class X6FileCollision : public X1Collision {
 public:
  // The bounding spheres are taken from the structure's world matrix now:
  // compose it before making the field.
  X6FileCollision(const X6CollisionShapes* shapes, const C3Object* structure);

  D3DXVECTOR3* GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& position, const C3Object* asker, float radius,
                        float band) override;
  float GetClearance(const D3DXVECTOR3& start, const D3DXVECTOR3& displacement) override;

  const X6CollisionShapes* shapes;
  const C3Object* structure;
  std::vector<BoundingSphere> capsuleBounds;
  std::vector<BoundingSphere> sphereBounds;
  std::vector<BoundingSphere> triangleBounds;

 private:
  bool Inactive() const;
  D3DXVECTOR3 Place(const float point[3]) const;
};
