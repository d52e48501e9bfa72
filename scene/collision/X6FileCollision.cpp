#include "X6FileCollision.h"

#include <cmath>

namespace {

// A count without its array is no shape at all.
uint32_t Count(const void* array, uint32_t count) { return array ? count : 0; }

bool Near(const D3DXVECTOR3& p, const BoundingSphere& bounds, float reach) {
  const D3DXVECTOR3 d = p - bounds.centre;
  return D3DXVec3Length(&d) <= reach + bounds.radius;
}

}  // namespace

X6FileCollision::X6FileCollision(const X6CollisionShapes* shapeData, const C3Object* structureObject)
    : shapes(shapeData), structure(structureObject) {
  SetClassName("X6FileCollision");
  flags |= kObjAlwaysVisible | kObjAlwaysCulled;
  if (!shapes || !structure) return;
  const float s = structure->scale;
  for (uint32_t i = 0; i < Count(shapes->capsules, shapes->capsuleCount); ++i) {
    const X6CollisionCapsule& c = shapes->capsules[i];
    capsuleBounds.push_back(CapsuleBounds(Place(c.a), Place(c.b), c.radius, s));
  }
  for (uint32_t i = 0; i < Count(shapes->spheres, shapes->sphereCount); ++i) {
    const X6CollisionSphere& sphere = shapes->spheres[i];
    sphereBounds.push_back(BoundingSphere{Place(sphere.centre), std::fabs(sphere.radius * s)});
  }
  for (uint32_t i = 0; i < Count(shapes->triangles, shapes->triangleCount); ++i) {
    const X6CollisionTriangle& t = shapes->triangles[i];
    triangleBounds.push_back(TriangleBounds(Place(t.corners[0]), Place(t.corners[1]), Place(t.corners[2])));
  }
}

D3DXVECTOR3 X6FileCollision::Place(const float point[3]) const {
  const D3DXVECTOR3 model(point[0], point[1], point[2]);
  D3DXVECTOR3 placed;
  D3DXVec3TransformCoord(&placed, &model, &structure->world);
  return placed;
}

bool X6FileCollision::Inactive() const { return !shapes || !structure || structure->farCulled; }

D3DXVECTOR3* X6FileCollision::GetForce(D3DXVECTOR3* out, const D3DXVECTOR3& position, const C3Object* /*asker*/,
                                       float radius, float band) {
  D3DXVECTOR3 sum(0.0f, 0.0f, 0.0f);
  if (!Inactive()) {
    band = CollisionBand(band);
    const float s = structure->scale;
    // A shape is asked when the asker's soft zone can reach its bounds.
    const float reach = band + std::fmax(radius, 0.0f);
    for (size_t i = 0; i < capsuleBounds.size(); ++i) {
      if (!Near(position, capsuleBounds[i], reach)) continue;
      const X6CollisionCapsule& c = shapes->capsules[i];
      const D3DXVECTOR3 d = position - ClosestOnSegment(position, Place(c.a), Place(c.b));
      sum += PushAway(d, s * c.radius + radius, band);
    }
    for (size_t i = 0; i < sphereBounds.size(); ++i) {
      if (!Near(position, sphereBounds[i], reach)) continue;
      const X6CollisionSphere& sphere = shapes->spheres[i];
      sum += PushAway(position - Place(sphere.centre), radius + s * sphere.radius, band);
    }
    for (size_t i = 0; i < triangleBounds.size(); ++i) {
      if (!Near(position, triangleBounds[i], band)) continue;
      const X6CollisionTriangle& t = shapes->triangles[i];
      D3DXVECTOR3 d;
      if (TriangleOffset(position, Place(t.corners[0]), Place(t.corners[1]), Place(t.corners[2]), &d))
        sum += PushAway(d, 0.0f, band);
    }
  }
  if (out) *out = sum;
  return out;
}

float X6FileCollision::GetClearance(const D3DXVECTOR3& start, const D3DXVECTOR3& displacement) {
  if (Inactive()) return 1.0f;
  const float s = structure->scale;
  for (size_t i = 0; i < capsuleBounds.size(); ++i) {
    const X6CollisionCapsule& c = shapes->capsules[i];
    const D3DXVECTOR3 a = Place(c.a);
    if (SegmentDistance(start, displacement, a, Place(c.b) - a) <= s * c.radius) return 0.0f;
  }
  return 1.0f;
}
