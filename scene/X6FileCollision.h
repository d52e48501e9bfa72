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

// The shape data of a structure record (plug-in data, read only).
struct X6CollisionCapsule {
  float a[3];
  float b[3];
  float radius;
};
struct X6CollisionSphere {
  float centre[3];
  float radius;
};
struct X6CollisionTriangle {
  float corners[3][3];
};
struct X6CollisionShapes {
  const X6CollisionCapsule* capsules;
  uint32_t capsuleCount;
  const X6CollisionSphere* spheres;
  uint32_t sphereCount;
  const X6CollisionTriangle* triangles;
  uint32_t triangleCount;
};
static_assert(sizeof(X6CollisionCapsule) == 28, "capsule record");
static_assert(sizeof(X6CollisionSphere) == 16, "sphere record");
static_assert(sizeof(X6CollisionTriangle) == 36, "triangle record");
static_assert(sizeof(void*) != 4 || sizeof(X6CollisionShapes) == 24, "shape block of a 32-bit record");

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
