#pragma once
// The collision shapes a structure plug-in's record carries (plug-in data,
// read only): plain records, readable without a device or the math library.
#include <cstdint>

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
