#pragma once
// Static tables of the sea surface and its water simulation: shader lists
// and render-state lists.
#include <d3d9.h>

#include <cstdint>

#include "servers/VSServer.h"

// The fixed-function surface's list: its vertex shader, then a pixel shader.
enum LegacySeafaceShader : int { kLegacySeafaceVs = 0, kLegacySeafacePs = 1, kLegacySeafaceShaderCount = 2 };
// The shader surface's list: the bumped pair, then a lit vertex shader on the
// same declaration.
enum SeafaceShader : int { kSeafaceBumpVs = 0, kSeafaceBumpPs = 1, kSeafaceLitVs = 2, kSeafaceShaderCount = 3 };
// The water simulation's list: the two quad vertex shaders, then the pixel
// shaders of the passes in their order.
enum WaterShader : int {
  kWaterCopyVs = 0,
  kWaterOffsetVs = 1,
  kWaterForceAPs = 2,
  kWaterForceBPs = 3,
  kWaterVelocityPs = 4,
  kWaterHeightPs = 5,
  kWaterBlurPs = 6,
  kWaterNormalPs = 7,
  kWaterShaderCount = 8,
};

extern const ShaderDescriptor g_LegacySeafaceShaders[kLegacySeafaceShaderCount];
extern const ShaderDescriptor g_SeafaceShaders[kSeafaceShaderCount];
extern const ShaderDescriptor g_WaterPhysicsShaders[kWaterShaderCount];

// Both surfaces: depth writes, blended by alpha, fogged, counter-clockwise
// faces culled; the stage records apply without pixel shaders.
extern const uint32_t g_LegacySeafaceStates[];
extern const uint32_t g_SeafaceStates[];
// The simulation: no depth writes, no blending, no fog, no culling; the
// stages copy the texture for the seeding quad.
extern const uint32_t g_WaterPhysicsStates[];
