#pragma once
// The one wave function of the sea: both sea surfaces move their vertices
// with it, the sun light tilts with it and the wave ceiling of the collision
// fields follows it. Three travelling sines, damped with the distance from
// the surface's origin.
#include <d3dx9math.h>

// The surface's 32-byte vertex (FVF 0x112): position, normal, texture
// coordinates.
struct SurfaceVertex {
  float x, y, z;
  float nx, ny, nz;
  float u, v;
};
static_assert(sizeof(SurfaceVertex) == 32, "the surface's vertex layout");

// The wave at the vertex's x and z at time t: returns the height offset and
// adds it to the vertex's y. With animateTexture the texture coordinates
// drift with the waves (u and v gain the offsets); with a normal it receives
// the unit surface normal there.
float EvaluateWaves(SurfaceVertex* vertex, float t, int animateTexture, D3DXVECTOR3* normal);

// The height offset alone at (x, z), time t.
float WaveHeight(float x, float z, float t);
