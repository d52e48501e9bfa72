#include "TexturePanelCells.h"
#include "diagnostics/C3DrawCounter.h"

#include <cstring>

#include "diagnostics/Diagnostics.h"
#include "servers/SBServer.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "util/ComRelease.h"

namespace {
const char kSource[] = "C7TexturePanel";
}

TexturePanelCells::TexturePanelCells(float left, float top, float width, float fadeSpeed)
    : fadeSpeed_(fadeSpeed), top_(top), left_(left), width_(width) {
  LayoutPanelCells(cells_, left_, top_, width_);
}

HRESULT TexturePanelCells::Restore(IDirect3DDevice9* device) {
  Invalidate();
  device_ = device;
  if (!device_) return E_POINTER;
  HRESULT hr = device_->CreateVertexBuffer(sizeof cells_, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC,
                                           D3DFVF_XYZ | D3DFVF_TEX1, D3DPOOL_DEFAULT, &buffer_,
                                           nullptr);
  if (FatalCheck(kSource, __LINE__, __TIME__, hr)) return hr;
  LayoutPanelCells(cells_, left_, top_, width_);
  return 0;
}

void TexturePanelCells::Invalidate() { SafeRelease(buffer_); }

void TexturePanelCells::AddLine(const char* text) { length_ = ClipPanelText(text, text_); }

void TexturePanelCells::PrintV(const char* format, va_list args) {
  char buffer[kPanelFormatBuffer];
  FormatPanelText(buffer, format, args);
  AddLine(buffer);
  alpha_ = 1.0f;
}

HRESULT TexturePanelCells::Move(float current, float previous) {
  alpha_ = FadePanelAlpha(alpha_, fadeSpeed_, current - previous);
  if (length_ == 0 || alpha_ == 0.0f) return 0;
  WritePanelText(cells_, text_, length_, top_, width_);
  if (!buffer_) return 0;
  void* data = nullptr;
  const UINT bytes = length_ * sizeof(PanelCell);
  HRESULT hr = buffer_->Lock(0, bytes, &data, D3DLOCK_DISCARD);
  if (FatalCheck(kSource, __LINE__, __TIME__, hr)) return hr;
  memcpy(data, cells_, bytes);
  return FatalCheck(kSource, __LINE__, __TIME__, buffer_->Unlock());
}

HRESULT TexturePanelCells::Draw(const PanelDrawContext& c) {
  IDirect3DDevice9* d = c.device;
  if (length_ == 0 || alpha_ == 0.0f || !d || !buffer_ || !c.shaders || !c.states || !c.buffers)
    return 0;
  c.states->SetSB(c.block);
  c.shaders->SetShaders(c.copyVs, VSServer::kNoPixelShader, c.copyDecl);
  c.buffers->SetVB(0, buffer_, sizeof(PanelVertex), true);
  c.buffers->SetQuadIB();
  d->SetTexture(0, c.atlas);
  d->SetRenderState(D3DRS_TEXTUREFACTOR, PanelTextureFactor(alpha_));
  d->SetRenderState(D3DRS_ZENABLE, FALSE);
  C3DrawCounter::DrawIndexed(d, D3DPT_TRIANGLELIST, 0, 0, 4 * length_, 0, 2 * length_);
  d->SetRenderState(D3DRS_ZENABLE, TRUE);
  return 0;
}
