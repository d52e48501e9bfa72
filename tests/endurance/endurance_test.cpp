// The shipped flocks swum for hours of scene time at x8 through the world's
// Move, as the program steps them, without drawing: positions stay finite,
// no fish goes missing, memory stays flat. sim_bench --endurance runs the
// same for 48 hours outside CI.
#include <gtest/gtest.h>

#include "D3DTestDevice.h"
#include "SceneTestSupport.h"
#include "Settings.h"
#include "SimWorld.h"

TEST(Endurance, ShippedFlocksSwimTwoHoursAtX8) {
  qvtest::D3DTestDevice dev;
  ASSERT_TRUE(dev.Create(64, 64)) << dev.Error();
  qvtest::DeviceSceneHost host(dev);
  SetSceneHost(&host);
  LoadSettings(0);
  {
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
  SetSceneHost(nullptr);
}
