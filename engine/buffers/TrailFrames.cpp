#include "TrailFrames.h"
#include "diagnostics/C3DrawCounter.h"

#include <cstring>

#include "diagnostics/Diagnostics.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "util/ComRelease.h"

namespace {

const char kSource[] = "X5RendringScene";

}  // namespace

HRESULT TrailFrames::Restore(IDirect3DDevice9* device, unsigned width, unsigned height,
                             unsigned keptCount) {
  Invalidate();
  device_ = device;
  width_ = width;
  height_ = height;
  if (!device_) return E_POINTER;
  HRESULT hr;
  for (unsigned i = 0; i < keptCount; ++i) {
    IDirect3DTexture9* texture = nullptr;
    hr = device_->CreateTexture(width_, height_, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                D3DPOOL_DEFAULT, &texture, nullptr);
    if (FatalCheck(kSource, __LINE__, __TIME__, hr)) return hr;
    textures_.push_back(texture);
    IDirect3DSurface9* surface = nullptr;
    hr = texture->GetSurfaceLevel(0, &surface);
    if (FatalCheck(kSource, __LINE__, __TIME__, hr)) return hr;
    surfaces_.push_back(surface);
  }
  hr = device_->CreateDepthStencilSurface(width_, height_, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0,
                                          FALSE, &ownDepth_, nullptr);
  if (FatalCheck(kSource, __LINE__, __TIME__, hr)) return hr;
  FatalCheck(kSource, __LINE__, __TIME__, device_->GetRenderTarget(0, &savedTarget_));
  FatalCheck(kSource, __LINE__, __TIME__, device_->GetDepthStencilSurface(&savedDepth_));
  D3DSURFACE_DESC desc = {};
  screenMultisampled_ = savedTarget_ && SUCCEEDED(savedTarget_->GetDesc(&desc)) &&
                        desc.MultiSampleType != D3DMULTISAMPLE_NONE;

  const UINT bytes = kTrailGridVertices * sizeof(TrailGridVertex);
  hr = device_->CreateVertexBuffer(bytes, D3DUSAGE_WRITEONLY, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1,
                                   D3DPOOL_MANAGED, &grid_, nullptr);
  if (FatalCheck(kSource, __LINE__, __TIME__, hr)) return hr;
  const TrailGridVertex* stored = TrailGridStatic();
  gridVertices_.resize(kTrailGridVertices);
  for (int i = 0; i < kTrailGridVertices; ++i)
    gridVertices_[i] = MakeTrailGridVertex(stored[i].x, stored[i].y, stored[i].z);
  void* data = nullptr;
  hr = grid_->Lock(0, 0, &data, 0);
  if (FatalCheck(kSource, __LINE__, __TIME__, hr)) return hr;
  memcpy(data, gridVertices_.data(), bytes);
  FatalCheck(kSource, __LINE__, __TIME__, grid_->Unlock());
  return 0;
}

void TrailFrames::Invalidate() {
  gridVertices_.clear();
  gridVertices_.shrink_to_fit();
  for (IDirect3DSurface9*& s : surfaces_) SafeRelease(s);
  for (IDirect3DTexture9*& t : textures_) SafeRelease(t);
  surfaces_.clear();
  textures_.clear();
  SafeRelease(ownDepth_);
  SafeRelease(savedTarget_);
  SafeRelease(savedDepth_);
  SafeRelease(grid_);
}

HRESULT TrailFrames::BeginTarget() {
  if (!device_ || surfaces_.empty()) return 0;
  FatalCheck(kSource, __LINE__, __TIME__, device_->SetRenderTarget(0, surfaces_[0]));
  HRESULT hr = device_->SetDepthStencilSurface(ownDepth_);
  FatalCheck(kSource, __LINE__, __TIME__, hr);
  return hr;
}

HRESULT TrailFrames::EndTarget(bool keepDepth) {
  if (!device_ || !savedTarget_) return 0;
  HRESULT hr = device_->SetRenderTarget(0, savedTarget_);
  FatalCheck(kSource, __LINE__, __TIME__, hr);
  // A multisampled screen target cannot be used with the single-sampled own
  // depth surface: it gets its own depth surface back.
  if (!keepDepth || screenMultisampled_) {
    hr = device_->SetDepthStencilSurface(savedDepth_);
    FatalCheck(kSource, __LINE__, __TIME__, hr);
  }
  return hr;
}

void TrailFrames::Rotate() {
  RotateKeptFrames(textures_);
  RotateKeptFrames(surfaces_);
}

void TrailFrames::Swap() {
  SwapKeptFrames(textures_);
  SwapKeptFrames(surfaces_);
}

HRESULT TrailFrames::Composite(const TrailDrawContext& c, const float wave[4], float phase) {
  IDirect3DDevice9* d = c.device;
  if (!d || !grid_ || !c.shaders || !c.states || !c.buffers) return 0;
  d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
  d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
  c.states->SetSB(c.block);
  d->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);

  c.buffers->SetVB(0, grid_, sizeof(TrailGridVertex), true);
  SetVertexConstants(d, 45, wave, 1);
  const float phaseConstant[4] = {phase, 0.0f, 0.0f, 0.0f};
  SetVertexConstants(d, 46, phaseConstant, 1);
  d->SetRenderState(D3DRS_TEXTUREFACTOR, 0x20202020);
  // The texture stages of the state block do the colouring.
  c.shaders->SetShaders(c.waveVs, VSServer::kNoPixelShader, c.waveDecl);

  const int end = TrailLayerEnd(KeptCount());
  for (int i = TrailFirstLayer(); i < end; ++i) {
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, i == TrailFirstLayer() ? FALSE : TRUE);
    FatalCheck(kSource, __LINE__, __TIME__, d->SetTexture(0, textures_[i]));
    c.buffers->SetIB(c.gridIndices, true);
    C3DrawCounter::DrawIndexed(d, D3DPT_TRIANGLELIST, 0, 0, kTrailGridVertices, 0, kTrailGridFaces);
  }
  // No kept frame stays bound to the device (it would hold the frame past an
  // invalidation).
  d->SetTexture(0, nullptr);
  FatalCheck(kSource, __LINE__, __TIME__, d->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL));
  d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  return 0;
}
