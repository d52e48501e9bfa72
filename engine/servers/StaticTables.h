#pragma once
// The engine's static descriptor tables: the shader descriptor lists and
// render-state record lists that drawable classes hand to their vertex-object
// part, and the program-wide constants completed once at start, before the
// main entry runs.
//
// The shaders are zlib-compressed assembly texts in the program's data
// (data/engine/shaders, turned into EngineData by tools/gen/gen_data.py).
#include <d3d9.h>

#include <cstdint>

#include "VSServer.h"

// pi = 4 atan2(1, 1), 2 pi and pi / 2, set at start.
extern float g_Pi;
extern float g_TwoPi;
extern float g_HalfPi;

// Vertex declarations: A = position, texture coordinate (20-byte vertex);
// B = position, normal, texture coordinate (32-byte vertex).
extern const D3DVERTEXELEMENT9 kDeclPosTex[];
extern const D3DVERTEXELEMENT9 kDeclPosNormalTex[];

// Render-state lists completed at start (the word after FOGCOLOR is the fog
// colour; fog itself is off in all of them).
//   S1: skinned objects; S2: texture viewers; S3: render buffers;
//   S4: glare buffers; S5: the frame-trail composite.
extern uint32_t g_StateListS1[];
extern uint32_t g_StateListS2[];
extern uint32_t g_StateListS3[];
extern uint32_t g_StateListS4[];
extern uint32_t g_StateListS5[];

// Shader lists of the engine's classes.
extern const ShaderDescriptor g_RenderingBufferShaders[2];  // copy pair; list S3
extern const ShaderDescriptor g_GlareBufferShaders[4];      // copy pair, four-tap pair; list S4
extern const ShaderDescriptor g_RenderingSceneShaders[2];   // wave vertex shader, copy pixel; S5
extern const ShaderDescriptor g_TexturePanelShaders[1];     // copy vertex shader
extern const ShaderDescriptor g_TexViewerShaders[1];        // copy vertex shader; list S2
extern const uint32_t g_TexturePanelStates[];

// Packs a float colour (red, green, blue, alpha) into a D3DCOLOR: each channel
// 255 when >= 1, 0 when <= 0 or not a number, else trunc(255 x value + 0.5).
uint32_t PackFogColor(const float rgba[4]);

// Sets the angle constants and writes the fog colour word of S1 .. S5. Runs at
// start with the engine's default colour; may run again with another.
void CompleteStaticTables(const float fogRgba[4]);
