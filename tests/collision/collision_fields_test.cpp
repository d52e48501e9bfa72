// The collision fields as scene objects: the server's sum and its clearance
// product, neutral answers without what a field refers to, the wave ceiling
// over the floor's centre, a body that leaves itself out, and the shapes of
// a sunken structure placed by its world matrix.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "collision/X1CollisionServer.h"
#include "collision/X1HeightCollision.h"
#include "collision/X1TerrainCollision.h"
#include "collision/X2FishCollision.h"
#include "collision/X6FileCollision.h"
#include "collision/X7CoralCollision.h"
#include "world/C3Move.h"

namespace {

void ExpectVec(const D3DXVECTOR3& v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, 1e-4f);
  EXPECT_NEAR(v.y, y, 1e-4f);
  EXPECT_NEAR(v.z, z, 1e-4f);
}

D3DXVECTOR3 Force(X1Collision& field, const D3DXVECTOR3& at, const C3Object* asker = nullptr, float radius = 0,
                  float band = 0) {
  D3DXVECTOR3 out(9, 9, 9);
  EXPECT_EQ(field.GetForce(&out, at, asker, radius, band), &out);
  return out;
}

// A field with a fixed answer that counts the questions.
class FixedField : public X1Collision {
 public:
  FixedField(const D3DXVECTOR3& f, float c) : force(f), clearance(c) {}
  D3DXVECTOR3* GetForce(D3DXVECTOR3* out, const D3DXVECTOR3&, const C3Object* asker, float radius,
                        float band) override {
    lastAsker = asker;
    lastRadius = radius;
    lastBand = band;
    *out = force;
    return out;
  }
  float GetClearance(const D3DXVECTOR3&, const D3DXVECTOR3&) override {
    ++asked;
    return clearance;
  }
  D3DXVECTOR3 force;
  float clearance;
  int asked = 0;
  const C3Object* lastAsker = nullptr;
  float lastRadius = -1, lastBand = -1;
};

// An object placed as the frame move places it.
void Place(C3Move& object, const D3DXVECTOR3& at, float yaw, float scale) {
  object.position = at;
  object.rotY = yaw;
  object.scale = scale;
  object.ComposeWorldMatrix(0.0f, 0.0f);
}

}  // namespace

TEST(X1CollisionServer, SumsForcesAndStopsTheClearanceAtTheFirstZero) {
  X1CollisionServer server;
  EXPECT_STREQ(server.className, "X1CollisionServer");
  D3DXVECTOR3 out(9, 9, 9);
  ExpectVec(*server.GetForce(&out, D3DXVECTOR3(1, 2, 3), nullptr, 0, 0), 0, 0, 0);
  EXPECT_EQ(server.GetClearance(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0)), 1.0f);

  FixedField half(D3DXVECTOR3(1, 2, 3), 0.5f), blocked(D3DXVECTOR3(-4, 0, 1), 0.0f),
      later(D3DXVECTOR3(0, 10, 0), 0.5f);
  server.AddCollision(&half);
  server.AddCollision(&blocked);
  server.AddCollision(&later);
  server.AddCollision(nullptr);
  EXPECT_EQ(server.FieldCount(), 3);
  C3Object asker;
  ExpectVec(*server.GetForce(&out, D3DXVECTOR3(1, 2, 3), &asker, 1.5f, 3.0f), -3, 12, 4);
  EXPECT_EQ(later.lastAsker, &asker);
  EXPECT_EQ(later.lastRadius, 1.5f);
  EXPECT_EQ(later.lastBand, 3.0f);

  EXPECT_EQ(server.GetClearance(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0)), 0.0f);
  EXPECT_EQ(half.asked, 1);
  EXPECT_EQ(blocked.asked, 1);
  EXPECT_EQ(later.asked, 0);  // never asked once the product is 0

  blocked.clearance = 1.0f;
  EXPECT_FLOAT_EQ(server.GetClearance(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0)), 0.25f);
  EXPECT_EQ(later.asked, 1);

  // Device passes leave the list alone.
  server.DeleteDeviceObjects();
  EXPECT_EQ(server.FieldCount(), 3);
}

TEST(CollisionFields, MissingPartsAnswerNeutrally) {
  X1TerrainCollision floor(nullptr);
  X7CoralCollision coral;
  X2FishCollision body(nullptr);
  X6FileCollision structure(nullptr, nullptr);
  for (X1Collision* f : std::vector<X1Collision*>{&floor, &coral, &body, &structure}) {
    ExpectVec(Force(*f, D3DXVECTOR3(0, -30, 0)), 0, 0, 0);
    EXPECT_EQ(f->GetClearance(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0)), 1.0f);
  }
}

