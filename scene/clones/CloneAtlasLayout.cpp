#include "CloneAtlasLayout.h"

#include <algorithm>
#include <numeric>

namespace {

int PowerOfTwoAtLeast(int n) {
  int p = 1;
  while (p < n) p *= 2;
  return p;
}

}  // namespace

AtlasLayout LayoutCloneAtlas(const std::vector<int>& edges, int pageEdge) {
  AtlasLayout layout;
  layout.tiles.resize(edges.size());
  std::vector<size_t> order(edges.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return edges[a] > edges[b]; });

  // The shelf being filled on the last page.
  int x = kAtlasGutter, y = kAtlasGutter, shelf = 0;
  for (size_t i : order) {
    const int edge = edges[i];
    AtlasTile& tile = layout.tiles[i];
    tile.edge = edge;
    if (edge < 1 || edge + 2 * kAtlasGutter > pageEdge) continue;
    if (layout.pages.empty()) layout.pages.push_back({});
    if (x + edge + kAtlasGutter > pageEdge) {  // next shelf
      x = kAtlasGutter;
      y += shelf + kAtlasGutter;
      shelf = 0;
    }
    if (y + edge + kAtlasGutter > pageEdge) {  // next page
      layout.pages.push_back({});
      x = kAtlasGutter;
      y = kAtlasGutter;
      shelf = 0;
    }
    tile.page = static_cast<int>(layout.pages.size()) - 1;
    tile.x = x;
    tile.y = y;
    AtlasPage& page = layout.pages.back();
    page.width = std::max(page.width, PowerOfTwoAtLeast(x + edge + kAtlasGutter));
    page.height = std::max(page.height, PowerOfTwoAtLeast(y + edge + kAtlasGutter));
    x += edge + kAtlasGutter;
    shelf = std::max(shelf, edge);
  }
  return layout;
}

AtlasTileCoords TileCoords(const AtlasTile& tile, const AtlasPage& page) {
  if (page.width <= 0 || page.height <= 0) return {0.0f, 0.0f, 1.0f, 1.0f};
  const float w = static_cast<float>(page.width), h = static_cast<float>(page.height);
  return {tile.x / w, tile.y / h, tile.edge / w, tile.edge / h};
}

int AtlasPageEdge(int maxTextureWidth, int maxTextureHeight) {
  const int limit = std::min({maxTextureWidth, maxTextureHeight, kAtlasMaxPageEdge});
  int edge = 64;
  if (limit < edge) return 0;
  while (edge * 2 <= limit) edge *= 2;
  return edge;
}
