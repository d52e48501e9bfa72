#pragma once
// The device passes of the glare: smoothing of this frame's sources into the
// kept image, the separable blur and the additive overlay. X1GlareBuffer
// draws its sources into target 0 and then calls these.
#include <d3d9.h>

#include "DrawContext.h"
#include "RenderTargets.h"
#include "X1GlareKernel.h"

// Servers, state block and shaders the passes bind.
struct GlareDrawContext : DrawContext {
  IUnknown* copyVs = nullptr;
  IUnknown* copyPs = nullptr;
  IDirect3DVertexDeclaration9* copyDecl = nullptr;
  IUnknown* fourTapVs = nullptr;
  IUnknown* fourTapPs = nullptr;
  IDirect3DVertexDeclaration9* fourTapDecl = nullptr;
};

// Smoothing (target 1 + selector = a x sources + b x target 2 - selector),
// horizontal blur into target 3 and vertical blur into target 2 - selector;
// no depth surface is bound while they draw. Ends with the screen's surfaces
// bound again, stages 0 to 3 wrapping and z testing on.
void RunGlarePasses(const GlareDrawContext& c, RenderTargets& targets, int selector,
                    const X1GlareKernel& kernel, float intensity, float dt);

// Adds the glare (target 2 - selector) over whatever target is bound.
void DrawGlareOverlay(const GlareDrawContext& c, RenderTargets& targets, int selector);
