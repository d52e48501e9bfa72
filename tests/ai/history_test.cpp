// The position ring: spacing, wrap, look-back and timed sampling.
#include <gtest/gtest.h>

#include "X2PositionHistory.h"

using aimath::Vec3;

namespace {

void ExpectVec(const Vec3& v, float x, float y, float z, float tol = 1e-4f) {
  EXPECT_NEAR(v.x, x, tol);
  EXPECT_NEAR(v.y, y, tol);
  EXPECT_NEAR(v.z, z, tol);
}

}  // namespace

TEST(PositionHistoryTest, RecordKeepsEntriesAtLeastAFifthOfASecondApart) {
  X2PositionHistory h;
  // A stream a little over 0.1 s apart (clear of rounding at exactly 0.2).
  for (int i = 0; i < 20; ++i) h.Record(static_cast<float>(i), 0, 0, i * 0.11f);
  // Every other sample is kept.
  EXPECT_EQ(h.Count(), 10);
  float t = 0;
  ExpectVec(h.SampleBack(1, &t), 18, 0, 0);
  EXPECT_NEAR(t, 1.98f, 1e-5f);
  ExpectVec(h.SampleBack(10), 0, 0, 0);
}

TEST(PositionHistoryTest, AppendIgnoresSpacingAndWrapsAfter200) {
  X2PositionHistory h;
  for (int i = 0; i < 250; ++i) h.Append(static_cast<float>(i), 1, 2, 0.0f);
  EXPECT_EQ(h.Count(), 200);
  EXPECT_EQ(h.Head(), 50);
  ExpectVec(h.SampleBack(1), 249, 1, 2);
  ExpectVec(h.SampleBack(200), 50, 1, 2);  // the oldest left
}

TEST(PositionHistoryTest, SampleBackClampsAndNeverReadsTheNextSlot) {
  X2PositionHistory h;
  float t = 7;
  ExpectVec(h.SampleBack(1, &t), 0, 0, 0);
  EXPECT_EQ(t, 0.0f);
  h.Append(1, 1, 1, 1.0f);
  h.Append(2, 2, 2, 2.0f);
  h.Append(3, 3, 3, 3.0f);
  ExpectVec(h.SampleBack(6), 1, 1, 1);  // past the count: the oldest
  // n <= 0 means the newest, not the slot the next entry will take.
  ExpectVec(h.SampleBack(0, &t), 3, 3, 3);
  EXPECT_EQ(t, 3.0f);
  ExpectVec(h.SampleBack(-5), 3, 3, 3);
}

TEST(PositionHistoryTest, ResetEmptiesAndZeroes) {
  X2PositionHistory h;
  h.Append(5, 5, 5, 1.0f);
  h.Reset();
  EXPECT_EQ(h.Count(), 0);
  EXPECT_EQ(h.Head(), 0);
  ExpectVec(h.SampleBack(1), 0, 0, 0);
}

TEST(PositionHistoryTest, SampleAtNeedsFourEntries) {
  X2PositionHistory h;
  h.Record(1, 1, 1, 0.0f);
  h.Record(2, 2, 2, 0.2f);
  h.Record(3, 3, 3, 0.4f);
  ExpectVec(h.SampleAt(0.1f, 0.4f), 0, 0, 0);
  h.Record(4, 4, 4, 0.6f);
  EXPECT_GT(h.SampleAt(0.1f, 0.6f).x, 0.0f);
}

// x = 10 * t along a straight line, one entry every 0.2 s.
class LineHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i <= 50; ++i) {
      float t = i * 0.2f;
      h.Record(10.0f * t, 1.0f, -t, t);
    }
  }
  X2PositionHistory h;  // last entry at t = 10
};

TEST_F(LineHistoryTest, InterpolatesBetweenBracketingEntries) {
  for (float delay : {1.0f, 1.1f, 2.35f, 5.0f, 7.77f}) {
    Vec3 p = h.SampleAt(delay, 10.0f);
    EXPECT_NEAR(p.x, 10.0f * (10.0f - delay), 1e-2f) << delay;
    EXPECT_NEAR(p.z, -(10.0f - delay), 1e-3f) << delay;
    EXPECT_NEAR(p.y, 1.0f, 1e-5f);
  }
}

TEST_F(LineHistoryTest, DelayZeroExtrapolatesBeyondTheNewestEntry) {
  // Now is 0.1 s after the newest entry: the line goes on.
  Vec3 p = h.SampleAt(0.0f, 10.1f);
  EXPECT_NEAR(p.x, 101.0f, 1e-2f);
  EXPECT_GT(p.x, 100.0f);
}

TEST_F(LineHistoryTest, EstimateFarOffStillFindsTheBracket) {
  // The estimate assumes 0.2 s spacing; entries here are the same, but a
  // target between entries at a different offset must still be bracketed.
  Vec3 p = h.SampleAt(3.0f, 10.05f);
  EXPECT_NEAR(p.x, 70.5f, 1e-2f);
}

TEST_F(LineHistoryTest, TargetOlderThanTheHistoryExtrapolates) {
  Vec3 p = h.SampleAt(12.0f, 10.0f);  // 2 s before the first entry
  EXPECT_NEAR(p.x, -20.0f, 1e-2f);
}

TEST(PositionHistoryTest, ReversedDelayModeCountsFromTheDelayBase) {
  X2PositionHistory h;
  for (int i = 0; i <= 50; ++i) h.Record(i * 0.2f, 0, 0, i * 0.2f);
  h.SetDelayMode(1);
  // delay 9 becomes 10 - 9 = 1 second.
  EXPECT_NEAR(h.SampleAt(9.0f, 10.0f).x, 9.0f, 1e-3f);
}

TEST(PositionHistoryTest, EqualTimesGiveTheNewerEntry) {
  X2PositionHistory h;
  for (int i = 0; i < 5; ++i) h.Append(static_cast<float>(i), 0, 0, 1.0f);
  EXPECT_EQ(h.SampleAt(0.0f, 1.0f).x, 4.0f);
}
