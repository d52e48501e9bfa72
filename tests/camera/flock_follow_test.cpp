// The camera's own course after the flocks, without a device: a scripted
// scene of flocks, a sloping floor, a flat ceiling and a solid sphere.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "camera/FlockFollow.h"
#include "world/C3Object.h"

namespace {

using F = FlockFollow;

class FakeScene : public FlockFollow::Scene {
 public:
  int FlockCount() const override { return static_cast<int>(flocks.size()); }
  int FlockSize(int flock) const override { return static_cast<int>(flocks[flock].size()); }
  const C3Object* Member(int flock, int member) const override { return flocks[flock][member]; }
  float FloorAt(float x, float) const override { return -30.0f + 8.0f * std::sin(x / 20.0f); }
  float CeilingAt(float, float) const override { return 0.0f; }
  D3DXVECTOR3 PushAt(const D3DXVECTOR3& p) const override {
    // Full push of 50 within the sphere, fading over 3 units.
    const D3DXVECTOR3 d = p - sphere;
    const float r = D3DXVec3Length(&d);
    if (r < 1e-4f || r > sphereRadius + 3.0f) return D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    return d / r * (50.0f * std::fmin(1.0f, (sphereRadius + 3.0f - r) / 3.0f));
  }
  // A course from `from` after the one fish of a one-flock scene.
  C3Object* FollowOne(F* follow, float x, float y, float z, const D3DXVECTOR3& from) {
    C3Object* fish = Fish(x, y, z);
    flocks = {{fish}};
    follow->Place(from);
    follow->NextFlock(*this);
    return fish;
  }
  C3Object* Fish(float x, float y, float z, bool hidden = false) {
    fish.push_back(std::make_unique<C3Object>());
    fish.back()->position = D3DXVECTOR3(x, y, z);
    if (hidden) fish.back()->flags |= kObjAlwaysCulled;
    return fish.back().get();
  }

