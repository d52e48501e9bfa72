// The flock AI classes stepped against a fake host.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "C4BasicAI.h"
#include "C4FlockController.h"
#include "C4FlyingBar.h"
#include "C4GroupAI.h"
#include "C4PurselAI.h"
#include "FakeHost.h"

using aimath::kPi;
using aimath::Vec3;
using aitest::FakeHost;
using aitest::FakeObject;

namespace {

// Deletes through the object's own slot 0, as the host does.
struct AIDeleter {
  void operator()(X2AIObject* ai) const { ai->Destroy(1); }
};
template <class T>
using AIPtr = std::unique_ptr<T, AIDeleter>;

}  // namespace

TEST(FlockControllerTest, CalmFlockAlternatesModesFromTheRandomNumber) {
  FakeHost host;
  AIPtr<C4FlockController> c(new C4FlockController(X2Host(host.Table()), 0, 0));
  EXPECT_EQ(c->SpeedFactor(), 1.0f);
  // t = 1: burst test (r 0.9: no burst), mode draw 0.31 -> trunc(31) odd -> fast.
  host.randoms = {0.9f, 0.31f};
  c->Step(1.0f, 0.9f, nullptr);
  EXPECT_EQ(c->Mode(), C4FlockController::kHighSpeedWander);
  EXPECT_FLOAT_EQ(c->ModeEnd(), 1.0f + (0.31f + 0.3f) * 45.0f);
  EXPECT_EQ(c->SpeedFactor(), 5.0f);
  // The fast mode never starts a burst and keeps its mode until it ends.
  host.randoms = {};
  host.calls.clear();
  c->Step(20.0f, 19.0f, nullptr);
  EXPECT_EQ(host.CountCalls("Random"), 0);
  // At the end: 0.5 -> 50, even -> slow, for (0.5 + 0.3) x 90 seconds.
  host.randoms = {0.5f};
  c->Step(30.0f, 29.0f, nullptr);
  EXPECT_EQ(c->Mode(), C4FlockController::kLowSpeedWander);
  EXPECT_FLOAT_EQ(c->ModeEnd(), 30.0f + 0.8f * 90.0f);
}

TEST(FlockControllerTest, BurstsGetLikelierWithTimeAndEnd) {
  FakeHost host;
  AIPtr<C4FlockController> c(new C4FlockController(X2Host(host.Table()), 0, 0));
  host.randoms = {0.0f, 0.5f};  // first step: no burst ((1 - 10) x 0.005 < 0); slow mode
  c->Step(1.0f, 0.0f, nullptr);
  ASSERT_EQ(c->Mode(), 0);
  EXPECT_FALSE(c->InBurst());
  // t = 50: (50 - 0 - 10) x 0.005 = 0.2 > 0.1: a burst until 50 + 1 + 0.25.
  host.randoms = {0.1f, 0.25f};
  c->Step(50.0f, 49.0f, nullptr);
  EXPECT_TRUE(c->InBurst());
  EXPECT_FLOAT_EQ(c->BurstEnd(), 51.25f);
  EXPECT_EQ(c->SpeedFactor(), 3.0f);
  c->Step(51.0f, 50.0f, nullptr);
  EXPECT_TRUE(c->InBurst());
  c->Step(51.5f, 51.0f, nullptr);
  EXPECT_FALSE(c->InBurst());
  EXPECT_EQ(c->SpeedFactor(), 1.0f);
  // Right after a burst the chance is back near zero.
  host.randoms = {0.01f};
  c->Step(52.0f, 51.5f, nullptr);
  EXPECT_FALSE(c->InBurst());
}

TEST(FlockControllerTest, LivelyFlockStaysFastWithoutBursts) {
  FakeHost host;
  AIPtr<C4FlockController> c(new C4FlockController(X2Host(host.Table()), 3, 1));
  host.defaultRandom = 0.0f;  // would start a burst in the slow mode
  c->Step(0.5f, 0.0f, nullptr);
  EXPECT_EQ(c->Mode(), 1);
  for (float t = 100.0f; t < 1000.0f; t += 100.0f) {
    c->Step(t, t - 0.1f, nullptr);
    EXPECT_FALSE(c->InBurst());
    EXPECT_EQ(c->SpeedFactor(), 5.0f);
  }
}

class BasicStepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    self = host.NewObject();
    ai.reset(new C4BasicAI(X2Host(host.Table())));
  }
  FakeObject* Fish() { return host.Obj(self); }
  FakeHost host;
  X2Object self = nullptr;
  AIPtr<C4BasicAI> ai;
};

