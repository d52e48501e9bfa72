#pragma once
// The light shaft's geometry and light as plain functions: the template fan,
// where a shaft hangs for a camera and light direction, how it faces, how
// its lower vertices sway along the light, and how bright it is.
#include <d3dx9math.h>

#include <cstdint>

// The 32-byte vertex of the shaft (normal always (0, 0, -1)).
struct ShaftVertex {
  float x, y, z;
  float nx, ny, nz;
  float u, v;
};
static_assert(sizeof(ShaftVertex) == 32, "shaft vertex is 32 bytes");

constexpr int kShaftVertexCount = 10;  // a fan of 8 triangles
constexpr float kShaftTopY = -2.0f;    // the shafts hang from just under the surface

// The fan: centre (0, -h/2), then the outline from the top left corner
// anticlockwise round to the top centre, closed by a copy of vertex 1.
void BuildShaftTemplate(float width, float height, ShaftVertex out[kShaftVertexCount]);

// Where a shaft with horizontal offset (offsetX, offsetZ) hangs: at y = -2,
// above the point where the line from the camera towards the sun (against
// the light vector) crosses y = 0, moved by the offset. It faces the offset
// direction: a rotation about y by -a (offsetX <= 0) or +a, a = acos(offsetZ
// / r), r = the offset's length, which is also the shaft's camera distance.
// A light vector that does not point downwards is replaced by the default
// one (0, -0.707, 0.707).
struct TowerPlacement {
  D3DXVECTOR3 position;
  float angle;     // rotation about y
  float distance;  // r
};
TowerPlacement PlaceTower(const D3DXVECTOR3& camera, const D3DXVECTOR3& light, float offsetX, float offsetZ);

// Vertices 0..8 of the template carried by the placement (rotation, then
// translation) into world space; vertex 9 repeats vertex 1.
void PlaceShaft(const ShaftVertex templ[kShaftVertexCount], const TowerPlacement& placement,
                ShaftVertex out[kShaftVertexCount]);

// The sway phases at time t: s1 = (sin(1.5 pi u) + 1) / 2 and
// s2 = (cos(2 pi u) + 1) / 2 with u = t x rate.
void SwayPhases(float t, float rate, float* s1, float* s2);

// Bends the hanging vertices along the light: slopes
// gx = (0.2 offsetX + L.x) / L.y - 0.5 s1 and gz = (0.2 offsetZ + L.z) / L.y - 0.5 s2;
// each lower vertex moves by its depth d below its top vertex (x -= gx d,
// z -= gz d): 2 and 3 below 1, 0 and 4 below 8, 5 and 6 below 7.
void SwayShaft(ShaftVertex work[kShaftVertexCount], const D3DXVECTOR3& light, float offsetX, float offsetZ,
               float s1, float s2);

// (0.3 s1^2 + 0.3 s2^2) x the factor of the Lights setting (0.2, 0.1, 0.05;
// values outside 0..2 take the nearest).
float TowerIntensity(float s1, float s2, int lights);

// The occasional flicker of a shaft. Each frame while steady, a blink starts
// when r < (t - time - 0.3) x 0.005 and lasts until time = t + (r2 + 1) x 0.3,
// r and r2 drawn from `random` (0..1; r2 only when a blink starts).
// Returns the intensity factor of this frame: 0.1 while blinking, 1.2 on
// the frame it ends, 1 otherwise.
struct TowerBlink {
  int blinking = 0;
  float time = 0.0f;
};
float StepBlink(TowerBlink* blink, float t, float (*random)());
