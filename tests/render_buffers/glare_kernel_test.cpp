// Glare kernel numbers and the constants of the glare passes.
#include <gtest/gtest.h>

#include <cmath>

#include "buffers/GlarePasses.h"
#include "buffers/X1GlareKernel.h"

namespace {

X1GlareKernel Preset0() {
  X1GlareKernel k;
  k.Reset();
  k.SetPreset(0);
  k.Build();
  return k;
}

TEST(GlareKernelTest, Preset0HasTwentySevenSymmetricTapsInSevenGroups) {
  X1GlareKernel k = Preset0();
  ASSERT_EQ(k.TapEntries(), 28);
  EXPECT_FLOAT_EQ(k.Strength(), 0.9f);
  for (int i = 0; i < 27; ++i) EXPECT_FLOAT_EQ(k.Entry(i).offset, float(i - 13)) << i;
  EXPECT_NEAR(k.Entry(13).weight, 0.17f, 1e-6f);
  EXPECT_NEAR(k.Entry(0).weight, 0.0513f, 1e-4f);
  EXPECT_NEAR(k.Entry(26).weight, 0.0513f, 1e-4f);
  for (int i = 0; i < 13; ++i) {
    EXPECT_FLOAT_EQ(k.Entry(i).weight, k.Entry(26 - i).weight) << i;
    EXPECT_LT(k.Entry(i).weight, k.Entry(i + 1).weight) << i;
  }
  // The padding entry draws nothing.
  EXPECT_EQ(k.Entry(27).offset, 0.0f);
  EXPECT_EQ(k.Entry(27).weight, 0.0f);
}

TEST(GlareKernelTest, ResetClearsAndOversizedOrUnknownSetsStayInsideTheTable) {
  X1GlareKernel k = Preset0();
  k.Reset();
  EXPECT_EQ(k.TapEntries(), 0);
  EXPECT_EQ(k.TapCount(), 0);
  k.Build();  // no taps, no terms
  EXPECT_EQ(k.TapEntries(), 0);

  k.SetPreset(7);  // unknown: logged, set 0 used
  EXPECT_EQ(k.Preset(), 0);
  EXPECT_EQ(k.TapCount(), 27);

  k.Reset();
  k.SetPreset(0);
  k.SetTapCount(200);
  k.Build();
  EXPECT_LE(k.TapEntries(), X1GlareKernel::kMaxEntries);
  EXPECT_EQ(k.TapEntries() % 4, 0);

  k.Reset();
  k.SetPreset(0);
  k.SetTapCount(1);  // a lone tap sits at the centre with a finite weight
  k.Build();
  EXPECT_EQ(k.TapEntries(), 4);
  EXPECT_EQ(k.Entry(0).offset, 0.0f);
  EXPECT_NEAR(k.Entry(0).weight, 0.17f, 1e-6f);
}

TEST(GlarePassesTest, BlurDrawsSpanTwentySixTexelsWithWeightsSummingToAboutOnePointTwo) {
  X1GlareKernel k = Preset0();
  ASSERT_EQ(GlareBlurDraws(k), 7);
  const float du = 2.0f / 400.0f;
  float sum = 0.0f, maxOffset = 0.0f;
  for (int g = 0; g < GlareBlurDraws(k); ++g) {
    GlareTapDraw h = GlareBlurDraw(k, g, 0.5f, true, du);
    GlareTapDraw v = GlareBlurDraw(k, g, 0.5f, false, 2.0f / 300.0f);
    for (int j = 0; j < 4; ++j) {
      const X1GlareKernel::Tap& tap = k.Entry(g * 4 + j);
      EXPECT_FLOAT_EQ(h.weight[j], tap.weight * 0.45f);
      EXPECT_FLOAT_EQ(h.vertex[j][0], du * tap.offset);
      EXPECT_EQ(h.vertex[j][1], 0.0f);
      EXPECT_EQ(v.vertex[j][0], 0.0f);
      EXPECT_FLOAT_EQ(v.vertex[j][1], 2.0f / 300.0f * tap.offset);
      sum += h.weight[j];
      maxOffset = std::max(maxOffset, std::fabs(h.vertex[j][0]) * 400.0f);
    }
  }
  EXPECT_NEAR(sum, 1.22f, 0.01f);
  EXPECT_FLOAT_EQ(maxOffset, 26.0f);  // two texels per tap step
  // A group past the table gives an empty draw.
  GlareTapDraw none = GlareBlurDraw(k, 7, 0.5f, true, du);
  for (int j = 0; j < 4; ++j) EXPECT_EQ(none.weight[j], 0.0f);
}

TEST(GlarePassesTest, SmoothingBlendFollowsTheFrameTime) {
  GlareBlend b = GlareSmoothingBlend(0.0f);
  EXPECT_EQ(b.current, 0.0f);
  EXPECT_EQ(b.previous, 1.0f);
  b = GlareSmoothingBlend(0.1f);
  EXPECT_EQ(b.current, 1.0f);
  EXPECT_EQ(b.previous, 0.0f);
  b = GlareSmoothingBlend(2.0f);
  EXPECT_EQ(b.current, 1.0f);
  EXPECT_EQ(b.previous, 0.0f);
  b = GlareSmoothingBlend(0.025f);
  EXPECT_FLOAT_EQ(b.current, 0.25f);
  EXPECT_FLOAT_EQ(b.previous, 0.75f);
  b = GlareSmoothingBlend(-0.05f);  // clock stepped back: keep the image
  EXPECT_EQ(b.current, 0.0f);
  EXPECT_EQ(b.previous, 1.0f);
}

TEST(GlarePassesTest, TargetsAlternateAndHalveTheBackBuffer) {
  EXPECT_EQ(GlareSmoothedTarget(0), 1);
  EXPECT_EQ(GlareOutputTarget(0), 2);
  EXPECT_EQ(GlareSmoothedTarget(1), 2);
  EXPECT_EQ(GlareOutputTarget(1), 1);
  EXPECT_EQ(GlareTargetExtent(801u), 400u);
  EXPECT_EQ(GlareTargetExtent(600u), 300u);
}

}  // namespace

namespace {

TEST(GlarePassesTest, SourceDrawTest) {
  EXPECT_TRUE(GlareDrawsSource(0x0, false, false, false, false));
  EXPECT_FALSE(GlareDrawsSource(0x0, true, false, false, false));    // far-culled
  EXPECT_FALSE(GlareDrawsSource(0x10, false, false, false, false));  // culled
  EXPECT_TRUE(GlareDrawsSource(0x14, false, false, false, false));   // culled, always visible
  EXPECT_FALSE(GlareDrawsSource(0x4, true, false, false, false));    // far-culled wins
  EXPECT_FALSE(GlareDrawsSource(0x0, false, true, true, false));     // hidden camera object
  EXPECT_TRUE(GlareDrawsSource(0x0, false, true, false, false));
  EXPECT_FALSE(GlareDrawsSource(0x40, false, false, false, false));  // debug-run only
  EXPECT_TRUE(GlareDrawsSource(0x40, false, false, false, true));
}

}  // namespace