TEST_F(BasicStepTest, TurnsTheShortWayAndIsLimitedByTheTurnRate) {
  // Wanted yaw -3.0 (a fish at 3.0 must turn through pi, not through 0).
  float a = -kPi + 3.0f;  // atan2 negative: wanted = -pi - a = -3.0
  ai->SetTargetPoint(Vec3(std::cos(a), 0, std::sin(a)) * 10.0f);
  Fish()->yaw = 3.0f;
  ai->Step(1.1f, 1.0f, self);
  // delta = -6.0 + 2 pi = 0.283, limited to 0.1 x pi = 0.314: not limited.
  EXPECT_NEAR(Fish()->yaw, 3.0f + (2 * kPi - 6.0f), 1e-4f);

  Fish()->yaw = 0.0f;
  ai->SetTargetPoint(Vec3(0, 0, 10));  // a = pi/2: wanted yaw pi - pi/2
  ai->Step(1.1f, 1.0f, self);
  EXPECT_NEAR(Fish()->yaw, 0.1f * kPi, 1e-4f);  // one step of e x turn rate
}

TEST_F(BasicStepTest, ClimbFollowsTheTargetHeight) {
  ai->SetTargetPoint(Vec3(1, 1, 0));
  ai->Step(10.0f, 0.0f, self);  // long step: no limit
  EXPECT_NEAR(Fish()->roll, -std::asin(1 / std::sqrt(2.0f)), 1e-4f);
}

TEST_F(BasicStepTest, AtTheTargetOnlyTheSpeedChanges) {
  Fish()->yaw = 1.25f;
  Fish()->roll = 0.5f;
  ai->SetTargetSpeed(0.8f);
  ai->Step(2.5f, 2.0f, self);
  EXPECT_EQ(Fish()->yaw, 1.25f);
  EXPECT_EQ(Fish()->roll, 0.5f);
  EXPECT_FLOAT_EQ(Fish()->speed, 0.5f);  // acceleration limit 1.0 x 0.5 s
  EXPECT_FLOAT_EQ(ai->LastAcceleration(), 1.0f);
}

TEST_F(BasicStepTest, ZeroTimeStepNeitherDividesNorMoves) {
  ai->SetTargetPoint(Vec3(0, 5, 5));
  ai->SetTargetSpeed(1.0f);
  Fish()->yaw = 0.7f;
  ai->Step(3.0f, 3.0f, self);
  EXPECT_EQ(Fish()->speed, 0.0f);
  EXPECT_EQ(ai->LastAcceleration(), 0.0f);
  EXPECT_EQ(Fish()->yaw, 0.7f);
  EXPECT_FALSE(std::isnan(Fish()->roll));
}

TEST_F(BasicStepTest, CollisionForceIsAskedWithTheSelector) {
  host.collision = true;
  host.collisionForce = {0, 0, 1};
  ai->SetTargetPoint(Vec3(10, 0, 0));
  ai->Step(1.1f, 1.0f, self);
  EXPECT_EQ(host.CountCalls("GetCollisionForce"), 1);
  ai->SetCollisionSelector(3);
  ai->Step(1.2f, 1.1f, self);
  EXPECT_EQ(host.CountCalls("GetCollisionForceEx 3 0"), 1);
  ai->SetNoAvoidance(1);
  ai->Step(1.3f, 1.2f, self);
  EXPECT_EQ(host.CountCalls("GetCollisionForce"), 2);  // not asked again
}

TEST_F(BasicStepTest, NullSelfDoesNothing) {
  EXPECT_EQ(ai->Step(1.0f, 0.0f, nullptr), nullptr);
  EXPECT_TRUE(host.calls.empty());
}

// A leader recording a straight run along +x; followers replay it.
class FormationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.defaultRandom = 0.5f;  // lane offsets all zero
    leaderFish = host.NewObject();
    leader.reset(new C4FlyingBar(X2Host(host.Table()), 2, 3));
    leader->SetOwnFish(leaderFish);
    host.Obj(leaderFish)->ai = nullptr;  // the test owns the leader
    controller.reset(new C4FlockController(X2Host(host.Table()), 0, 1));
    leader->SetController(controller.get());
    controller->Step(0.1f, 0.0f, nullptr);  // lively: the fast mode from now on
  }
  void TearDown() override {
    for (auto& o : host.objects) o->ai = nullptr;  // owned by the test
  }
  // Moves the leader fish along x at 1 unit per second for `seconds`.
  void Run(float from, float to) {
    for (float t = from; t <= to + 1e-4f; t += 0.05f) {
      host.Obj(leaderFish)->position = {t, 0, 0};
      leader->Step(t, t - 0.05f, leaderFish);
    }
  }
  FakeHost host;
  X2Object leaderFish = nullptr;
  AIPtr<C4FlyingBar> leader;
  AIPtr<C4FlockController> controller;
};

