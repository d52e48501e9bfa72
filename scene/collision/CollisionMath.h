#pragma once
// The decisions of the collision fields, free of scene objects: how hard a
// field pushes at a distance, where two segments come closest, whether a
// point stands over a triangle, and the bounding spheres of structure
// shapes. Every force here is finite: a zero-length direction, a zero
// extent or a degenerate shape gives no push rather than a NaN.
#include <d3dx9math.h>

// Width of a field's soft zone when the asker gives none (0), or gives
// one that is not a positive number.
constexpr float kDefaultCollisionBand = 2.0f;
// Full push of the floor, the wave ceiling and the structures.
constexpr float kFieldPush = 50.0f;
// Full push of a body (a fish or the dolphin) on its neighbours.
constexpr float kBodyPush = 20.0f;
// Floors of the coral push distance.
constexpr float kColonyNearest = 0.1f;
// Clearance kept over the floor.
constexpr float kFloorClearance = 0.3f;

float CollisionBand(float band);

// 1 - depth / band clamped to [0, 1]: full strength at depth 0 or less, none
// a band or more away.
float BandStrength(float depth, float band);

// The wave ceiling: full downward push when the asker's top (y + radius)
// reaches the wave surface (wave + offset), none a band or more below it.
D3DXVECTOR3 CeilingForce(float wave, float offset, float y, float radius, float band);

// The floor at height floor (clearance included): full upward push when the
// asker's bottom (y - radius) is at the floor, none a band or more above.
// No push where the floor stands above 0 (structures reaching up).
D3DXVECTOR3 FloorForce(float floor, float y, float radius, float band);

// Push along d: 50 within r, fading to 0 at r + band, none beyond; no push
// when d has no length (no direction to push in).
D3DXVECTOR3 PushAway(const D3DXVECTOR3& d, float r, float band);

// A body's push at a point given in the body's model space: the box is
// scaled to a third of its extent across x and y and 0.4 along z; full
// strength within one such unit, none beyond two; along the point's
// direction carried back by the body's rotation. No push for a box
// without volume or at the box's centre.
D3DXVECTOR3 BodyForce(const D3DXVECTOR3& local, const D3DXVECTOR3& boxMin, const D3DXVECTOR3& boxMax,
                      const D3DXMATRIX& rotation);

// A colony's push on a point at offset d from it: 1 / distance beyond the
// asker's radius (at least 0.1), divided by the strength divisor. No push
// at the colony's own position or with a divisor that is not positive.
D3DXVECTOR3 ColonyForce(const D3DXVECTOR3& d, float radius, float divisor);

// Closest point to p on the segment a-b (a for a segment without length).
D3DXVECTOR3 ClosestOnSegment(const D3DXVECTOR3& p, const D3DXVECTOR3& a, const D3DXVECTOR3& b);

// Closest pair of the segments p0 + s d0 and p1 + t d1, s and t in [0, 1].
struct SegmentPair {
  float distanceSquared;
  float s, t;
};
// Parallel segments (|(d0.d0)(d1.d1) - (d0.d1)^2| below 0.00001) and
// segments without length are answered too.
SegmentPair ClosestSegmentPair(const D3DXVECTOR3& p0, const D3DXVECTOR3& d0, const D3DXVECTOR3& p1,
                               const D3DXVECTOR3& d1);
float SegmentDistance(const D3DXVECTOR3& p0, const D3DXVECTOR3& d0, const D3DXVECTOR3& p1,
                      const D3DXVECTOR3& d1);

// When p lies on the front side of the triangle a, b, c (counter-clockwise
// seen from the front) and its foot on the plane falls inside, *offset =
// p - foot and the answer is true. Triangles without area answer false.
bool TriangleOffset(const D3DXVECTOR3& p, const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c,
                    D3DXVECTOR3* offset);

struct BoundingSphere {
  D3DXVECTOR3 centre;
  float radius;
};
// A capsule with world ends a, b and model radius r on a structure of
// scale s: the midpoint, half the length plus the scaled radius.
BoundingSphere CapsuleBounds(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float r, float s);
// A triangle of world corners: the centroid, reaching the farthest corner.
BoundingSphere TriangleBounds(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c);
