#pragma once
// The device side of the frame trail (X5RenderingScene): N kept full-size
// frames (newest first), an own depth surface, the screen's saved surfaces
// and the waving grid; the composite of the kept frames onto the screen.
//
// Everything is made in Restore and released in Invalidate; Restore first
// releases whatever an earlier Restore left, so the lists always hold exactly
// N frames and nothing piles up across device resets.
#include <d3d9.h>

#include <vector>

#include "DrawContext.h"
#include "FrameTrail.h"

// Servers, state block, wave shader and the grid's index buffer of a draw.
struct TrailDrawContext : DrawContext {
  IUnknown* waveVs = nullptr;
  IDirect3DVertexDeclaration9* waveDecl = nullptr;
  IDirect3DIndexBuffer9* gridIndices = nullptr;
};

class TrailFrames {
 public:
  TrailFrames() = default;
  ~TrailFrames() { Invalidate(); }
  TrailFrames(const TrailFrames&) = delete;
  TrailFrames& operator=(const TrailFrames&) = delete;

  HRESULT Restore(IDirect3DDevice9* device, unsigned width, unsigned height, unsigned keptCount);
  void Invalidate();

  // Kept frame 0 with the own depth surface.
  HRESULT BeginTarget();
  // The screen's target again; unless keepDepth, its depth surface too. The
  // own depth surface is never left bound to a multisampled screen target
  // (its depth surface is bound instead).
  HRESULT EndTarget(bool keepDepth);

  void Rotate();
  void Swap();

  // Kept frames 1 .. N - 2 onto the bound target through the waving grid:
  // the first opaque, the older ones at 32/255 over it.
  HRESULT Composite(const TrailDrawContext& c, const float wave[4], float phase);

  unsigned Width() const { return width_; }
  unsigned Height() const { return height_; }
  unsigned KeptCount() const { return unsigned(textures_.size()); }
  IDirect3DTexture9* KeptTexture(unsigned i) const { return i < textures_.size() ? textures_[i] : nullptr; }
  IDirect3DSurface9* KeptSurface(unsigned i) const { return i < surfaces_.size() ? surfaces_[i] : nullptr; }
  IDirect3DSurface9* OwnDepth() const { return ownDepth_; }
  IDirect3DVertexBuffer9* Grid() const { return grid_; }
  const std::vector<TrailGridVertex>& GridVertices() const { return gridVertices_; }

 private:
  IDirect3DDevice9* device_ = nullptr;
  IDirect3DSurface9* savedTarget_ = nullptr;
  IDirect3DSurface9* savedDepth_ = nullptr;
  IDirect3DSurface9* ownDepth_ = nullptr;
  IDirect3DVertexBuffer9* grid_ = nullptr;
  std::vector<IDirect3DTexture9*> textures_;
  std::vector<IDirect3DSurface9*> surfaces_;
  std::vector<TrailGridVertex> gridVertices_;
  bool screenMultisampled_ = false;
  unsigned width_ = 800, height_ = 600;
};
