// Status line text.
#include <gtest/gtest.h>

#include <string>

#include "status/StatusLine.h"

namespace {

std::string Line(float fps, int fish, float speed) {
  char out[128];
  FormatStatusLine(out, sizeof out, fps, fish, speed);
  return out;
}

TEST(StatusLineTest, SpeedTextsByExactFactor) {
  EXPECT_STREQ(StatusSpeedText(1.0f), "");
  EXPECT_STREQ(StatusSpeedText(0.5f), "1/2");
  EXPECT_STREQ(StatusSpeedText(0.25f), "1/4");
  EXPECT_STREQ(StatusSpeedText(0.125f), "1/8");
  EXPECT_STREQ(StatusSpeedText(2.0f), "X2");
  EXPECT_STREQ(StatusSpeedText(4.0f), "X4");
  EXPECT_STREQ(StatusSpeedText(8.0f), "X8");
  EXPECT_STREQ(StatusSpeedText(16.0f), "FAST");
  EXPECT_STREQ(StatusSpeedText(1.0001f), "FAST");
  EXPECT_STREQ(StatusSpeedText(0.0625f), "SLOW");
  EXPECT_STREQ(StatusSpeedText(0.0f), "SLOW");
}

TEST(StatusLineTest, LineRightAlignsTheFishCount) {
  EXPECT_EQ(Line(59.94f, 12, 0.5f), "59.94fps   12fish 1/2");
  EXPECT_EQ(Line(60.0f, 3, 1.0f), "60.00fps    3fish ");
  EXPECT_EQ(Line(5.5f, 123456, 16.0f), "5.50fps123456fish FAST");
  char small[8];
  EXPECT_EQ(FormatStatusLine(small, sizeof small, 59.94f, 12, 0.5f), 7);
  EXPECT_STREQ(small, "59.94fp");
}

}  // namespace