TEST_F(FormationTest, LaneOffsetsStayInTheirBox) {
  FakeHost other;
  other.randoms = {1.0f, 0.0f, 1.0f};  // r3, r2, r1
  AIPtr<C4FlyingBar> one(new C4FlyingBar(X2Host(other.Table()), 1, 1));
  EXPECT_NEAR(one->LaneOffset(0).x, 0.105f, 1e-5f);
  EXPECT_NEAR(one->LaneOffset(0).y, -0.525f, 1e-5f);
  EXPECT_NEAR(one->LaneOffset(0).z, 0.525f, 1e-5f);
}

TEST_F(FormationTest, AttachFillsRowsThenRefuses) {
  std::vector<AIPtr<C4PurselAI>> ais;
  for (int i = 0; i < 6; ++i) {
    ais.emplace_back(new C4PurselAI(X2Host(host.Table())));
    ASSERT_TRUE(leader->Attach(ais.back().get(), host.NewObject()));
  }
  EXPECT_EQ(ais[0]->Row(), 0);
  EXPECT_EQ(ais[1]->Lane(), 1);
  EXPECT_EQ(ais[2]->Row(), 1);
  EXPECT_EQ(ais[5]->Row(), 2);
  EXPECT_EQ(ais[5]->LeaderObject(), leaderFish);
  EXPECT_FALSE(leader->HasFreeSlot());
  AIPtr<C4PurselAI> extra(new C4PurselAI(X2Host(host.Table())));
  EXPECT_FALSE(leader->Attach(extra.get(), host.NewObject()));
}

TEST_F(FormationTest, FollowersOfAShortLaneSteerToTheOrigin) {
  AIPtr<C4PurselAI> ai(new C4PurselAI(X2Host(host.Table())));
  X2Object fish = host.NewObject();
  ASSERT_TRUE(leader->Attach(ai.get(), fish));
  Run(5.0f, 5.5f);  // three lane entries
  ASSERT_LT(leader->LaneHistory(0).Count(), 4);
  host.Obj(fish)->position = {3, 3, 3};
  ai->Step(5.5f, 5.45f, fish);
  EXPECT_EQ(ai->TargetPoint().x, 0.0f);
  EXPECT_EQ(ai->TargetPoint().y, 0.0f);
}

TEST_F(FormationTest, EachRowFollowsOneSecondLater) {
  std::vector<AIPtr<C4PurselAI>> ais;
  std::vector<X2Object> fish;
  for (int i = 0; i < 6; ++i) {
    ais.emplace_back(new C4PurselAI(X2Host(host.Table())));
    fish.push_back(host.NewObject());
    ASSERT_TRUE(leader->Attach(ais.back().get(), fish.back()));
  }
  Run(0.0f, 10.0f);
  // The smoothed leader lags its fish by 1.5 steps of 0.05 s.
  const float lag = 0.075f;
  for (int i = 0; i < 6; ++i) {
    ais[i]->Step(10.0f, 9.95f, fish[i]);
    float expected = 10.0f - lag - ais[i]->Row();
    EXPECT_NEAR(ais[i]->TargetPoint().x, expected, 0.02f) << i;
    EXPECT_NEAR(ais[i]->TargetPoint().y, 0.0f, 1e-3f);
  }
  // Lively controller: target speed from the fast factor 5.
  host.Obj(fish[0])->position = {0, 0, 0};
  ais[0]->Step(10.0f, 9.95f, fish[0]);
  EXPECT_FLOAT_EQ(ais[0]->TargetSpeed(), std::min(0.1f + 0.3f * 5.0f * ais[0]->TargetPoint().x, 5.0f));
}

TEST_F(FormationTest, LeaderPitchesAndRecordsItsTrack) {
  Run(0.0f, 2.0f);
  EXPECT_NEAR(host.Obj(leaderFish)->pitch, 0.4f, 1e-4f);
  EXPECT_GE(leader->Track().Count(), 8);
  EXPECT_NEAR(leader->Smoothed().x, 2.0f - 0.075f, 1e-3f);
}

TEST_F(FormationTest, BadClassIsLoggedOncePerObject) {
  AIPtr<C4PurselAI> ai(new C4PurselAI(X2Host(host.Table())));
  X2Object fish = host.NewObject();
  ASSERT_TRUE(leader->Attach(ai.get(), fish));
  host.Obj(fish)->ai = ai.get();
  AIPtr<C4GroupAI> hanger(new C4GroupAI(X2Host(host.Table()), fish));
  X2Object hangerFish = host.NewObject();
  // Away from their targets, so that both steer (and look for neighbours).
  host.Obj(fish)->position = {3, 2, 1};
  host.Obj(hangerFish)->position = {-3, -2, -1};
  for (int i = 0; i < 10; ++i) {
    ai->Step(1.0f + i, 0.9f + i, fish);
    hanger->Step(1.0f + i, 0.9f + i, hangerFish);
  }
  int bad = 0;
  for (auto& line : host.logs) bad += line == "KWEX GetNeighbors:BAD CLASS 2\n";
  EXPECT_EQ(bad, 1);
  // The hanger-on found the controller through the formation fish.
  EXPECT_EQ(hanger->GetController(), controller.get());
}

