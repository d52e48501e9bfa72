// The shipped flocks swum for hours of scene time at x8 through the world's
// Move, as the program steps them, without drawing: positions stay finite,
// no fish goes missing, memory stays flat. sim_bench --endurance runs the
// same for 48 hours outside CI. The same flocks over a ridge close under
// their home stay out of the ground.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "D3DTestDevice.h"
#include "SceneTestSupport.h"
#include "Settings.h"
#include "SimWorld.h"

namespace {

class Endurance : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dev.Create(64, 64)) << dev.Error();
    SetSceneHost(&host);
    LoadSettings(0);
  }
  void TearDown() override { SetSceneHost(nullptr); }
  qvtest::D3DTestDevice dev;
  qvtest::DeviceSceneHost host{dev};
};

}  // namespace

TEST_F(Endurance, ShippedFlocksSwimTwoHoursAtX8) {
  SimWorld w;
  ASSERT_TRUE(w.BuildDefaultFlocks());
  const EnduranceResult r = RunEndurance(w, 2.0);
  std::printf("%lld steps, %d fish, private bytes %zu after warm-up, %zu at the end, %.1f s\n", r.steps,
              r.fishAtStart, r.memoryAfterWarmUp, r.memoryAtEnd, r.wallSeconds);
  EXPECT_GT(r.fishAtStart, 100);
  EXPECT_EQ(r.notFinite, 0);
  EXPECT_EQ(r.fishAtEnd, r.fishAtStart);
  EXPECT_LE(r.memoryAtEnd, r.memoryAfterWarmUp + (1u << 20));
}

// The shipped flocks over a ridge that lifts the ground to a few units under
// their start points, for a minute of scene time at 30 steps a second:
// diving fish overshoot the floor's soft push, and no fish may go into the
// ground as drawn (each is stopped 0.3 over it).
TEST_F(Endurance, ShippedFlocksStayOverARidgeUnderTheirHome) {
  srand(5);
  SimWorld w;
  ASSERT_TRUE(w.BuildDefaultFlocks());
  X1Terrain* floor = AddRidgeFloor(w.world);
  const float home = floor->GetHeight(2.0f, 2.0f, nullptr, false, true);
  EXPECT_GT(home, -12.0f);
  EXPECT_LT(home, -6.0f);
  float least = INFINITY;
  int under = 0;
  for (int step = 0; step < 1800; ++step) {
    w.world->Move(1.0f / 30.0f);
    for (C6Fish* f : w.fish) {
      const float over = f->position.y - floor->GetHeight(f->position.x, f->position.z, nullptr, false, true);
      least = std::fmin(least, over);
      under += over < 0.3f - 1e-4f;
    }
  }
  std::printf("%zu fish over a ridge at %.2f under their home: least height over the floor %.2f\n", w.fish.size(),
              home, least);
  EXPECT_EQ(under, 0) << "fish moves ending under the floor's clearance; least height over it " << least;
  EXPECT_LT(least, 1.0f) << "the flocks never came down to the floor";
}