TEST(CollisionFields, CeilingFollowsTheWavesOverTheFloorCentre) {
  // No world: the waves stand at time 0, flat over the centre and 0.3105
  // high ten units from it.
  C3Move centre;
  centre.position = D3DXVECTOR3(6, -28, 8);
  X1HeightCollision ceiling(0.0f, &centre);
  ExpectVec(Force(ceiling, D3DXVECTOR3(6, -1, 8), nullptr, 1.0f), 0, -50, 0);
  ExpectVec(Force(ceiling, D3DXVECTOR3(12, 0.3105f - 1.0f, 16)), 0, -25, 0);
  // The surface offset lifts the ceiling.
  X1HeightCollision raised(1.0f, &centre);
  ExpectVec(Force(raised, D3DXVECTOR3(6, 0, 8)), 0, -25, 0);
}

TEST(CollisionFields, BodyPushesOthersNotItself) {
  C3Move fish;
  fish.boxMin = D3DXVECTOR3(-3, -1, -1.25f);
  fish.boxMax = D3DXVECTOR3(3, 1, 1.25f);
  Place(fish, D3DXVECTOR3(10, 0, 0), D3DX_PI / 2, 1.0f);
  X2FishCollision field(&fish);
  // Model +x lies along world -z after the quarter turn.
  ExpectVec(Force(field, D3DXVECTOR3(10, 0, -3)), 0, 0, -10);
  ExpectVec(Force(field, D3DXVECTOR3(10, 0, -3), &fish), 0, 0, 0);
  // Scaled twice: the same push twice as far out.
  Place(fish, D3DXVECTOR3(10, 0, 0), D3DX_PI / 2, 2.0f);
  ExpectVec(Force(field, D3DXVECTOR3(10, 0, -6)), 0, 0, -10);
  // A body that cannot be inverted (scale 0) pushes nothing.
  Place(fish, D3DXVECTOR3(10, 0, 0), 0, 0.0f);
  ExpectVec(Force(field, D3DXVECTOR3(10, 0, 1)), 0, 0, 0);
}

TEST(CollisionFields, BodyAndFieldMayGoInEitherOrder) {
  // Both orders with real fish and freed blocks kept: collision_host_tests.
  C3Move fish;
  X2FishCollision* link = nullptr;
  {
    X2FishCollision field(&fish);
    link = &field;
    field.LinkBack(&link);
  }
  EXPECT_EQ(link, nullptr) << "the field went first";
  X2FishCollision field(&fish);
  field.DetachBody();
  ExpectVec(Force(field, D3DXVECTOR3(0, 0, 0)), 0, 0, 0);
}

namespace {

// One shape of each kind, in the structure's model space.
const X6CollisionCapsule kCapsules[] = {{{0, 0, 0}, {0, 0, 5}, 1.0f}};
const X6CollisionSphere kSpheres[] = {{{10, 0, 0}, 1.0f}};
// Faces up: a right triangle with legs of 4 at height 5.
const X6CollisionTriangle kTriangles[] = {{{{-10, 5, -10}, {-10, 5, -6}, {-6, 5, -10}}}};
const X6CollisionShapes kShapes = {kCapsules, 1, kSpheres, 1, kTriangles, 1};

}  // namespace

