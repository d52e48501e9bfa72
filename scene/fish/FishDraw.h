#pragma once
// The fish's per-frame decisions that need no device: how much it dims the
// sun, its lighting and caustic constants, and which meshes and shaders a
// draw uses.
#include <d3dx9math.h>

// Factor the world's light value is multiplied by for a fish at `fish` seen
// from `camera` with the light vector `light` (pointing from the sun into
// the scene) and body-size factor f: the distance of the fish from the
// camera-to-sun line, over f, when that is above 0.5; 0 when it is below;
// 1 (no dimming) when the fish is off the line by f or more, stands within
// 0.5 of the camera, or is on the far side of the camera from the sun.
float SunDimFactor(const D3DXVECTOR3& light, const D3DXVECTOR3& camera, const D3DXVECTOR3& fish,
                   float bodySize);

// Pixel-shader constant 0: the caustic level by the Lights setting
// (0.4, 0.2, 0.1 for 0, 1, 2; 0.5 otherwise).
float FishLightsLevel(int lights);

// Vertex-shader constant 44: the caustic coordinate scale,
// 1 / (scale x body size)^0.7; 1 for a size that is not positive.
float FishCausticScale(float scale, float bodySize);

// What one draw binds: the shader pair (entries of the fish's list), the
// mesh drawn, and the streams.
struct FishDrawPlan {
  int vertexShader = 2;
  int pixelShader = 1;
  int mesh = 0;             // drawn mesh (and its index buffer)
  bool farMesh = false;     // the far mesh alone on stream 0
  bool morph = false;       // key frames on streams 1 and 2, weights in c37
  bool partial = false;     // the parts' delta on stream 3
};

// farMesh: index of the far mesh when the fish is in its far level of detail
// (0 otherwise). hasMorph and hasPartial: the records exist and their
// buffers are ready this frame.
FishDrawPlan PlanFishDraw(int farMesh, bool hasMorph, bool hasPartial, bool pixelShaders);
