#include "RenderTargets.h"

#include <cstring>

#include "diagnostics/Diagnostics.h"
#include "util/ComRelease.h"

void BuildTargetQuad(const QuadPlacement& p, unsigned width, unsigned height, float out[4][5]) {
  const float w = width ? float(width) : 1.0f, h = height ? float(height) : 1.0f;
  const float l = p.left - 1.0f / w, r = p.left + p.size - 1.0f / w;
  const float t = p.top + 1.0f / h, b = p.top - p.size + 1.0f / h;
  const float v[4][5] = {{l, t, 0, 0, 0}, {l, b, 0, 0, 1}, {r, t, 0, 1, 0}, {r, b, 0, 1, 1}};
  memcpy(out, v, sizeof v);
}

HRESULT RenderTargets::Restore(IDirect3DDevice9* device, unsigned width, unsigned height,
                               unsigned count, bool ownDepth, const char* sourceName) {
  Invalidate();
  device_ = device;
  if (sourceName) source_ = sourceName;
  width_ = width;
  height_ = height;
  useOwnDepth_ = ownDepth;
  if (count > kMaxTargets) {
    LogPrint("%s: %u targets asked, %u made\n", source_, count, kMaxTargets);
    count = kMaxTargets;
  }
  count_ = count;
  if (!device_) return E_POINTER;
  HRESULT hr;
  for (unsigned i = 0; i < count_; ++i) {
    hr = device_->CreateTexture(width_, height_, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                D3DPOOL_DEFAULT, &textures_[i], nullptr);
    if (FatalCheck(source_, __LINE__, __TIME__, hr)) return hr;
    hr = textures_[i]->GetSurfaceLevel(0, &surfaces_[i]);
    if (FatalCheck(source_, __LINE__, __TIME__, hr)) return hr;
  }
  if (useOwnDepth_) {
    hr = device_->CreateDepthStencilSurface(width_, height_, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0,
                                            FALSE, &ownDepth_, nullptr);
    if (FatalCheck(source_, __LINE__, __TIME__, hr)) return hr;
  }
  FatalCheck(source_, __LINE__, __TIME__, device_->GetRenderTarget(0, &savedTarget_));
  FatalCheck(source_, __LINE__, __TIME__, device_->GetDepthStencilSurface(&savedDepth_));

  hr = device_->CreateVertexBuffer(80, D3DUSAGE_WRITEONLY, D3DFVF_XYZ | D3DFVF_TEX1, D3DPOOL_MANAGED,
                                   &quad_, nullptr);
  if (FatalCheck(source_, __LINE__, __TIME__, hr)) return hr;
  void* data = nullptr;
  hr = quad_->Lock(0, 0, &data, 0);
  if (FatalCheck(source_, __LINE__, __TIME__, hr)) return hr;
  float v[4][5];
  BuildTargetQuad(placement_, width_, height_, v);
  memcpy(data, v, sizeof v);
  FatalCheck(source_, __LINE__, __TIME__, quad_->Unlock());
  return 0;
}

void RenderTargets::Invalidate() {
  for (unsigned i = 0; i < kMaxTargets; ++i) {
    SafeRelease(surfaces_[i]);
    SafeRelease(textures_[i]);
  }
  SafeRelease(ownDepth_);
  SafeRelease(savedTarget_);
  SafeRelease(savedDepth_);
  SafeRelease(quad_);
}

HRESULT RenderTargets::BeginTarget() {
  if (!device_ || !surfaces_[0]) return 0;  // nothing made (no pixel shaders)
  HRESULT hr = FatalCheck(source_, __LINE__, __TIME__, device_->SetRenderTarget(0, surfaces_[0]));
  hr = device_->SetDepthStencilSurface(useOwnDepth_ ? ownDepth_ : nullptr);
  FatalCheck(source_, __LINE__, __TIME__, hr);
  return hr;
}

HRESULT RenderTargets::EndTarget() {
  if (!device_ || !savedTarget_) return 0;
  FatalCheck(source_, __LINE__, __TIME__, device_->SetRenderTarget(0, savedTarget_));
  HRESULT hr = device_->SetDepthStencilSurface(savedDepth_);
  FatalCheck(source_, __LINE__, __TIME__, hr);
  return hr;
}
