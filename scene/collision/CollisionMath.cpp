#include "CollisionMath.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kParallel = 0.00001f;
constexpr float kTriangleDeterminant = 0.0001f;
// Below this squared length a segment is a point.
constexpr float kNoLength = 1e-12f;

float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  D3DXVECTOR3 c;
  D3DXVec3Cross(&c, &a, &b);
  return c;
}

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return D3DXVec3Dot(&a, &b); }
float Length(const D3DXVECTOR3& v) { return D3DXVec3Length(&v); }

const D3DXVECTOR3 kNoForce(0.0f, 0.0f, 0.0f);

}  // namespace

float CollisionBand(float band) { return band > 0.0f && std::isfinite(band) ? band : kDefaultCollisionBand; }

float BandStrength(float depth, float band) { return Clamp01(1.0f - depth / band); }

D3DXVECTOR3 CeilingForce(float wave, float offset, float y, float radius, float band) {
  const float t = BandStrength((wave + offset) - (radius + y), CollisionBand(band));
  return D3DXVECTOR3(0.0f, -kFieldPush * t, 0.0f);
}

D3DXVECTOR3 FloorForce(float floor, float y, float radius, float band) {
  if (floor > 0.0f) return kNoForce;
  const float t = BandStrength(y - radius - floor, CollisionBand(band));
  return D3DXVECTOR3(0.0f, kFieldPush * t, 0.0f);
}

D3DXVECTOR3 PushAway(const D3DXVECTOR3& d, float r, float band) {
  band = CollisionBand(band);
  const float length = Length(d);
  if (!(length > 0.0f) || !std::isfinite(length)) return kNoForce;
  float magnitude;
  if (length < r)
    magnitude = kFieldPush;
  else if (length > r + band)
    return kNoForce;
  else
    magnitude = kFieldPush * BandStrength(length - r, band);
  return d * (magnitude / length);
}

D3DXVECTOR3 BodyForce(const D3DXVECTOR3& local, const D3DXVECTOR3& boxMin, const D3DXVECTOR3& boxMax,
                      const D3DXMATRIX& rotation) {
  const D3DXVECTOR3 extent = boxMax - boxMin;
  if (!(extent.x > 0.0f && extent.y > 0.0f && extent.z > 0.0f)) return kNoForce;
  const D3DXVECTOR3 q(local.x / (extent.x / 3.0f), local.y / (extent.y / 3.0f), local.z / (extent.z * 0.4f));
  const float size = Length(q);
  const float f = Clamp01(1.0f - (size - 1.0f));
  if (!(size > 0.0f) || !(f > 0.0f)) return kNoForce;
  D3DXVECTOR3 direction = q / size;
  direction.x /= extent.x;
  D3DXVECTOR3 turned;
  D3DXVec3TransformNormal(&turned, &direction, &rotation);
  const float length = Length(turned);
  if (!(length > 0.0f) || !std::isfinite(length)) return kNoForce;
  return turned * (kBodyPush * f / length);
}

D3DXVECTOR3 ColonyForce(const D3DXVECTOR3& d, float radius, float divisor) {
  const float length = Length(d);
  if (!(length > 0.0f) || !std::isfinite(length) || !(divisor > 0.0f)) return kNoForce;
  const float m = std::max(length - radius, kColonyNearest);
  return d / length / m / divisor;
}

D3DXVECTOR3 ClosestOnSegment(const D3DXVECTOR3& p, const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 ab = b - a;
  const float lengthSquared = Dot(ab, ab);
  if (!(lengthSquared > kNoLength)) return a;
  const float c = Dot(p - a, ab) / lengthSquared;
  if (c < 0.0f) return a;
  if (c > 1.0f) return b;
  return a + ab * c;
}

// The minimum of |p0 + s d0 - p1 - t d1|^2 over the unit square: the
// interior minimum when it lies inside, else the best point of the edge it
// falls off (a convex function: clamping s, solving t, then clamping t and
// solving s again reaches it).
SegmentPair ClosestSegmentPair(const D3DXVECTOR3& p0, const D3DXVECTOR3& d0, const D3DXVECTOR3& p1,
                               const D3DXVECTOR3& d1) {
  const D3DXVECTOR3 r = p0 - p1;
  const float a = Dot(d0, d0), e = Dot(d1, d1), b = Dot(d0, d1);
  const float c = Dot(d0, r), f = Dot(d1, r);
  float s = 0.0f, t = 0.0f;
  if (a <= kNoLength && e <= kNoLength) {
    // Two points.
  } else if (a <= kNoLength) {
    t = Clamp01(f / e);
  } else if (e <= kNoLength) {
    s = Clamp01(-c / a);
  } else {
    const float det = a * e - b * b;
    // Parallel segments: every s gives the same distance to the other line,
    // so start from the first segment's start.
    s = std::fabs(det) < kParallel ? 0.0f : Clamp01((b * f - c * e) / det);
    t = (b * s + f) / e;
    if (t < 0.0f) {
      t = 0.0f;
      s = Clamp01(-c / a);
    } else if (t > 1.0f) {
      t = 1.0f;
      s = Clamp01((b - c) / a);
    }
  }
  const D3DXVECTOR3 gap = (p0 + d0 * s) - (p1 + d1 * t);
  return SegmentPair{std::fabs(Dot(gap, gap)), s, t};
}

float SegmentDistance(const D3DXVECTOR3& p0, const D3DXVECTOR3& d0, const D3DXVECTOR3& p1,
                      const D3DXVECTOR3& d1) {
  return std::sqrt(ClosestSegmentPair(p0, d0, p1, d1).distanceSquared);
}

bool TriangleOffset(const D3DXVECTOR3& p, const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c,
                    D3DXVECTOR3* offset) {
  const D3DXVECTOR3 e1 = b - a, e2 = c - a;
  const D3DXVECTOR3 cross = Cross(e1, e2);
  const float area = Length(cross);
  if (!(area > 0.0f) || !std::isfinite(area)) return false;
  const D3DXVECTOR3 n = cross / area;
  const D3DXVECTOR3 fromA = p - a;
  const float height = Dot(fromA, n);
  if (!(height > 0.0f)) return false;
  // Down the normal from p, without dividing by the determinant.
  const D3DXVECTOR3 down = -n;
  const D3DXVECTOR3 pv = Cross(down, e2);
  const float det = Dot(e1, pv);
  if (det < kTriangleDeterminant) return false;
  const float u = Dot(fromA, pv);
  if (u < 0.0f || u > det) return false;
  const D3DXVECTOR3 qv = Cross(fromA, e1);
  const float v = Dot(down, qv);
  if (v < 0.0f || u + v > det) return false;
  if (offset) *offset = n * height;
  return true;
}

BoundingSphere CapsuleBounds(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float r, float s) {
  return BoundingSphere{(a + b) * 0.5f, Length(b - a) * 0.5f + std::fabs(r * s)};
}

BoundingSphere TriangleBounds(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c) {
  const D3DXVECTOR3 centre = (a + b + c) / 3.0f;
  const float reach = std::max({Length(a - centre), Length(b - centre), Length(c - centre)});
  return BoundingSphere{centre, reach};
}
