#pragma once
// Where each render texture's picture goes in the shared clone atlas: square
// tiles packed in shelves onto pages of at most a given edge, with a gutter
// of cleared texels around every tile so that filtering at a billboard's
// border never reaches a neighbour's picture. No device involved.
#include <vector>

// Cleared texels between tiles and along the page borders.
constexpr int kAtlasGutter = 2;
// Largest page edge used, whatever the device allows.
constexpr int kAtlasMaxPageEdge = 2048;

struct AtlasTile {
  int page = -1;  // -1: the tile fits on no page (edge too large)
  int x = 0, y = 0;
  int edge = 0;
};

struct AtlasPage {
  int width = 0, height = 0;  // powers of two covering the tiles
};

struct AtlasLayout {
  std::vector<AtlasTile> tiles;  // one per requested edge, in request order
  std::vector<AtlasPage> pages;
};

// Packs tiles of the given edges, largest first, left to right in shelves,
// onto pages of at most pageEdge x pageEdge (a power of two). An edge below
// 1, or one that with its gutters does not fit a page, gets no page.
AtlasLayout LayoutCloneAtlas(const std::vector<int>& edges, int pageEdge);

// Texture-coordinate scale and offset of a tile on its page: the billboard's
// (0..1) coordinates map to (u, v) x (scale) + (offset).
struct AtlasTileCoords {
  float offsetU, offsetV, scaleU, scaleV;
};
AtlasTileCoords TileCoords(const AtlasTile& tile, const AtlasPage& page);

// The largest power-of-two page edge a device allows, at most
// kAtlasMaxPageEdge (0 when even a 64-texel page is not allowed).
int AtlasPageEdge(int maxTextureWidth, int maxTextureHeight);
