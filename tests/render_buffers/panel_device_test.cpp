// Screen text panels on a real device: the glyph atlas through the texture
// table, the cells of a text drawn from it, the fade in the blend, and a
// device reset in between.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "D3DTestDevice.h"
#include "DeviceServers.h"
#include "panels/GlyphAtlas.h"
#include "panels/TexturePanelCells.h"
#include "servers/StaticTables.h"
#include "servers/TextureTable.h"

namespace {

using qvtest::Red;

using qvtest::DeviceReferences;

void Print(TexturePanelCells& panel, const char* format, ...) {
  va_list args;
  va_start(args, format);
  panel.PrintV(format, args);
  va_end(args);
}

class PanelDeviceTest : public ::testing::Test {
 protected:
  // 32 x 32 pixels per cell: 16 cells across 512 pixels, 1.33 x 0.125 of
  // 384 pixels high.
  static constexpr int kW = 512, kH = 384;

  void SetUp() override {
    ASSERT_TRUE(dev_.Create(kW, kH)) << dev_.Error();
    d_ = dev_.Device();
    baseRefs_ = DeviceReferences(d_);
    std::vector<unsigned char> bmp(kGlyphAtlasInflatedSize);
    uLongf n = bmp.size();
    ASSERT_EQ(uncompress(bmp.data(), &n, kGlyphAtlasData, kGlyphAtlasSize), Z_OK);
    atlas_.assign(512 * 512, 0);
    for (int y = 0; y < 512; ++y)
      for (int x = 0; x < 512; ++x) atlas_[y * 512 + x] = bmp[54 + ((511 - y) * 512 + x) * 3] != 0;
    Restore();
  }
  void TearDown() override {
    Invalidate();
    if (d_) {
      EXPECT_EQ(baseRefs_, DeviceReferences(d_));
    }
  }

  void Restore() {
    servers_.Restore(d_);
    ASSERT_EQ(panel_.Restore(d_), 0);
    servers_.Bind(d_, &c_);
    c_.block = servers_.sb.CreateSB(g_TexturePanelStates);
    c_.copyVs = servers_.vs.GetShader(&g_TexturePanelShaders[0], &c_.copyDecl);
    ASSERT_EQ(LoadTextureFromMemory(d_, kGlyphAtlasData, kGlyphAtlasSize, &c_.atlas,
                                    D3DFMT_UNKNOWN, 0),
              0);
  }
  void Invalidate() {
    if (c_.atlas) ReleaseTexture(c_.atlas);
    c_.atlas = nullptr;
    panel_.Invalidate();
    servers_.Invalidate();
  }

  std::vector<uint32_t> Show(int background) {
    d_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER,
              D3DCOLOR_XRGB(background, background, background), 1.0f, 0);
    panel_.Move(1.0f, 1.0f);
    if (d_->BeginScene() == 0) {
      panel_.Draw(c_);
      d_->SetTexture(0, nullptr);
      d_->EndScene();
    }
    return dev_.ReadBackBuffer();
  }

  bool AtlasLit(int code, int x, int y) const {
    if (x < 0 || y < 0 || x >= 32 || y >= 32) return false;
    return atlas_[((code / 16) * 32 + y) * 512 + (code % 16) * 32 + x];
  }
  // Cell i of the screen against the atlas glyph of code: every lit pixel has
  // a lit glyph pixel within one pixel, and the other way round. Returns the
  // lit pixel count.
  int CheckCell(const std::vector<uint32_t>& screen, int cell, int code, int threshold) {
    int lit = 0;
    for (int y = 0; y < 31; ++y)
      for (int x = 0; x < 32; ++x) {
        const bool on = Red(screen[y * kW + cell * 32 + x]) > threshold;
        lit += on;
        bool nearAtlas = false, nearScreen = false;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            nearAtlas |= AtlasLit(code, x + dx, y + dy);
            const int sx = cell * 32 + x + dx, sy = y + dy;
            if (sx >= cell * 32 && sx < cell * 32 + 32 && sy >= 0 && sy < kH)
              nearScreen |= Red(screen[sy * kW + sx]) > threshold;
          }
        if (on) {
          EXPECT_TRUE(nearAtlas) << "cell " << cell << " '" << char(code) << "' " << x << "," << y;
        }
        if (AtlasLit(code, x, y) && y < 31) {
          EXPECT_TRUE(nearScreen) << "cell " << cell << " '" << char(code) << "' " << x << "," << y;
        }
      }
    return lit;
  }

  qvtest::D3DTestDevice dev_;
  IDirect3DDevice9* d_ = nullptr;
  ULONG baseRefs_ = 0;
  DeviceServers servers_;
  TexturePanelCells panel_{-1.0f, 1.0f, 0.125f, 0.2f};
  PanelDrawContext c_;
  std::vector<unsigned char> atlas_;
};

