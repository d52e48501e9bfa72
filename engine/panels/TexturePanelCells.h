#pragma once
// The text state and device side of a screen text panel (C7TexturePanel):
// its text, opacity and fade, the 64 cells' CPU copy and their dynamic vertex
// buffer, and the draw of the cells from the glyph atlas.
#include <d3d9.h>

#include <cstdarg>

#include "TexturePanelLayout.h"
#include "buffers/DrawContext.h"

// Servers, state block, shader and atlas of a panel draw.
struct PanelDrawContext : DrawContext {
  IUnknown* copyVs = nullptr;
  IDirect3DVertexDeclaration9* copyDecl = nullptr;
  IDirect3DTexture9* atlas = nullptr;
};

class TexturePanelCells {
 public:
  // Positions in clip space: the first cell's top-left corner and the cell
  // width; fade speed in opacity per second.
  TexturePanelCells(float left, float top, float width, float fadeSpeed);
  ~TexturePanelCells() { Invalidate(); }
  TexturePanelCells(const TexturePanelCells&) = delete;
  TexturePanelCells& operator=(const TexturePanelCells&) = delete;

  HRESULT Restore(IDirect3DDevice9* device);
  void Invalidate();

  // The panel's new text (cut to 64 characters, 63 when longer).
  void AddLine(const char* text);
  // Formats (bounded to 1023 characters) into the panel and makes it opaque.
  void PrintV(const char* format, va_list args);
  // Fades by the clock step and rewrites the cells of a visible text.
  HRESULT Move(float current, float previous);
  // Draws the visible text; nothing when empty or faded out.
  HRESULT Draw(const PanelDrawContext& c);

  const char* Text() const { return text_; }
  unsigned Length() const { return length_; }
  float Alpha() const { return alpha_; }
  void SetAlpha(float alpha) { alpha_ = alpha; }
  const PanelCell* Cells() const { return cells_; }

 private:
  IDirect3DDevice9* device_ = nullptr;
  IDirect3DVertexBuffer9* buffer_ = nullptr;
  PanelCell cells_[kPanelCells];
  unsigned length_ = 0;
  char text_[kPanelCells + 1] = {};
  float alpha_ = 1.0f;
  float fadeSpeed_;
  float top_, left_, width_;
};
