// Frame trail: rotation, swap, pulse, phase, grid and composite layers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "buffers/FrameTrail.h"

namespace {

TEST(FrameTrailTest, FirstMoveStepsFromTheStartValueThenRotatesOnce) {
  float last = -10.0f;
  ASSERT_TRUE(AdvanceTrailShift(last, 3.0f));
  EXPECT_GE(last, 3.0f);
  EXPECT_LT(last, 3.0f + kTrailShiftStep + 1e-4f);

  std::vector<int> kept = {0, 1, 2, 3};
  RotateKeptFrames(kept);
  EXPECT_EQ(kept, (std::vector<int>{3, 0, 1, 2}));
}

TEST(FrameTrailTest, FramesLessThanFiveMillisecondsApartSwapTheFirstTwo) {
  float last = 1.0f;
  EXPECT_FALSE(AdvanceTrailShift(last, 1.004f));
  EXPECT_EQ(last, 1.0f);
  std::vector<int> kept = {0, 1, 2};
  SwapKeptFrames(kept);
  EXPECT_EQ(kept, (std::vector<int>{1, 0, 2}));
  // Lists too short to swap or rotate stay as they are.
  std::vector<int> one = {5};
  SwapKeptFrames(one);
  RotateKeptFrames(one);
  EXPECT_EQ(one, std::vector<int>{5});
}

TEST(FrameTrailTest, ShiftTerminatesAndKeepsUpAtAnyTime) {
  // Past about 36 hours a single-precision step of 0.005 no longer changes
  // the value; the shift must still reach t and a later frame still rotates.
  const float times[] = {131072.0f, 140000.0f, 1.0e7f, 3.0e38f};
  for (float t : times) {
    float last = -10.0f;
    ASSERT_TRUE(AdvanceTrailShift(last, t)) << t;
    EXPECT_GE(last, t) << t;
    EXPECT_FALSE(AdvanceTrailShift(last, t)) << t;  // same time: swap
    const float later = std::nextafter(t, std::numeric_limits<float>::max()) + t * 1e-6f;
    if (std::isfinite(later) && later > last + kTrailShiftStep) {
      EXPECT_TRUE(AdvanceTrailShift(last, later)) << t;
      EXPECT_GE(last, later) << t;
    }
  }
  float last = 0.0f;
  EXPECT_TRUE(AdvanceTrailShift(last, INFINITY));
  EXPECT_FALSE(AdvanceTrailShift(last, INFINITY));
  last = 0.0f;
  EXPECT_FALSE(AdvanceTrailShift(last, NAN));
}

TEST(FrameTrailTest, PulseRisesAndFallsOverTwoSecondsAndReschedules) {
  TrailPulse p;
  p.nextPulse = 30.0f;
  EXPECT_FLOAT_EQ(StepTrailPulse(p, 30.0f, 0.0f), 1.0f);
  EXPECT_FLOAT_EQ(StepTrailPulse(p, 29.0f, 0.0f), 0.5f);
  EXPECT_FLOAT_EQ(StepTrailPulse(p, 31.0f, 0.0f), 0.5f);
  EXPECT_FLOAT_EQ(StepTrailPulse(p, 28.0f, 0.0f), 0.0f);
  EXPECT_FLOAT_EQ(StepTrailPulse(p, 20.0f, 0.0f), 0.0f);
  EXPECT_EQ(p.nextPulse, 30.0f);
  // Just past the half-width: next pulse 10 to 50 s ahead.
  EXPECT_EQ(StepTrailPulse(p, 32.01f, 0.0f), 0.0f);
  EXPECT_FLOAT_EQ(p.nextPulse, 42.01f);
  p.nextPulse = 30.0f;
  StepTrailPulse(p, 32.01f, 1.0f);
  EXPECT_FLOAT_EQ(p.nextPulse, 82.01f);
}

TEST(FrameTrailTest, WavePhaseStaysInOneTurnAndParametersFollowThePulse) {
  EXPECT_NEAR(AdvanceWavePhase(0.0f, 1.0f, 0.0f, 0.0f), 0.3f, 1e-6f);
  EXPECT_NEAR(AdvanceWavePhase(0.0f, 1.0f, 0.0f, 1.0f), 0.6f, 1e-6f);
  const float wrapped = AdvanceWavePhase(6.2f, 1.0f, 0.0f, 0.0f);
  EXPECT_NEAR(wrapped, 6.5f - 6.2831853f, 1e-5f);
  const float back = AdvanceWavePhase(0.1f, 0.0f, 1.0f, 0.0f);  // clock stepped back
  EXPECT_GE(back, 0.0f);
  EXPECT_LT(back, 6.2831853f);
  EXPECT_EQ(AdvanceWavePhase(0.0f, INFINITY, 0.0f, 0.0f), 0.0f);

  float w[4];
  TrailWaveParameters(1.0f, w);
  EXPECT_FLOAT_EQ(w[0], 0.5f);
  EXPECT_FLOAT_EQ(w[1], 0.7f);
  EXPECT_FLOAT_EQ(w[2], 0.026f);
  EXPECT_FLOAT_EQ(w[3], 0.010f);
}

TEST(FrameTrailTest, GridCoversTheScreenWithEdgeFadedAmplitudes) {
  const TrailGridVertex* grid = TrailGridStatic();
  EXPECT_FLOAT_EQ(grid[0].x, -1.4f);
  EXPECT_FLOAT_EQ(grid[0].y, 1.4f);
  EXPECT_NEAR(grid[kTrailGridVertices - 1].x, 1.4f, 1e-5f);
  EXPECT_NEAR(grid[kTrailGridVertices - 1].y, -1.4f, 1e-5f);
  EXPECT_EQ(kTrailGridFaces, 392);
  const uint16_t* idx = TrailGridIndices();
  std::vector<int> uses(kTrailGridVertices, 0);
  for (int i = 0; i < kTrailGridFaces * 3; ++i) {
    ASSERT_LT(idx[i], kTrailGridVertices);
    ++uses[idx[i]];
  }
  for (int u : uses) EXPECT_GT(u, 0);

  TrailGridVertex centre = MakeTrailGridVertex(0.0f, 0.0f, 0.0f);
  EXPECT_FLOAT_EQ(centre.nx, 1.0f);
  EXPECT_FLOAT_EQ(centre.ny, 1.0f);
  EXPECT_FLOAT_EQ(centre.u, 0.5f);
  EXPECT_FLOAT_EQ(centre.v, 0.5f);
  TrailGridVertex edge = MakeTrailGridVertex(-1.0f, 1.0f, 0.0f);
  EXPECT_EQ(edge.nx, 0.0f);
  EXPECT_EQ(edge.ny, 0.0f);
  EXPECT_FLOAT_EQ(edge.u, 0.0f);
  EXPECT_FLOAT_EQ(edge.v, 0.0f);
  TrailGridVertex near = MakeTrailGridVertex(0.8f, -0.8f, 0.0f);
  EXPECT_NEAR(near.nx, 1.0f, 1e-6f);  // 3 x 0.36 capped at 1
  EXPECT_NEAR(near.ny, 1.0f, 1e-6f);
  EXPECT_EQ(MakeTrailGridVertex(1.2f, 0.0f, 0.0f).nx, 0.0f);
  EXPECT_NEAR(MakeTrailGridVertex(0.0f, 1.2f, 0.0f).ny, 1.0f, 1e-6f);  // |(-2.2)(-0.2)| x 3
}

TEST(FrameTrailTest, CompositeDrawsKeptFramesOneToCountMinusTwo) {
  EXPECT_EQ(TrailLayerEnd(3) - TrailFirstLayer(), 1);
  EXPECT_EQ(TrailLayerEnd(8) - TrailFirstLayer(), 6);  // delayed frame and five layers
  EXPECT_EQ(TrailLayerEnd(12) - TrailFirstLayer(), 10);
  EXPECT_EQ(TrailLayerEnd(2) - TrailFirstLayer(), 0);
  EXPECT_EQ(TrailLayerEnd(0) - TrailFirstLayer(), 0);
}

}  // namespace
