#pragma once
// A bare loop of a recorded frame's draw calls (DrawRecord.h): the same
// calls in the same order, with the same primitive and vertex counts, index
// sizes, strides, shader versions, texture counts, blending, depth tests,
// render-target switches and clears, on dummy buffers and trivial shaders,
// and nothing of the program around them. Each draw's dummy triangles cover
// about as many pixels as the recorded call drew, so that the rasterizer's
// share of the frame stays comparable.
#include <d3d9.h>

#include <map>
#include <string>
#include <vector>

#include "diagnostics/DrawRecord.h"

// Dummy geometry of one recorded draw on a target of w x h pixels: clip-space
// x, y per vertex (`vertices` of them) and, for indexed calls, the indices.
// The draws of a frame are spread over the target by their place in it
// (`slot`), as a scene's are, so that the rasterizer's tiles share the work
// as they do for the scene.
struct ReplayGeometry {
  std::vector<float> xy;
  std::vector<UINT> indices;
};
ReplayGeometry LayoutReplayDraw(const DrawRecordEvent& draw, UINT w, UINT h, size_t slot = 0);

class DrawReplay {
 public:
  // Without `fill` every dummy triangle has no area: the calls alone, with
  // next to nothing for the rasterizer.
  DrawReplay(IDirect3DDevice9* device, const DrawRecord& record, bool fill = true);
  ~DrawReplay();
  DrawReplay(const DrawReplay&) = delete;
  DrawReplay& operator=(const DrawReplay&) = delete;

  // Buffers, targets, textures and shaders; false with a message when the
  // device cannot make them.
  bool Prepare(std::string* error);
  // One frame: every recorded call, then Present. The first failing result.
  HRESULT Frame();

 private:
  struct Target {
    IDirect3DTexture9* texture = nullptr;
    IDirect3DSurface9* colour = nullptr;
    IDirect3DSurface9* depth = nullptr;
  };
  struct Placed {
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    UINT stride = 0;
    UINT firstVertex = 0;
    UINT firstIndex = 0;
    IDirect3DVertexDeclaration9* declaration = nullptr;
    IDirect3DVertexShader9* vertexShader = nullptr;
    IDirect3DPixelShader9* pixelShader = nullptr;
  };

  bool MakeTargets(std::string* error);
  bool MakeBuffers(std::string* error);
  bool MakeShaders(std::string* error);
  IDirect3DVertexDeclaration9* Declaration(UINT stride);
  void SetFixedStages(UINT textures);

  IDirect3DDevice9* device_;
  const DrawRecord& record_;
  bool fill_;
  std::vector<Target> targets_;
  std::vector<Placed> placed_;  // one per event; unused for clears
  std::map<UINT, IDirect3DVertexBuffer9*> vertexBuffers_;  // by stride
  std::map<UINT, IDirect3DIndexBuffer9*> indexBuffers_;    // by index size
  std::map<UINT, IDirect3DVertexDeclaration9*> declarations_;  // by stride
  std::map<std::pair<DWORD, bool>, IDirect3DVertexShader9*> vertexShaders_;  // version, texture coordinates
  std::map<std::pair<DWORD, UINT>, IDirect3DPixelShader9*> pixelShaders_;    // version, textures
  IDirect3DTexture9* texture_ = nullptr;
};
