// The clone atlas's tile layout without a device: no two tiles (with their
// gutters) overlap, every tile lies inside its page, pages are powers of two
// and the texture coordinates land on the tile.
#include <gtest/gtest.h>

#include <vector>

#include "clones/CloneAtlasLayout.h"

namespace {

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// Every placed tile inside its page with its gutter, no two overlapping.
void ExpectSound(const AtlasLayout& layout, int pageEdge) {
  for (const AtlasPage& page : layout.pages) {
    EXPECT_TRUE(IsPowerOfTwo(page.width)) << page.width;
    EXPECT_TRUE(IsPowerOfTwo(page.height)) << page.height;
    EXPECT_LE(page.width, pageEdge);
    EXPECT_LE(page.height, pageEdge);
  }
  const auto& tiles = layout.tiles;
  for (size_t i = 0; i < tiles.size(); ++i) {
    const AtlasTile& a = tiles[i];
    if (a.page < 0) continue;
    ASSERT_LT(a.page, static_cast<int>(layout.pages.size()));
    const AtlasPage& page = layout.pages[a.page];
    EXPECT_GE(a.x, kAtlasGutter);
    EXPECT_GE(a.y, kAtlasGutter);
    EXPECT_LE(a.x + a.edge + kAtlasGutter, page.width) << i;
    EXPECT_LE(a.y + a.edge + kAtlasGutter, page.height) << i;
    for (size_t j = i + 1; j < tiles.size(); ++j) {
      const AtlasTile& b = tiles[j];
      if (b.page != a.page) continue;
      const bool apart = a.x + a.edge + kAtlasGutter <= b.x || b.x + b.edge + kAtlasGutter <= a.x ||
                         a.y + a.edge + kAtlasGutter <= b.y || b.y + b.edge + kAtlasGutter <= a.y;
      EXPECT_TRUE(apart) << "tiles " << i << " and " << j;
    }
  }
}

TEST(CloneAtlasLayout, PacksTilesApartOnPowerOfTwoPages) {
  struct Case {
    const char* name;
    std::vector<int> edges;
    int pageEdge;
    size_t pages;
  };
  const std::vector<Case> cases = {
      {"none", {}, 2048, 0},
      {"one file fish", {128}, 2048, 1},
      {"mixed sizes", {64, 128, 64, 128, 100, 1, 64}, 2048, 1},
      // 15 tiles of 132 texels a shelf, 15 shelves a page: 300 take two pages.
      {"many rows", std::vector<int>(300, 128), 2048, 2},
      {"small pages", std::vector<int>(40, 64), 256, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const AtlasLayout layout = LayoutCloneAtlas(c.edges, c.pageEdge);
    ASSERT_EQ(c.edges.size(), layout.tiles.size());
    EXPECT_EQ(c.pages, layout.pages.size());
    for (size_t i = 0; i < c.edges.size(); ++i) {
      EXPECT_EQ(c.edges[i], layout.tiles[i].edge);
      EXPECT_GE(layout.tiles[i].page, 0) << i;
    }
    ExpectSound(layout, c.pageEdge);
  }
}

TEST(CloneAtlasLayout, TilesThatFitNoPageGetNone) {
  const AtlasLayout layout = LayoutCloneAtlas({0, -5, 2045, 64, 4096}, 2048);
  EXPECT_EQ(-1, layout.tiles[0].page);
  EXPECT_EQ(-1, layout.tiles[1].page);
  EXPECT_EQ(-1, layout.tiles[2].page);  // 2045 + two gutters > 2048
  EXPECT_EQ(0, layout.tiles[3].page);
  EXPECT_EQ(-1, layout.tiles[4].page);
  ASSERT_EQ(1u, layout.pages.size());
  EXPECT_EQ(128, layout.pages[0].width);  // only the 64-texel tile
}

TEST(CloneAtlasLayout, CoordinatesCoverTheTile) {
  const AtlasLayout layout = LayoutCloneAtlas({64, 128, 64}, 2048);
  for (const AtlasTile& tile : layout.tiles) {
    const AtlasPage& page = layout.pages[tile.page];
    const AtlasTileCoords c = TileCoords(tile, page);
    // The billboard's corners (0, 0) and (1, 1) land on the tile's corners.
    EXPECT_FLOAT_EQ(static_cast<float>(tile.x), c.offsetU * page.width);
    EXPECT_FLOAT_EQ(static_cast<float>(tile.y), c.offsetV * page.height);
    EXPECT_FLOAT_EQ(static_cast<float>(tile.x + tile.edge), (c.offsetU + c.scaleU) * page.width);
    EXPECT_FLOAT_EQ(static_cast<float>(tile.y + tile.edge), (c.offsetV + c.scaleV) * page.height);
  }
}

TEST(CloneAtlasLayout, PageEdgeFollowsTheDevice) {
  const int cases[][3] = {{4096, 4096, 2048}, {2048, 1024, 1024}, {1500, 4096, 1024}, {64, 64, 64}, {32, 4096, 0}};
  for (const auto& c : cases) EXPECT_EQ(c[2], AtlasPageEdge(c[0], c[1])) << c[0] << "x" << c[1];
}

}  // namespace