TEST_F(PanelDeviceTest, ShowsTheGlyphCellsOfItsTextAcrossAReset) {
  const std::string text = "Az 9{ ~%";
  for (int round = 0; round < 2; ++round) {
    Print(panel_, "%s", text.c_str());
    std::vector<uint32_t> screen = Show(0);
    ASSERT_EQ(screen.size(), size_t(kW * kH));
    for (size_t i = 0; i < text.size(); ++i) {
      const int code = text[i];
      const int lit = CheckCell(screen, int(i), code, 128);
      if (code > 32 && code <= 122) {
        EXPECT_GT(lit, 10) << "cell " << i;
      } else {
        EXPECT_EQ(lit, 0) << "cell " << i;
      }
    }
    // Nothing right of the text or below the row.
    EXPECT_EQ(Red(screen[10 * kW + 32 * 8 + 10]), 0);
    EXPECT_EQ(Red(screen[40 * kW + 40]), 0);
    Invalidate();
    ASSERT_EQ(dev_.Reset(), 0) << "a resource made at restore outlived the invalidation";
    Restore();
  }
}

TEST_F(PanelDeviceTest, FadedPanelBlendsAndAFadedOutPanelDrawsNothing) {
  Print(panel_, "%s", "H");
  panel_.SetAlpha(0.5f);
  std::vector<uint32_t> screen = Show(100);
  // Cell background: black at alpha 127/255 over grey 100; a glyph pixel:
  // white at the same alpha.
  const float a = 127.0f / 255.0f;
  int glyph = -1, blank = -1;
  for (int y = 0; y < 31 && (glyph < 0 || blank < 0); ++y)
    for (int x = 0; x < 32; ++x) {
      if (AtlasLit('H', x, y) && AtlasLit('H', x - 1, y) && AtlasLit('H', x + 1, y)) glyph = y * kW + x;
      bool clear = true;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) clear &= !AtlasLit('H', x + dx, y + dy);
      if (clear && y > 0 && x > 0) blank = y * kW + x;
    }
  ASSERT_GE(glyph, 0);
  ASSERT_GE(blank, 0);
  EXPECT_NEAR(Red(screen[glyph]), 255 * a + 100 * (1 - a), 3);
  EXPECT_NEAR(Red(screen[blank]), 100 * (1 - a), 3);
  EXPECT_EQ(Red(screen[100 * kW + 100]), 100);

  panel_.SetAlpha(0.0f);
  screen = Show(100);
  EXPECT_EQ(Red(screen[glyph]), 100);
  EXPECT_EQ(Red(screen[blank]), 100);
}

TEST_F(PanelDeviceTest, PrintfMakesOpaqueAndCutsLongTexts) {
  panel_.SetAlpha(0.0f);
  Print(panel_, "%s", std::string(65, 'k').c_str());
  EXPECT_EQ(panel_.Alpha(), 1.0f);
  EXPECT_EQ(panel_.Length(), 63u);
  Print(panel_, "%0*d", 3000, 7);  // far past the 1024-byte buffer
  EXPECT_EQ(panel_.Length(), 63u);
  EXPECT_EQ(std::string(panel_.Text()), std::string(63, '0'));
  panel_.Move(2.0f, 1.0f);
  EXPECT_FLOAT_EQ(panel_.Alpha(), 0.8f);
}

}  // namespace
