#pragma once
// The coral piece's static tables: its two vertex shaders and its
// render-state list.
#include <d3d9.h>

#include <cstdint>

#include "servers/VSServer.h"

// Shader list entries, in list order.
enum CoralShader : int {
  kCoralStaticVs = 0,  // the rest mesh alone
  kCoralMorphVs = 1,   // rest mesh and two key frames
  kCoralShaderCount = 2,
};

extern const ShaderDescriptor g_CoralShaders[kCoralShaderCount];
// Depth writes, no blending, fog, counter-clockwise culling; the skin
// modulated by the vertex colour with the caustic added on stage 1.
extern const uint32_t g_CoralStates[];
