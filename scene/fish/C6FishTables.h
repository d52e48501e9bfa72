#pragma once
// The fish's static tables: its six shaders and its two render-state lists
// (the normal draw, and the draw into a render texture without blending).
#include <d3d9.h>

#include <cstdint>

#include "servers/VSServer.h"

// Shader list entries, in list order.
enum FishShader : int {
  kFishPartialVs = 0,    // partial morph, no pixel shaders
  kFishPs = 1,           // skin, light and caustic
  kFishStaticVs = 2,     // rest mesh or far mesh alone
  kFishMorphVs = 3,      // rest mesh and two key frames
  kFishPartialPsVs = 4,  // partial morph for the pixel-shader path
  kFishPartialPs = 5,    // its pixel shader (skin, caustic and sheen)
  kFishShaderCount = 6,
};

// Vertex layouts: stream 0 the 32-byte rest vertex, streams 1 and 2 the
// 24-byte key-frame vertices, stream 3 the 24-byte partial-morph delta.
extern const D3DVERTEXELEMENT9 kFishMorphDecl[];
extern const D3DVERTEXELEMENT9 kFishPartialDecl[];

extern const ShaderDescriptor g_FishShaders[kFishShaderCount];
// Alpha blending on: the normal draw.
extern const uint32_t g_FishStates[];
// The same list with blending off: the draw into a render texture.
extern const uint32_t g_FishCaptureStates[];
