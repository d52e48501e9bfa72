#pragma once
// A one-line text display over the finished frame: up to 64 characters from
// the glyph atlas, each a screen-space quad, fading out after each new text.
// A world child drawn in the late pass (first view only).
#include <cstdarg>

#include "TexturePanelCells.h"
#include "world/C4VertexObject.h"

class C7TexturePanel : public C4VertexObject {
 public:
  // Clip-space position of the first cell's top-left corner, the cell width
  // and the opacity lost per second (0: never fades).
  C7TexturePanel(float left, float top, float width, float fadeSpeed);
  ~C7TexturePanel() override;

  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  // Fades on the scaled clock and rewrites the cells of a visible text.
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;

  // The panel's new text (cut to 64 characters; 63 when longer).
  virtual void AddLine(const char* text);

  // Formats into the panel (bounded to 1023 characters) and makes it fully
  // opaque; nothing for a null panel or while the product's panel level is
  // below 2. The format may come from a plug-in: it is never trusted to fit.
  static void Printf(C7TexturePanel* panel, const char* format, ...);
  static void PrintfV(C7TexturePanel* panel, const char* format, va_list args);

  const char* Text() const { return cells_.Text(); }
  unsigned Length() const { return cells_.Length(); }
  float Alpha() const { return cells_.Alpha(); }
  const TexturePanelCells& Cells() const { return cells_; }

 private:
  TexturePanelCells cells_;
};