TEST_F(FormationTest, MissingLeaderIsLoggedOnce) {
  AIPtr<C4PurselAI> ai(new C4PurselAI(X2Host(host.Table())));
  X2Object fish = host.NewObject();
  for (int i = 0; i < 5; ++i) ai->Step(1.0f + i, 0.5f + i, fish);
  int missing = 0;
  for (auto& line : host.logs) missing += line == "KWEX C4FlyingBar FlyingBar NULL\n";
  EXPECT_EQ(missing, 1);
}

TEST(GroupAITest, PicksANewSpotInItsBox) {
  FakeHost host;
  X2Object leaderFish = host.NewObject();
  host.Obj(leaderFish)->position = {10, 20, 30};
  X2Object self = host.NewObject();
  AIPtr<C4GroupAI> ai(new C4GroupAI(X2Host(host.Table()), leaderFish));
  host.randoms = {0.5f, 0.0f, 1.0f, 0.25f};  // r, a, b, c
  ai->Step(1.0f, 0.9f, self);
  EXPECT_FLOAT_EQ(ai->NextChange(), 1.0f + 1.5f * 5.0f);
  EXPECT_FLOAT_EQ(ai->TargetPoint().x, 10.0f + 0.25f * 1.5f - 0.75f);
  EXPECT_FLOAT_EQ(ai->TargetPoint().y, 20.0f + 1.5f);
  EXPECT_FLOAT_EQ(ai->TargetPoint().z, 30.0f - 0.75f);
  host.calls.clear();
  ai->Step(2.0f, 1.0f, self);  // before the change time: no new draw
  EXPECT_EQ(host.CountCalls("Random"), 0);
}

TEST(TrackerTest, FindsTheChosenMemberAndRetriesWhileTheFlockIsEmpty) {
  FakeHost host;
  X2Object self = host.NewObject();
  AIPtr<X2Tracker> ai(new X2Tracker(X2Host(host.Table())));
  ai->SetFollowedFlock(1);
  ai->SetMemberChoice(1);
  ai->Step(1.0f, 0.9f, self);
  EXPECT_EQ(ai->TargetObject(), nullptr);
  std::vector<X2Object> members;
  for (int i = 0; i < 5; ++i) members.push_back(host.NewObject());
  host.flocks = {{host.NewObject()}, members};
  ai->Step(2.0f, 1.9f, self);
  EXPECT_EQ(ai->TargetObject(), members[2]);  // the middle of five

  AIPtr<X2Tracker> last(new X2Tracker(X2Host(host.Table())));
  last->SetFollowedFlock(7);  // past the last flock: the host clamps
  last->SetMemberChoice(2);
  last->Step(1.0f, 0.9f, self);
  EXPECT_EQ(last->TargetObject(), members[4]);

  AIPtr<X2Tracker> odd(new X2Tracker(X2Host(host.Table())));
  odd->SetFollowedFlock(1);
  odd->SetMemberChoice(9);  // out of range: read as the last member
  odd->Step(1.0f, 0.9f, self);
  EXPECT_EQ(odd->TargetObject(), members[4]);
}

TEST(TrackerTest, LaysPathPointsNearItsTarget) {
  FakeHost host;
  X2Object self = host.NewObject();
  X2Object target = host.NewObject();
  host.Obj(target)->position = {5, -3, 5};
  host.Obj(target)->direction = {1, 0, 0};
  host.flocks = {{target}};
  AIPtr<X2Tracker> ai(new X2Tracker(X2Host(host.Table())));
  host.defaultRandom = 1.0f;
  // The fish sits on its target point; every step advances the path.
  for (int i = 0; i < 3; ++i) {
    host.Obj(self)->position = {ai->TargetPoint().x, ai->TargetPoint().y, ai->TargetPoint().z};
    ai->Step(1.0f + i, 0.5f + i, self);
  }
  ASSERT_EQ(ai->Path().Count(), 4);
  Vec3 p = ai->Path().SampleBack(1);
  // C = 1: aim 2 ahead; x, z shifted by (1 - 0.5) / 2; y raised by 1/6 + 1.
  EXPECT_NEAR(p.x, 7.25f, 1e-4f);
  EXPECT_NEAR(p.z, 5.25f, 1e-4f);
  EXPECT_NEAR(p.y, -3.0f + 1.0f / 6.0f + 1.0f, 1e-4f);
}
