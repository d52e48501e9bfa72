// Screenshot file layout and naming.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "diagnostics/CaptureBmp.h"

namespace {

uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

TEST(EncodeBmp24, HeadersOfA1024By768View) {
  std::vector<uint32_t> pixels(1024 * 768, 0x00112233);
  std::vector<uint8_t> f = EncodeBmp24(pixels.data(), 1024, 768, 1024 * 4);
  ASSERT_EQ(54u + 1024 * 768 * 3, f.size());
  EXPECT_EQ('B', f[0]);
  EXPECT_EQ('M', f[1]);
  EXPECT_EQ(f.size(), Read32(f, 2));
  EXPECT_EQ(0u, Read32(f, 6));
  EXPECT_EQ(54u, Read32(f, 10));
  EXPECT_EQ(40u, Read32(f, 14));
  EXPECT_EQ(1024u, Read32(f, 18));
  EXPECT_EQ(768u, Read32(f, 22));
  EXPECT_EQ(1u, f[26] | (f[27] << 8));
  EXPECT_EQ(24u, f[28] | (f[29] << 8));
  EXPECT_EQ(0u, Read32(f, 30));
  EXPECT_EQ(0u, Read32(f, 34));
  EXPECT_EQ(2834u, Read32(f, 38));
  EXPECT_EQ(2834u, Read32(f, 42));
  EXPECT_EQ(0u, Read32(f, 46));
  EXPECT_EQ(0u, Read32(f, 50));
  EXPECT_EQ(0x33, f[54]);  // blue, green, red
  EXPECT_EQ(0x22, f[55]);
  EXPECT_EQ(0x11, f[56]);
}

TEST(EncodeBmp24, OddWidthRowsArePaddedAndBottomUp) {
  const int w = 1366, h = 3, pitch = 1366 * 4 + 64;  // surface pitch wider than the row
  EXPECT_EQ(4100, BmpRowSize(w));
  std::vector<uint8_t> surface(pitch * h, 0xEE);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &surface[y * pitch + x * 4];
      p[0] = static_cast<uint8_t>(y);  // blue = row number from the top
      p[1] = static_cast<uint8_t>(x);
      p[2] = 0x80;
    }
  std::vector<uint8_t> f = EncodeBmp24(surface.data(), w, h, pitch);
  ASSERT_EQ(54u + 4100u * 3, f.size());
  for (int row = 0; row < h; ++row) {
    const uint8_t* r = &f[54 + row * 4100];
    EXPECT_EQ(h - 1 - row, r[0]) << "row " << row;
    EXPECT_EQ(static_cast<uint8_t>(1365), r[1365 * 3 + 1]);
    EXPECT_EQ(0x80, r[1365 * 3 + 2]);
    EXPECT_EQ(0, r[4098]);
    EXPECT_EQ(0, r[4099]);
  }
  EXPECT_EQ(12, BmpRowSize(4));
  EXPECT_EQ(4, BmpRowSize(1));
  EXPECT_TRUE(EncodeBmp24(surface.data(), 0, 3, pitch).empty());
}

TEST(NextCaptureName, SkipsExistingNamesAndWraps) {
  std::set<std::string> existing = {"C:\\qv\\capture\\L0000.bmp", "C:\\qv\\capture\\L0001.bmp"};
  auto exists = [&](const std::string& n) { return existing.count(n) != 0; };
  int counter = 0;
  EXPECT_EQ("C:\\qv\\capture\\L0002.bmp", NextCaptureName("C:\\qv\\", 0, &counter, exists));
  EXPECT_EQ(2, counter);
  counter = 0;
  EXPECT_EQ("C:\\qv\\capture\\R0000.bmp", NextCaptureName("C:\\qv", 1, &counter, exists));
  existing = {"C:\\qv\\capture\\L9999.bmp"};
  counter = 9999;
  EXPECT_EQ("C:\\qv\\capture\\L0000.bmp", NextCaptureName("C:\\qv\\", 0, &counter, exists));
  // Every name taken: ten thousand tries, then the last name is used.
  int calls = 0;
  counter = 5;
  std::string last = NextCaptureName("C:\\qv\\", 0, &counter, [&](const std::string&) {
    ++calls;
    return true;
  });
  EXPECT_EQ(10000, calls);
  EXPECT_EQ("C:\\qv\\capture\\L0004.bmp", last);
}

}  // namespace
