// The field decisions: band edges of the floor, ceiling and shape pushes,
// closest pairs of segments, triangles seen from a point, body and coral
// pushes, and the wave function against values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "collision/CollisionMath.h"
#include "seaface/EvaluateWaves.h"

namespace {

void ExpectVec(const D3DXVECTOR3& v, float x, float y, float z, float tolerance = 1e-4f) {
  EXPECT_NEAR(v.x, x, tolerance);
  EXPECT_NEAR(v.y, y, tolerance);
  EXPECT_NEAR(v.z, z, tolerance);
}

bool Finite(const D3DXVECTOR3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

TEST(CollisionBands, FloorAndCeilingFadeAcrossTheBand) {
  struct Case {
    float y, radius, band, push;
  };
  // Floor at -9.7: full at the floor (the asker's bottom touching it),
  // half a band up half, a band up none; band 0 is the default 2.
  const Case floor[] = {{-9.7f, 0, 0, 50}, {-10.5f, 0, 0, 50}, {-8.7f, 0, 0, 25}, {-7.7f, 0, 0, 0},
                        {-6.7f, 0, 0, 0},  {-8.7f, 1, 0, 50},  {-7.7f, 0, 4, 25}, {-8.7f, 0, -3, 25}};
  for (const Case& c : floor)
    ExpectVec(FloorForce(-9.7f, c.y, c.radius, c.band), 0, c.push, 0);
  // Where the floor reaches above 0 it gives nothing, even inside it.
  ExpectVec(FloorForce(0.3f, -5.0f, 0, 0), 0, 0, 0);
  ExpectVec(FloorForce(0.0f, 0.0f, 0, 0), 0, 50, 0);

  // Ceiling: the wave (plus offset) against the asker's top.
  const Case ceiling[] = {{-1.0f, 1, 0, -50}, {0.0f, 0, 0, -50}, {-1.0f, 0, 0, -25}, {-2.0f, 0, 0, 0},
                          {-3.0f, 0, 0, 0},   {-2.0f, 0, 4, -25}};
  for (const Case& c : ceiling)
    ExpectVec(CeilingForce(0.0f, 0.0f, c.y, c.radius, c.band), 0, c.push, 0);
  // The wave and the offset together make the surface.
  ExpectVec(CeilingForce(0.5f, 1.0f, 0.5f, 0, 0), 0, -25, 0);
}

TEST(CollisionBands, ShapePushAlongTheOffset) {
  struct Case {
    float length, r, band, push;
  };
  const Case cases[] = {{2.4f, 2.5f, 2, 50}, {2.5f, 2.5f, 2, 50}, {3.5f, 2.5f, 2, 25}, {4.5f, 2.5f, 2, 0},
                        {4.6f, 2.5f, 2, 0},  {1.0f, 0.0f, 0, 25}, {1.0f, 0.0f, 4, 37.5f}};
  for (const Case& c : cases) {
    const D3DXVECTOR3 d(0.0f, 0.6f * c.length, 0.8f * c.length);
    ExpectVec(PushAway(d, c.r, c.band), 0, 0.6f * c.push, 0.8f * c.push);
  }
  // No direction, no push: never a NaN.
  ExpectVec(PushAway(D3DXVECTOR3(0, 0, 0), 3.0f, 2.0f), 0, 0, 0);
  EXPECT_TRUE(Finite(PushAway(D3DXVECTOR3(0, 0, 0), 0.0f, 0.0f)));
}

TEST(CollisionBands, BodyPushInItsOwnFrame) {
  // Box 6 x 2 x 2.5: units of 2 across x, 2/3 across y, 1 along z.
  const D3DXVECTOR3 lo(-3, -1, -1.25f), hi(3, 1, 1.25f);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  ExpectVec(BodyForce(D3DXVECTOR3(2, 0, 0), lo, hi, identity), 20, 0, 0);   // one unit: full
  ExpectVec(BodyForce(D3DXVECTOR3(3, 0, 0), lo, hi, identity), 10, 0, 0);   // 1.5 units: half
  ExpectVec(BodyForce(D3DXVECTOR3(4, 0, 0), lo, hi, identity), 0, 0, 0);    // two units: none
  ExpectVec(BodyForce(D3DXVECTOR3(0, 0, -1.5f), lo, hi, identity), 0, 0, -10);
  ExpectVec(BodyForce(D3DXVECTOR3(0, -0.5f, 0), lo, hi, identity), 0, -20, 0);
  // The body's rotation carries the push out: a quarter turn about y sends
  // model +x to world -z.
  D3DXMATRIX yaw;
  D3DXMatrixRotationY(&yaw, D3DX_PI / 2);
  ExpectVec(BodyForce(D3DXVECTOR3(3, 0, 0), lo, hi, yaw), 0, 0, -10);
  // The centre and boxes without volume give no push, never a NaN.
  ExpectVec(BodyForce(D3DXVECTOR3(0, 0, 0), lo, hi, identity), 0, 0, 0);
  ExpectVec(BodyForce(D3DXVECTOR3(0.1f, 0, 0), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 0), identity), 0, 0, 0);
  ExpectVec(BodyForce(D3DXVECTOR3(0.1f, 0, 0), D3DXVECTOR3(-1, 0, -1), D3DXVECTOR3(1, 0, 1), identity), 0, 0, 0);
}

TEST(CollisionBands, ColonyPushIsCappedByTheDistanceFloor) {
  ExpectVec(ColonyForce(D3DXVECTOR3(0, 0.05f, 0), 0, 1), 0, 10, 0);
  ExpectVec(ColonyForce(D3DXVECTOR3(0, 0, 2.5f), 0.5f, 1), 0, 0, 0.5f);
  ExpectVec(ColonyForce(D3DXVECTOR3(3, 0, 0), 3.0f, 2), 5, 0, 0);  // within the radius: the floor
  ExpectVec(ColonyForce(D3DXVECTOR3(0, 0, 0), 0, 1), 0, 0, 0);
  ExpectVec(ColonyForce(D3DXVECTOR3(1, 0, 0), 0, 0), 0, 0, 0);
}

TEST(SegmentDistance, CrossingSkewParallelAndPointSegments) {
  struct Case {
    D3DXVECTOR3 p0, d0, p1, d1;
    float distance, s, t;
  };
  const Case cases[] = {
      // Crossing in the interior.
      {{-1, 0, 0}, {2, 0, 0}, {0, -1, 0}, {0, 2, 0}, 0.0f, 0.5f, 0.5f},
      // Skew, one above the other.
      {{-1, 0, 0}, {2, 0, 0}, {0, -1, 3}, {0, 2, 0}, 3.0f, 0.5f, 0.5f},
      // The interior minimum lies off the square: an end against an edge.
      {{0, 0, 0}, {1, 0, 0}, {3, -1, 0}, {0, 2, 0}, 2.0f, 1.0f, 0.5f},
      // Corner to corner.
      {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {1, 1, 0}, std::sqrt(2.0f), 1.0f, 0.0f},
      // Parallel, overlapping: the gap between the lines.
      {{0, 0, 0}, {2, 0, 0}, {1, 1, 0}, {2, 0, 0}, 1.0f, 0.5f, 0.0f},
      // Parallel, apart along the line.
      {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {1, 0, 0}, std::sqrt(2.0f), 1.0f, 0.0f},
      // Opposed directions, apart.
      {{0, 0, 0}, {1, 0, 0}, {3, 1, 0}, {-1, 0, 0}, std::sqrt(2.0f), 1.0f, 1.0f},
      // A point against a segment, and two points.
      {{0, 2, 0}, {0, 0, 0}, {-1, 0, 0}, {2, 0, 0}, 2.0f, 0.0f, 0.5f},
      {{0, 0, 0}, {0, 0, 0}, {0, 3, 4}, {0, 0, 0}, 5.0f, 0.0f, 0.0f},
  };
  for (const Case& c : cases) {
    const SegmentPair pair = ClosestSegmentPair(c.p0, c.d0, c.p1, c.d1);
    EXPECT_NEAR(std::sqrt(pair.distanceSquared), c.distance, 1e-5f);
    EXPECT_NEAR(SegmentDistance(c.p0, c.d0, c.p1, c.d1), c.distance, 1e-5f);
    // Parallel pairs have many closest pairs; the parameters found must
    // still give the distance.
    const D3DXVECTOR3 gap = (c.p0 + c.d0 * pair.s) - (c.p1 + c.d1 * pair.t);
    EXPECT_NEAR(D3DXVec3Length(&gap), c.distance, 1e-5f);
    EXPECT_GE(pair.s, 0.0f);
    EXPECT_LE(pair.s, 1.0f);
    EXPECT_GE(pair.t, 0.0f);
    EXPECT_LE(pair.t, 1.0f);
    if (D3DXVec3Length(&c.d0) * D3DXVec3Length(&c.d1) > 0.0f) {
      D3DXVECTOR3 cross;
      D3DXVec3Cross(&cross, &c.d0, &c.d1);
      if (D3DXVec3Length(&cross) > 0.0f) {
        EXPECT_NEAR(pair.s, c.s, 1e-5f);
        EXPECT_NEAR(pair.t, c.t, 1e-5f);
      }
    }
  }
}

TEST(TriangleOffset, FrontSideOverTheFaceOnly) {
  // Faces up (the cross product of the first two edges is +y).
  const D3DXVECTOR3 a(0, 0, 0), b(0, 0, 4), c(4, 0, 0);
  D3DXVECTOR3 d;
  ASSERT_TRUE(TriangleOffset(D3DXVECTOR3(1, 2, 1), a, b, c, &d));
  ExpectVec(d, 0, 2, 0);
  EXPECT_FALSE(TriangleOffset(D3DXVECTOR3(1, -2, 1), a, b, c, &d));  // behind
  EXPECT_FALSE(TriangleOffset(D3DXVECTOR3(3, 1, 3), a, b, c, &d));   // beside the face
  EXPECT_FALSE(TriangleOffset(D3DXVECTOR3(-1, 1, 1), a, b, c, &d));
  EXPECT_TRUE(TriangleOffset(D3DXVECTOR3(1.9f, 1, 2), a, b, c, &d));  // near the long edge
  // Without area there is no face to stand over.
  EXPECT_FALSE(TriangleOffset(D3DXVECTOR3(1, 1, 0), a, D3DXVECTOR3(2, 0, 0), c, &d));
  EXPECT_FALSE(TriangleOffset(D3DXVECTOR3(1, 1, 0), a, a, a, &d));
}

TEST(EvaluateWaves, AgainstHandWorkedValues) {
  // Three sines of the phases t f 2pi + x / divX + z / divZ (rows 5, 5, 0.1,
  // 2 / 4.8, 4.8, 0.2, 1 / 1, 2, 0.4, 0.5), damped by 1 / (0.1 r + 1).
  struct Case {
    float x, z, t, height;
  };
  const Case cases[] = {
      {0, 0, 0, 0.0f},           // every phase 0
      {0, 0, 2.5f, 2.0f},        // phases pi/2, pi, 2pi: the first row's crest alone
      {6, 8, 0, 0.3105000f},     // (2 sin 2.8 + sin(14/4.8) + 0.5 sin 10) / 2
      {3, -4, 1.25f, 1.1084694f},
  };
  for (const Case& c : cases) {
    SurfaceVertex v = {c.x, 1.0f, c.z, 0, 0, 0, 0.25f, 0.5f};
    EXPECT_NEAR(EvaluateWaves(&v, c.t, 0, nullptr), c.height, 2e-5f) << c.x << "," << c.z << " t " << c.t;
    EXPECT_NEAR(v.y, 1.0f + c.height, 2e-5f);
    EXPECT_EQ(v.u, 0.25f);  // no texture animation asked
    EXPECT_EQ(v.v, 0.5f);
    EXPECT_NEAR(WaveHeight(c.x, c.z, c.t), c.height, 2e-5f);
  }
}

TEST(EvaluateWaves, TextureDriftAndNormal) {
  // At the first row's crest: v gains 0.06 (2 x 0.03), u three times
  // sin(2.5 / 30) plus 0.06; the slopes of rows two and three cancel.
  SurfaceVertex v = {0, 0, 0, 0, 0, 0, 0, 0};
  D3DXVECTOR3 n;
  EvaluateWaves(&v, 2.5f, 1, &n);
  EXPECT_NEAR(v.v, 0.06f, 1e-5f);
  EXPECT_NEAR(v.u, 0.3097108f, 1e-5f);
  ExpectVec(n, 0, 1, 0, 1e-5f);
  // At t = 0 in the origin every row slopes by 2pi a f = 0.4pi: the normal
  // is (-1.2pi, 3, -1.2pi) normalised.
  SurfaceVertex o = {0, 0, 0, 0, 0, 0, 0, 0};
  EvaluateWaves(&o, 0.0f, 0, &n);
  ExpectVec(n, -0.6162449f, 0.4903921f, -0.6162449f, 1e-5f);
  // Away from the origin the slopes are damped like the height.
  SurfaceVertex away = {6, 0, 8, 0, 0, 0, 0, 0};
  EvaluateWaves(&away, 0.0f, 1, &n);
  ExpectVec(n, 0.4471610f, 0.7746574f, 0.4471610f, 1e-5f);
  EXPECT_NEAR(away.u, 0.01863f, 1e-5f);
  EXPECT_NEAR(away.v, 0.01863f, 1e-5f);
}
