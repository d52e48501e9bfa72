// Screen text panels: layout, glyph cells, clipping, formatting and fade.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "panels/TexturePanelLayout.h"

namespace {

int Format(char* buffer, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = FormatPanelText(buffer, format, args);
  va_end(args);
  return n;
}

TEST(TexturePanelTest, CellsRunRightFromTheTopLeftCorner) {
  static PanelCell cells[kPanelCells];
  LayoutPanelCells(cells, -0.9f, 0.3f, 0.025f);
  for (int i = 0; i < kPanelCells; ++i) {
    EXPECT_FLOAT_EQ(cells[i][0].x, -0.9f + i * 0.025f);
    EXPECT_FLOAT_EQ(cells[i][2].x, -0.9f + i * 0.025f + 0.025f);
    EXPECT_FLOAT_EQ(cells[i][0].y, 0.3f);
    EXPECT_FLOAT_EQ(cells[i][1].y, 0.3f - 1.33f * 0.025f);
    EXPECT_EQ(cells[i][0].x, cells[i][1].x);
    EXPECT_EQ(cells[i][2].x, cells[i][3].x);
  }
}

TEST(TexturePanelTest, GlyphsMapToTheirAtlasCellsAndOthersAreBlank) {
  PanelCell cell{};
  SetPanelGlyph(cell, 'A');  // 65: column 1, row 4
  EXPECT_FLOAT_EQ(cell[0].u, 1 * 0.0625f);
  EXPECT_FLOAT_EQ(cell[0].v, 4 * 0.0625f);
  EXPECT_FLOAT_EQ(cell[1].v, 5 * 0.0625f);
  EXPECT_FLOAT_EQ(cell[2].u, 2 * 0.0625f);
  EXPECT_FLOAT_EQ(cell[3].u, 2 * 0.0625f);
  EXPECT_FLOAT_EQ(cell[3].v, 5 * 0.0625f);
  SetPanelGlyph(cell, 'z');
  EXPECT_FLOAT_EQ(cell[0].u, 10 * 0.0625f);
  EXPECT_FLOAT_EQ(cell[0].v, 7 * 0.0625f);
  for (char c : std::string("{|}~\x1f\n") + std::string(1, char(0x83)) + std::string(1, char(0xFF))) {
    SetPanelGlyph(cell, c);
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(cell[k].u, 0.0f) << int(c);
      EXPECT_EQ(cell[k].v, 0.0f) << int(c);
    }
  }
}

TEST(TexturePanelTest, LongTextsAreCut) {
  char out[kPanelCells + 1];
  const std::string t64(64, 'x'), t65(65, 'y');
  EXPECT_EQ(ClipPanelText(t64.c_str(), out), 64u);
  EXPECT_EQ(std::string(out), t64);
  EXPECT_EQ(ClipPanelText(t65.c_str(), out), 63u);
  EXPECT_EQ(std::string(out), std::string(63, 'y'));
  EXPECT_EQ(ClipPanelText(std::string(5000, 'z').c_str(), out), 63u);
  EXPECT_EQ(ClipPanelText(nullptr, out), 0u);
  EXPECT_STREQ(out, "");
}

TEST(TexturePanelTest, TextRewritesGlyphsAndRowsOfItsCellsOnly) {
  static PanelCell cells[kPanelCells];
  LayoutPanelCells(cells, 0.0f, 0.5f, 0.1f);
  cells[0][0].y = 9.0f;
  WritePanelText(cells, "Hi", 2, 0.5f, 0.1f);
  EXPECT_FLOAT_EQ(cells[0][0].y, 0.5f);
  EXPECT_FLOAT_EQ(cells[1][3].y, 0.5f - 0.133f);
  EXPECT_FLOAT_EQ(cells[0][0].u, ('H' % 16) * 0.0625f);
  EXPECT_FLOAT_EQ(cells[1][0].v, ('i' / 16) * 0.0625f);
  EXPECT_FLOAT_EQ(cells[2][2].u, 1.0f);  // untouched
}

TEST(TexturePanelTest, FormattingIsBoundedToTheBuffer) {
  char buffer[kPanelFormatBuffer + 16];
  memset(buffer, '#', sizeof buffer);
  const std::string big(4000, 'w');
  int n = Format(buffer, "%s%s", big.c_str(), big.c_str());
  EXPECT_EQ(n, 1023);
  EXPECT_EQ(buffer[1023], '\0');
  EXPECT_EQ(buffer[1024], '#');  // nothing written past the buffer
  Format(buffer, "%d fish %.1f", 12, 2.5);
  EXPECT_STREQ(buffer, "12 fish 2.5");
  Format(buffer, nullptr);
  EXPECT_STREQ(buffer, "");
}

TEST(TexturePanelTest, FadeIsLinearStopsAtZeroAndSpeedZeroNeverFades) {
  EXPECT_FLOAT_EQ(FadePanelAlpha(1.0f, 0.2f, 1.0f), 0.8f);
  EXPECT_EQ(FadePanelAlpha(0.1f, 0.2f, 1.0f), 0.0f);
  EXPECT_EQ(FadePanelAlpha(0.0f, 0.2f, 1.0f), 0.0f);
  EXPECT_EQ(FadePanelAlpha(1.0f, 0.0f, 100.0f), 1.0f);
  EXPECT_EQ(FadePanelAlpha(1.0f, 0.2f, 0.0f), 1.0f);  // paused clocks
  EXPECT_EQ(PanelTextureFactor(1.0f), 0xFFFFFFFFu);
  EXPECT_EQ(PanelTextureFactor(0.5f), 0x7F7F7F7Fu);
  EXPECT_EQ(PanelTextureFactor(0.0f), 0u);
  EXPECT_EQ(PanelTextureFactor(-1.0f), 0u);
  EXPECT_EQ(PanelTextureFactor(3.0f), 0xFFFFFFFFu);
}

}  // namespace
