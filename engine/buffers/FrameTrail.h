#pragma once
// Plain logic of the frame trail (X5RenderingScene): when the kept frames
// rotate, the wave pulse, the wave phase and parameters, the waving grid and
// which kept frames the composite draws.
#include <algorithm>
#include <cstdint>
#include <vector>

// Seconds between two rotations of the kept frames.
constexpr float kTrailShiftStep = 0.005f;

// Advances `lastShift` to the first value lastShift + n x 0.005 that is not
// below t and returns true (rotate the kept frames), or returns false when
// less than 0.005 s passed (swap the first two). Takes the same time for any
// t: far into a run, where a single-precision step of 0.005 no longer changes
// the value, lastShift becomes t itself.
bool AdvanceTrailShift(float& lastShift, float t);

// Rotation by one towards the back: the last entry becomes entry 0.
template <class T>
void RotateKeptFrames(std::vector<T>& list) {
  if (list.size() > 1) std::rotate(list.rbegin(), list.rbegin() + 1, list.rend());
}
// Entries 0 and 1 change places (nothing with fewer than two).
template <class T>
void SwapKeptFrames(std::vector<T>& list) {
  if (list.size() > 1) std::swap(list[0], list[1]);
}

// The wave grows at random intervals: next pulse time, half-width and gap.
struct TrailPulse {
  float nextPulse = 0.0f;
  float halfWidth = 2.0f;
  float gapMinimum = 10.0f;
  float gapRange = 40.0f;
};
// Returns the pulse weight h at time t (1 at the pulse time, 0 from a
// half-width away). Once t is past the pulse, the next one is set r x range
// after the minimum gap (r in 0..1) and h is 0.
float StepTrailPulse(TrailPulse& pulse, float t, float r);

// Wave phase advanced by (t - tPrev) x (h + 1) x 0.3, kept in [0, 2 pi).
float AdvanceWavePhase(float phase, float t, float tPrev, float h);
// Vertex constant 45 of the wave shader.
void TrailWaveParameters(float h, float out[4]);

// The waving grid: 15 x 15 vertices over -1.4..1.4 in clip space, two
// triangles per cell.
constexpr int kTrailGridSide = 15;
constexpr int kTrailGridVertices = kTrailGridSide * kTrailGridSide;
constexpr int kTrailGridFaces = (kTrailGridSide - 1) * (kTrailGridSide - 1) * 2;

struct TrailGridVertex {
  float x, y, z;
  float nx, ny, nz;
  float u, v;
};
static_assert(sizeof(TrailGridVertex) == 32, "grid vertex is 32 bytes (FVF 0x112)");

// The stored grid (positions; normals and texture coordinates 0).
const TrailGridVertex* TrailGridStatic();
// 392 triangles as 16-bit indices.
const uint16_t* TrailGridIndices();
// The grid as a static mesh descriptor (225 vertices, 392 faces as a 16-bit
// triangle list, one attribute range), shared by every frame trail.
struct X2FishMesh;
X2FishMesh* TrailGridMesh();
// A vertex as restore writes it: the wave amplitudes in the normal (0 near
// the screen's left and right edges, full towards the middle) and the screen
// texture coordinate.
TrailGridVertex MakeTrailGridVertex(float x, float y, float z);

// Time stepping of the trail: rotation or swap, pulse, phase and the wave
// parameters of one Move.
struct TrailMotion {
  float lastShift = -10.0f;
  TrailPulse pulse;
  float phase = 0.0f;
  float wave[4] = {0.5f, 0.7f, 0.013f, 0.005f};
  // Returns true when the kept frames rotate, false when the first two swap;
  // r in 0..1 places the next pulse.
  bool Step(float t, float tPrev, float r);
};

// Kept frames the composite draws, oldest last: 1 .. keptCount - 2 (none with
// fewer than three kept frames).
inline int TrailFirstLayer() { return 1; }
inline int TrailLayerEnd(unsigned keptCount) { return keptCount >= 3 ? int(keptCount) - 1 : 1; }
