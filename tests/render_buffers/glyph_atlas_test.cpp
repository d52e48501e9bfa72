// The generated glyph atlas: a compressed 512 x 512 24-bit BMP with one
// glyph per drawable code.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "panels/GlyphAtlas.h"

namespace {

class GlyphAtlasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_GE(kGlyphAtlasSize, 2u);
    ASSERT_EQ(kGlyphAtlasData[0], 0x78);
    ASSERT_EQ(kGlyphAtlasData[1], 0x9C);
    bmp_.resize(kGlyphAtlasInflatedSize);
    uLongf n = bmp_.size();
    ASSERT_EQ(uncompress(bmp_.data(), &n, kGlyphAtlasData, kGlyphAtlasSize), Z_OK);
    ASSERT_EQ(n, bmp_.size());
  }
  uint32_t U32(size_t at) const {
    uint32_t v;
    memcpy(&v, &bmp_[at], 4);
    return v;
  }
  // Lit pixels of a cell (row and column of the atlas counted from the top).
  int LitPixels(int code) const {
    const uint32_t offset = U32(10);
    int lit = 0;
    for (int y = 0; y < 32; ++y) {
      const int top = (code / 16) * 32 + y;
      const int fileRow = 511 - top;  // bottom-up
      for (int x = 0; x < 32; ++x) {
        const size_t p = offset + size_t(fileRow) * 512 * 3 + size_t((code % 16) * 32 + x) * 3;
        if (bmp_[p] | bmp_[p + 1] | bmp_[p + 2]) ++lit;
      }
    }
    return lit;
  }
  std::vector<unsigned char> bmp_;
};

TEST_F(GlyphAtlasTest, IsAFiveHundredTwelveSquareTwentyFourBitBmp) {
  ASSERT_EQ(bmp_[0], 'B');
  ASSERT_EQ(bmp_[1], 'M');
  EXPECT_EQ(U32(2), bmp_.size());
  EXPECT_EQ(U32(18), 512u);
  EXPECT_EQ(U32(22), 512u);
  EXPECT_EQ(bmp_[28], 24);
  EXPECT_EQ(U32(30), 0u);  // uncompressed
  EXPECT_EQ(U32(10) + 512u * 512u * 3u, bmp_.size());
}

TEST_F(GlyphAtlasTest, DrawableCodesHaveGlyphsAndTheRestIsBlank) {
  for (int c = 0; c < 256; ++c) {
    const bool drawable = c >= 33 && c <= 122;
    if (drawable)
      EXPECT_GT(LitPixels(c), 4) << c;
    else
      EXPECT_EQ(LitPixels(c), 0) << c;
  }
  // Different characters look different.
  EXPECT_NE(LitPixels('O'), LitPixels('I'));
}

}  // namespace
