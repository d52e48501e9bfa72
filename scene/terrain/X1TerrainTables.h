#pragma once
// The terrain's static tables: its vertex layout, its four shaders, its
// render states and the images it draws with.
#include <d3d9.h>

#include <cstdint>

#include "servers/VSServer.h"

// Shader list entries, in list order.
enum TerrainShader : int {
  kTerrainLitVs = 0,     // fixed stages: the floor lit per vertex
  kTerrainReliefVs = 1,  // pixel shaders: relief and caustic coordinates
  kTerrainReliefPs = 2,  // relief, feature blend and caustic
  kTerrainPlainPs = 3,   // relief and feature blend, no caustic
  kTerrainShaderCount = 4,
};

// Position, normal, feature weights (COLOR 0, three floats), texture
// coordinate: the 44-byte terrain vertex on stream 0.
extern const D3DVERTEXELEMENT9 kTerrainDecl[];
extern const ShaderDescriptor g_TerrainShaders[kTerrainShaderCount];
// Depth writes, no blending, fog, counter-clockwise culling; for the fixed
// stages the floor image times the vertex light plus the caustic.
extern const uint32_t g_TerrainStates[];

// Images by FloorMaterial: sand and ripples for 0, silt and gravel for any
// other value (as the bump scale reads it).
struct TerrainImage {
  const void* data;
  unsigned size;
};
TerrainImage TerrainFloorImage(int floorMaterial);
TerrainImage TerrainFeatureImage();
TerrainImage TerrainReliefImage(int floorMaterial);
