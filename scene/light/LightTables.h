#pragma once
// Static tables of the light effects: shader lists and render-state lists of
// the light shafts, the lens flare, the sky dome and the logo.
#include <d3d9.h>

#include <cstdint>

#include "servers/VSServer.h"

// Logo shader list entries, in list order.
enum LogoShader : int {
  kLogoEnvVs = 0,     // relief and cube-map reflection (pixel-shader path)
  kLogoPs = 1,
  kLogoSphereVs = 2,  // reflection picture by view-space normal (fixed function)
  kLogoShaderCount = 3,
};

extern const ShaderDescriptor g_LightTowerShaders[1];
extern const ShaderDescriptor g_FlareShaders[1];
extern const ShaderDescriptor g_SkydomeShaders[1];
extern const ShaderDescriptor g_LogoShaders[kLogoShaderCount];

// Light shafts: added to the scene (ONE, ONE), no depth writes, both sides.
extern const uint32_t g_LightTowerStates[];
// Flare elements: added by their alpha (texture alpha x TEXTUREFACTOR).
extern const uint32_t g_FlareStates[];
// Sky dome: opaque behind everything, no depth writes, fogged.
extern const uint32_t g_SkydomeStates[];
// Logo: opaque, depth writes; the stage records apply without pixel shaders.
extern const uint32_t g_LogoStates[];