TEST(X6FileCollision, ShapesPlacedByTheStructure) {
  C3Move wreck;
  Place(wreck, D3DXVECTOR3(0, -20, 0), 0, 2.0f);
  X6FileCollision field(&kShapes, &wreck);
  ASSERT_EQ(field.capsuleBounds.size(), 1u);
  ASSERT_EQ(field.sphereBounds.size(), 1u);
  ASSERT_EQ(field.triangleBounds.size(), 1u);
  // Capsule: axis (0,-20,0)..(0,-20,10), radius 2 once scaled, reached by
  // its bounding sphere.
  ExpectVec(field.capsuleBounds[0].centre, 0, -20, 5);
  EXPECT_FLOAT_EQ(field.capsuleBounds[0].radius, 7.0f);
  ExpectVec(field.sphereBounds[0].centre, 20, -20, 0);
  EXPECT_FLOAT_EQ(field.sphereBounds[0].radius, 2.0f);
  // Legs of 8 once scaled: the far corners lie 8 sqrt(5) / 3 from the centroid.
  EXPECT_NEAR(field.triangleBounds[0].radius, 8.0f * std::sqrt(5.0f) / 3.0f, 1e-4f);

  // Capsule: exactly 50 within its scaled radius plus the asker's, then the
  // band; the push points away from the axis.
  ExpectVec(Force(field, D3DXVECTOR3(2.5f, -20, 5), nullptr, 0.5f), 50, 0, 0);
  ExpectVec(Force(field, D3DXVECTOR3(0, -22.4f, 5), nullptr, 0.5f), 0, -50, 0);
  ExpectVec(Force(field, D3DXVECTOR3(3.5f, -20, 5), nullptr, 0.5f), 25, 0, 0);
  ExpectVec(Force(field, D3DXVECTOR3(4.5f, -20, 5), nullptr, 0.5f), 0, 0, 0);
  // Beyond an end the push comes from the end.
  ExpectVec(Force(field, D3DXVECTOR3(0, -20, 13)), 0, 0, 25);
  // Sphere: radius 2 once scaled.
  ExpectVec(Force(field, D3DXVECTOR3(23, -20, 0)), 25, 0, 0);
  ExpectVec(Force(field, D3DXVECTOR3(20, -18.5f, 0)), 0, 50, 0);
  // Triangle (legs of 8 from (-20, -10, -20)): pushes up over its face only.
  ExpectVec(Force(field, D3DXVECTOR3(-18, -9, -18)), 0, 25, 0);
  ExpectVec(Force(field, D3DXVECTOR3(-18, -11, -18)), 0, 0, 0);
  ExpectVec(Force(field, D3DXVECTOR3(-13, -9, -13)), 0, 0, 0);
  // Far away nothing is asked for.
  ExpectVec(Force(field, D3DXVECTOR3(60, 0, 60)), 0, 0, 0);
}

TEST(X6FileCollision, CapsulesBlockSegmentsUnlessFarCulled) {
  C3Move wreck;
  Place(wreck, D3DXVECTOR3(0, -20, 0), 0, 2.0f);
  X6FileCollision field(&kShapes, &wreck);
  // Through the axis, and one that passes at the scaled radius exactly.
  EXPECT_EQ(field.GetClearance(D3DXVECTOR3(5, -20, 5), D3DXVECTOR3(-10, 0, 0)), 0.0f);
  EXPECT_EQ(field.GetClearance(D3DXVECTOR3(2, -25, 5), D3DXVECTOR3(0, 10, 0)), 0.0f);
  EXPECT_EQ(field.GetClearance(D3DXVECTOR3(2.1f, -25, 5), D3DXVECTOR3(0, 10, 0)), 1.0f);
  // Too short to reach it, and parallel beside it.
  EXPECT_EQ(field.GetClearance(D3DXVECTOR3(5, -20, 5), D3DXVECTOR3(1, 0, 0)), 1.0f);
  EXPECT_EQ(field.GetClearance(D3DXVECTOR3(3, -20, 0), D3DXVECTOR3(0, 0, 10)), 1.0f);
  EXPECT_EQ(field.GetClearance(D3DXVECTOR3(1.5f, -20, -4), D3DXVECTOR3(0, 0, 20)), 0.0f);
  // Spheres and triangles never block.
  EXPECT_EQ(field.GetClearance(D3DXVECTOR3(15, -20, 0), D3DXVECTOR3(10, 0, 0)), 1.0f);

  wreck.farCulled = 1;
  EXPECT_EQ(field.GetClearance(D3DXVECTOR3(5, -20, 5), D3DXVECTOR3(-10, 0, 0)), 1.0f);
  ExpectVec(Force(field, D3DXVECTOR3(2.5f, -20, 5)), 0, 0, 0);
}

TEST(X6FileCollision, CountsWithoutArraysAreNoShapes) {
  const X6CollisionShapes broken = {nullptr, 3, nullptr, 2, nullptr, 1};
  C3Move wreck;
  Place(wreck, D3DXVECTOR3(0, 0, 0), 0, 1.0f);
  X6FileCollision field(&broken, &wreck);
  EXPECT_TRUE(field.capsuleBounds.empty() && field.sphereBounds.empty() && field.triangleBounds.empty());
  ExpectVec(Force(field, D3DXVECTOR3(0, 0, 0)), 0, 0, 0);
}
