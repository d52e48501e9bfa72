#pragma once
// The sea surfaces' per-frame geometry and the sun light's direction, as
// plain functions on vertex arrays: every vertex is moved by the one wave
// function, EvaluateWaves.
#include <d3dx9math.h>

#include <cstdint>

#include "EvaluateWaves.h"

// The fixed-function surface's grid is stored at a tenth of its size.
constexpr float kLegacyGridScale = 10.0f;
constexpr float kLegacyTextureScale = 0.3f;
// Texture coordinates of both surfaces are multiplied by this after the waves.
constexpr float kSurfaceTextureRepeat = 10.0f;

// The fixed-function surface at time t: positions of the grid x 10, texture
// coordinates x 0.3 moved by the waves (texture animation on) and then x 10.
// Normals are left to ComputeFaceNormals.
void AnimateLegacyGrid(const SurfaceVertex* grid, int count, float t, SurfaceVertex* out);

// Per-vertex normals from the faces: each face adds its unit normal
// (B - A) x (C - B) to its three vertices; each vertex gets its normalised
// sum. sums has one entry per vertex. Faces naming a vertex past count are
// left out.
void ComputeFaceNormals(SurfaceVertex* vertices, int count, const uint16_t* indices, int faceCount,
                        D3DXVECTOR3* sums);

// The shader surface at time t: positions and texture coordinates of the
// mesh, moved by the waves (no texture animation), the negated wave normal
// (pointing down), texture coordinates x 10.
void AnimateSurface(const SurfaceVertex* mesh, int count, float t, SurfaceVertex* out);

// The resting light direction: down the sky at 45 degrees.
const D3DXVECTOR3 kSunRestDirection(0.0f, -0.707106f, 0.707106f);

// The sun light's direction at time t, tilted by the waves where the line
// from the camera along the resting direction meets the surface's plane
// (y = 0), taken relative to the surface's centre (centreX, centreZ).
D3DXVECTOR3 SunLightDirection(const D3DXVECTOR3& camera, float centreX, float centreZ, float t);