  std::vector<std::vector<C3Object*>> flocks;
  std::vector<std::unique_ptr<C3Object>> fish;
  D3DXVECTOR3 sphere{1000.0f, 0.0f, 0.0f};
  float sphereRadius = 0.0f;
};

float Length(const D3DXVECTOR3& v) { return D3DXVec3Length(&v); }

float Angle(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const float c = D3DXVec3Dot(&a, &b) / (D3DXVec3Length(&a) * D3DXVec3Length(&b));
  return std::acos(std::fmin(std::fmax(c, -1.0f), 1.0f));
}

// A fish that swims a course (turns, a dive to the floor, a sprint, up to
// the surface, a U-turn) with steps of varying length: every step stays
// within the speed, acceleration and turn bounds and in the water, and
// once caught up the camera keeps near its viewing distance.
TEST(FlockFollow, TravelsWithTheFishWithinItsBoundsAndInTheWater) {
  FakeScene scene;
  F follow;
  C3Object* fish = scene.FollowOne(&follow, 40.0f, -12.0f, 30.0f, D3DXVECTOR3(0.0f, -3.0f, -15.0f));
  const float steps[] = {0.016f, 0.27f, 0.05f, 0.9f, 0.1f};
  float t = 0.0f;
  int atDistance = 0, counted = 0;
  for (int i = 0; i < 3000; ++i) {
    const float dt = steps[i % 5];
    t += dt;
    // Circles at 5 units a second, dives, sprints at 18, climbs, turns back.
    const float a = t * 0.1f;
    D3DXVECTOR3 p(40.0f + 30.0f * std::cos(a), -12.0f, 30.0f + 30.0f * std::sin(a));
    if (t > 150.0f && t < 200.0f) p.y = -60.0f;  // below the floor: the camera stops over it
    if (t > 250.0f && t < 300.0f) p = D3DXVECTOR3(18.0f * (t - 250.0f), -20.0f, 0.0f);
    if (t > 300.0f && t < 350.0f) p = D3DXVECTOR3(18.0f * (350.0f - t), 2.0f, 0.0f);  // back, at the surface
    fish->position = p;
    const D3DXVECTOR3 before = follow.Position(), v0 = follow.Velocity();
    follow.Step(scene, dt);
    const D3DXVECTOR3 now = follow.Position(), v1 = follow.Velocity();
    const D3DXVECTOR3 moved = now - before;
    ASSERT_TRUE(std::isfinite(now.x) && std::isfinite(now.y) && std::isfinite(now.z)) << t;
    const float floor = scene.FloorAt(now.x, now.z) + F::kFloorMargin;
    ASSERT_GE(now.y, floor - 1e-3f) << t;
    ASSERT_LE(now.y, -F::kCeilingMargin + 1e-3f) << t;
    // The floor's slope (at most 0.4) may lift the camera beyond its speed.
    EXPECT_LE(D3DXVec3Length(&moved), F::kMaxSpeed * dt * 1.001f + 0.5f * F::kMaxSpeed * dt) << t;
    EXPECT_LE(D3DXVec3Length(&v1), F::kMaxSpeed * 1.001f) << t;
    EXPECT_LE(std::fabs(D3DXVec3Length(&v1) - D3DXVec3Length(&v0)), F::kMaxAcceleration * dt * 1.001f) << t;
    if (D3DXVec3Length(&v0) > 0.01f && D3DXVec3Length(&v1) > 0.01f) {
      EXPECT_LE(Angle(v0, v1), F::kMaxTurn * dt * 1.01f + 1e-3f) << t;
    }
    if (t > 30.0f && t < 150.0f) {
      const D3DXVECTOR3 gap = p - now;
      atDistance += std::fabs(D3DXVec3Length(&gap) - F::kViewDistance) < 3.0f;
      ++counted;
    }
  }
  EXPECT_GT(atDistance, counted * 9 / 10);
}

TEST(FlockFollow, KeepsOutOfASolidShapeInItsWay) {
  FakeScene scene;
  scene.sphere = D3DXVECTOR3(0.0f, -15.0f, 20.0f);
  scene.sphereRadius = 4.0f;
  F follow;
  C3Object* fish = scene.FollowOne(&follow, 0.0f, -15.0f, 60.0f, D3DXVECTOR3(0.3f, -15.0f, -20.0f));
  float nearest = 1e9f;
  for (int i = 0; i < 400; ++i) {
    follow.Step(scene, 0.05f);
    const D3DXVECTOR3 d = follow.Position() - scene.sphere;
    nearest = std::fmin(nearest, D3DXVec3Length(&d));
  }
  EXPECT_GT(nearest, scene.sphereRadius);
  const D3DXVECTOR3 gap = fish->position - follow.Position();
  EXPECT_LT(D3DXVec3Length(&gap), F::kViewDistance + 3.0f);  // and still gets there
}

// A new flock near the camera is approached from further out, from another
// side each time; a flock far off is headed for at once.
TEST(FlockFollow, ApproachesANewFlockFromFurtherOutFromAnotherSideEachTime) {
  FakeScene scene;
  F follow;
  C3Object* fish = scene.FollowOne(&follow, 0.0f, -10.0f, 0.0f, D3DXVECTOR3(0.0f, -10.0f, -60.0f));
  ASSERT_TRUE(follow.HasFish());
  EXPECT_FALSE(follow.SwimmingOut());
  auto gap = [&] { return Length(fish->position - follow.Position()); };
  std::vector<D3DXVECTOR3> outmost;
  for (int turn = 0; turn < 3; ++turn) {
    float nearest = 1e9f;
    for (int i = 0; i < 200; ++i) {
      follow.Step(scene, 0.1f);
      nearest = std::fmin(nearest, gap());
    }
    EXPECT_LT(nearest, F::kViewDistance + 1.0f) << turn;
    ASSERT_TRUE(follow.NextFlock(scene));
    ASSERT_TRUE(follow.SwimmingOut());
    D3DXVECTOR3 out = follow.Position();
    for (int i = 0; i < 200 && follow.SwimmingOut(); ++i) {
      follow.Step(scene, 0.1f);
      if (gap() > Length(fish->position - out)) out = follow.Position();
    }
    EXPECT_FALSE(follow.SwimmingOut());
    EXPECT_GT(Length(fish->position - out), 0.8f * F::kApproachDistance) << turn;
    for (const D3DXVECTOR3& earlier : outmost) EXPECT_GT(Length(out - earlier), F::kApproachDistance) << turn;
    outmost.push_back(out);
  }
}

// Flocks in turn: empty flocks and flocks of hidden carriers are passed
// over; the fish taken is the flock's last one that is not hidden.
TEST(FlockFollow, TakesTheFlocksInTurnPassingOverThoseWithoutAFish) {
  FakeScene scene;
  C3Object* a = scene.Fish(0, -10, 0);
  C3Object* b1 = scene.Fish(10, -10, 0);
  C3Object* c = scene.Fish(20, -10, 0);
  scene.flocks = {{a}, {}, {scene.Fish(5, -10, 0, true)}, {b1, scene.Fish(9, -10, 0, true)}, {c}};
  F follow;
  const struct {
    int flock;
    const C3Object* fish;
  } turns[] = {{0, a}, {3, b1}, {4, c}, {0, a}, {3, b1}};
  for (const auto& turn : turns) {
    ASSERT_TRUE(follow.NextFlock(scene));
    EXPECT_EQ(follow.Flock(), turn.flock);
    EXPECT_EQ(follow.Fish(), turn.fish);
  }
}

// A followed fish that leaves its flock or is hidden gives way to another
// of its flock, then of the next flock; with none left the camera stays.
TEST(FlockFollow, AFishThatGoesIsReplacedAndWithNoneLeftTheCameraStays) {
  FakeScene scene;
  C3Object* a1 = scene.Fish(0, -10, 0);
  C3Object* a2 = scene.Fish(2, -10, 0);
  C3Object* b = scene.Fish(30, -10, 0);
  scene.flocks = {{a1, a2}, {b}};
  F follow;
  ASSERT_TRUE(follow.NextFlock(scene));
  EXPECT_EQ(follow.Fish(), a2);
  a2->flags |= kObjAlwaysCulled;
  follow.Step(scene, 0.1f);
  EXPECT_EQ(follow.Fish(), a1);
  scene.flocks[0].clear();
  follow.Step(scene, 0.1f);
  EXPECT_EQ(follow.Fish(), b);
  scene.flocks.clear();
  const D3DXVECTOR3 at = follow.Position();
  follow.Step(scene, 0.1f);
  EXPECT_FALSE(follow.HasFish());
  EXPECT_EQ(follow.Position(), at);
}

TEST(FlockFollow, WithoutFishOrWithBadStepsItStaysPutAndFinite) {
  const float kNaN = std::numeric_limits<float>::quiet_NaN();
  FakeScene none, empty, lost;
  empty.flocks = {{}, {}};
  lost.flocks = {{lost.Fish(kNaN, 0, 0)}};
  for (FakeScene* scene : {&none, &empty, &lost}) {
    F follow;
    const D3DXVECTOR3 start(1.0f, -5.0f, 2.0f);
    follow.Place(start);
    follow.NextFlock(*scene);
    for (float dt : {0.1f, 0.0f, -1.0f, kNaN, 1e9f}) EXPECT_EQ(follow.Step(*scene, dt), start);
  }
  EXPECT_FALSE(F().NextFlock(none));
  EXPECT_FALSE(F().NextFlock(empty));
}

}  // namespace
