#pragma once
// Plain logic of the screen text panels (C7TexturePanel): cell geometry,
// glyph coordinates in the atlas, text clipping, bounded formatting and the
// fade.
#include <cstdarg>
#include <cstddef>

constexpr int kPanelCells = 64;
// Printf formats into a buffer of this size (1023 characters and a NUL).
constexpr size_t kPanelFormatBuffer = 1024;
// Cell height = kPanelCellAspect x cell width (clip space).
constexpr float kPanelCellAspect = 1.33f;
// Glyph atlas: 16 x 16 cells of 32 x 32 pixels in 512 x 512; drawable codes.
constexpr int kPanelFirstGlyph = 32;
constexpr int kPanelLastGlyph = 122;

struct PanelVertex {
  float x, y, z;
  float u, v;
};
static_assert(sizeof(PanelVertex) == 20, "panel vertex is 20 bytes (FVF 0x102)");

// Four vertices per cell in strip order: top-left, bottom-left, top-right,
// bottom-right; drawn with the shared quad index buffer.
using PanelCell = PanelVertex[4];

// Every cell's corners: cell i spans left + i x width .. + width and
// top .. top - 1.33 x width, texture coordinates of a whole cell.
void LayoutPanelCells(PanelCell* cells, float left, float top, float width);
// The atlas square of character c (taken as a signed char) on one cell;
// codes outside 32..122 get all-zero coordinates (a blank cell).
void SetPanelGlyph(PanelCell& cell, char c);
// Copies up to 64 characters of text into out (65 bytes) and returns the
// length shown: a text longer than 64 characters keeps 63.
unsigned ClipPanelText(const char* text, char* out);
// The cells' glyphs and y values for the current text (Move's rewrite).
void WritePanelText(PanelCell* cells, const char* text, unsigned length, float top, float width);
// Opacity after dt seconds at `speed` per second, never below 0; speed 0
// never fades.
float FadePanelAlpha(float alpha, float speed, float dt);
// Texture factor of the draw: alpha x 255 truncated in all four bytes.
unsigned PanelTextureFactor(float alpha);
// printf into a kPanelFormatBuffer buffer; never overruns, always terminated.
int FormatPanelText(char* buffer, const char* format, va_list args);
