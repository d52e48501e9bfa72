#include "TexturePanelLayout.h"

#include <cstring>

#include "diagnostics/Diagnostics.h"

void LayoutPanelCells(PanelCell* cells, float left, float top, float width) {
  const float bottom = top - kPanelCellAspect * width;
  for (int i = 0; i < kPanelCells; ++i) {
    const float x0 = left + i * width, x1 = x0 + width;
    cells[i][0] = PanelVertex{x0, top, 0.0f, 0.0f, 0.0f};
    cells[i][1] = PanelVertex{x0, bottom, 0.0f, 0.0f, 1.0f};
    cells[i][2] = PanelVertex{x1, top, 0.0f, 1.0f, 0.0f};
    cells[i][3] = PanelVertex{x1, bottom, 0.0f, 1.0f, 1.0f};
  }
}

void SetPanelGlyph(PanelCell& cell, char c) {
  const int code = static_cast<signed char>(c);
  float l = 0.0f, u = 0.0f, r = 0.0f, b = 0.0f;
  if (code >= kPanelFirstGlyph && code <= kPanelLastGlyph) {
    l = (code % 16) * 32 / 512.0f;
    u = (code / 16) * 32 / 512.0f;
    r = l + 0.0625f;
    b = u + 0.0625f;
  }
  cell[0].u = l, cell[0].v = u;
  cell[1].u = l, cell[1].v = b;
  cell[2].u = r, cell[2].v = u;
  cell[3].u = r, cell[3].v = b;
}

unsigned ClipPanelText(const char* text, char* out) {
  if (!text) text = "";
  size_t n = strnlen(text, kPanelCells + 1);
  if (n > size_t(kPanelCells)) n = kPanelCells - 1;
  memcpy(out, text, n);
  out[n] = '\0';
  return static_cast<unsigned>(n);
}

void WritePanelText(PanelCell* cells, const char* text, unsigned length, float top, float width) {
  if (length > unsigned(kPanelCells)) length = kPanelCells;
  const float bottom = top - kPanelCellAspect * width;
  for (unsigned i = 0; i < length; ++i) {
    SetPanelGlyph(cells[i], text[i]);
    cells[i][0].y = cells[i][2].y = top;
    cells[i][1].y = cells[i][3].y = bottom;
  }
}

float FadePanelAlpha(float alpha, float speed, float dt) {
  if (speed == 0.0f || !(alpha > 0.0f)) return alpha;
  alpha -= speed * dt;
  return alpha < 0.0f ? 0.0f : alpha;
}

unsigned PanelTextureFactor(float alpha) {
  float scaled = alpha * 255.0f;
  unsigned a = !(scaled > 0.0f) ? 0u : (scaled >= 255.0f ? 255u : static_cast<unsigned>(scaled));
  return a << 24 | a << 16 | a << 8 | a;
}

int FormatPanelText(char* buffer, const char* format, va_list args) {
  return FormatBounded(buffer, kPanelFormatBuffer, format, args);
}
