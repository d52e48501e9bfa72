#pragma once
// The halation's per-frame decisions without a device: the glint a fish
// reports, the size of a glint's quad, and the quads of the points that lie
// within the camera's side planes.
#include <d3dx9math.h>

#include "SidePlanes.h"

constexpr int kMaxHalationPoints = 200;

// Halation vertex: position (the point), a vector (size, 2 x intensity,
// 1.0), texture coordinates; 32 bytes. Each point is six vertices, (0,0)
// (0,0) (0,1) (1,0) (1,1) (1,1), so that all quads form one triangle strip
// joined by degenerate triangles.
constexpr int kHalationVertexFloats = 8;
constexpr int kHalationVertexBytes = 32;
constexpr int kHalationQuadVertices = 6;
constexpr int kHalationQuadFloats = kHalationQuadVertices * kHalationVertexFloats;
constexpr int kHalationQuadBytes = kHalationQuadVertices * kHalationVertexBytes;  // 192
// The CPU array (six vertices per point and ten spare) and the device buffer.
constexpr int kHalationArrayVertices = 1210;
constexpr unsigned kHalationBufferBytes = 0x9800;
static_assert(kMaxHalationPoints * kHalationQuadBytes <= static_cast<int>(kHalationBufferBytes),
              "every point's quad fits the buffer");

// Size of a glint's quad: 0.1 x intensity above 0.9, else 0.05 x intensity.
float HalationSize(float intensity);

// Writes the six vertices of one point (kHalationQuadFloats floats).
void WriteHalationQuad(float* out, const D3DXVECTOR3& point, float intensity);

// The quads of the points that pass the side planes with margin 0, in
// order, written to vertices (room for at most maxQuads). Returns the count.
int BuildHalationQuads(const D3DXVECTOR3* points, const float* intensities, int count, const SidePlanes& planes,
                       float* vertices, int maxQuads);

// The glint of a fish whose side mirrors the light towards the camera.
// light: the world's light vector (pointing away from the sun); heading:
// the fish's direction of travel. With V the unit vector from the fish to
// the camera: when (-light) . V < 0.9, H = unit (V - light) and
// q = 1 - |H . heading|; q above 0.8 gives a glint of intensity
// ((q - 0.8) x 5)^2. Returns false when there is none.
bool FishGlint(const D3DXVECTOR3& light, const D3DXVECTOR3& camera, const D3DXVECTOR3& fish,
               const D3DXVECTOR3& heading, float* intensity);
