#pragma once
// Small decisions of the light effects, kept apart from the device: the
// caustic frame, the lone-fish light's colour and the sky dome's mapping.
#include <d3dx9math.h>

constexpr int kCausticFrames = 32;  // a loop of 32 frames at 32 per second

// trunc(32 t) AND 31; 0 for a time that is not a finite number >= 0.
int CausticFrame(float t);

// The lone-fish light's level by the Lights setting: 3, 2, 1 for 0, 1, 2
// (the nearest for other values).
float FishLightLevel(int lights);
// Its colour at phase a = t x rate: red 0.55 e, green e (0.25 sin a + 0.7),
// blue e (0.25 cos 1.3a + 0.75), alpha 1.
D3DXVECTOR4 FishLightColour(float level, float a);

// One vertex of the sky dome from its mesh position and the mesh's highest
// y (h): u = 0.5 + (e / pi) sin a and v = 0.5 + (e / pi) cos a (each kept
// within 0..1) with e = acos(y / h), a = atan2(x, z); the position is
// flattened (y halved) and shrunk to a third.
struct SkyVertex {
  float x, y, z;
  float nx, ny, nz;
  float u, v;
};
static_assert(sizeof(SkyVertex) == 32, "sky vertex is 32 bytes");
SkyVertex MakeSkyVertex(const float* meshVertex, float top);

// Vertex-shader constant 23 while the dome is drawn: fog from 40 to 80.
constexpr float kSkyFog[4] = {0.0f, 80.0f, 0.025f, 0.0f};
