#pragma once
// The device side of a render buffer: up to six render-target textures of one
// size, an own depth surface, the screen's saved colour and depth surfaces
// and a full-screen quad. X1RenderingBuffer and X1GlareBuffer own one.
//
// Everything is made in Restore and released in Invalidate; Restore first
// releases whatever an earlier Restore left, so nothing piles up across
// device resets.
#include <d3d9.h>

struct QuadPlacement {
  float top = 1.0f;
  float left = -1.0f;
  float size = 2.0f;
};

// The quad's four vertices (x, y, z, u, v) in strip order for a target of
// width x height. The whole quad is moved half a texel left and up, which
// puts texel centres on pixel centres: a pass reads its source texel for
// texel instead of averaging neighbours (moving only the right and top
// edges would stretch the image and drift the glare a little every pass).
void BuildTargetQuad(const QuadPlacement& placement, unsigned width, unsigned height,
                     float out[4][5]);

class RenderTargets {
 public:
  static constexpr unsigned kMaxTargets = 6;

  RenderTargets() = default;
  ~RenderTargets() { Invalidate(); }
  RenderTargets(const RenderTargets&) = delete;
  RenderTargets& operator=(const RenderTargets&) = delete;

  // Makes `count` (at most 6) A8R8G8B8 targets of width x height, the own
  // D24X8 depth surface when ownDepth, takes the device's render target 0 and
  // depth surface, and writes the quad. Device results go through the fatal
  // check under `sourceName`; a failing creation is also returned.
  HRESULT Restore(IDirect3DDevice9* device, unsigned width, unsigned height, unsigned count,
                  bool ownDepth, const char* sourceName);
  void Invalidate();

  // Target 0 with the own depth surface (or none).
  HRESULT BeginTarget();
  // The saved screen surfaces again.
  HRESULT EndTarget();

  unsigned Width() const { return width_; }
  unsigned Height() const { return height_; }
  unsigned Count() const { return count_; }
  IDirect3DTexture9* Texture(unsigned i) const { return i < kMaxTargets ? textures_[i] : nullptr; }
  IDirect3DSurface9* Surface(unsigned i) const { return i < kMaxTargets ? surfaces_[i] : nullptr; }
  IDirect3DSurface9* OwnDepth() const { return ownDepth_; }
  IDirect3DVertexBuffer9* Quad() const { return quad_; }
  QuadPlacement& Placement() { return placement_; }

 private:
  IDirect3DDevice9* device_ = nullptr;
  const char* source_ = "RenderTargets";
  IDirect3DSurface9* savedTarget_ = nullptr;
  IDirect3DSurface9* savedDepth_ = nullptr;
  IDirect3DSurface9* ownDepth_ = nullptr;
  QuadPlacement placement_;
  IDirect3DVertexBuffer9* quad_ = nullptr;
  unsigned width_ = 0, height_ = 0;
  IDirect3DTexture9* textures_[kMaxTargets] = {};
  IDirect3DSurface9* surfaces_[kMaxTargets] = {};
  unsigned count_ = 0;
  bool useOwnDepth_ = true;
};
