#pragma once
// The soft fog's per-frame decisions without a device: the ring of sprites
// around the camera, turning slowly both ways, and the quads of the sprites
// that lie near enough to the camera's side planes, grouped by texture.
#include <d3dx9math.h>

#include "SidePlanes.h"

constexpr int kSoftFogSprites = 100;
constexpr int kSoftFogTextures = 4;
constexpr int kSoftFogGroups = 10;  // per-texture quad counts kept
// The ring lies 10 units inside the far distance, 5 units below the eye.
constexpr float kSoftFogRadius = 90.0f;
constexpr float kSoftFogDrop = 5.0f;
// Sprites this far outside a side plane are still drawn (they are large).
constexpr float kSoftFogMargin = 10.0f;

// Soft-fog vertex: position (the sprite), the vector (0, 1, 0), texture
// coordinates; 32 bytes. Four vertices per sprite, (0,0) (0,1) (1,0) (1,1),
// drawn as indexed quads through the shared quad index buffer.
constexpr int kSoftFogVertexFloats = 8;
constexpr int kSoftFogVertexBytes = 32;
constexpr int kSoftFogQuadVertices = 4;
constexpr int kSoftFogQuadFloats = kSoftFogQuadVertices * kSoftFogVertexFloats;
constexpr int kSoftFogQuadBytes = kSoftFogQuadVertices * kSoftFogVertexBytes;  // 128
constexpr int kSoftFogArrayVertices = 1210;
constexpr unsigned kSoftFogBufferBytes = 38400;
static_assert(kSoftFogSprites * kSoftFogQuadBytes <= static_cast<int>(kSoftFogBufferBytes),
              "every sprite's quad fits the buffer");

// Sprite alpha at scene time t: 0.03 + 0.02 sin(0.1 t).
float SoftFogAlpha(float t);

// The sprites at scene time t around eye: with n = count / 2, m = 0.01 t
// and a = 2 pi i / n (+ (2 pi / textures) x (i mod textures) when there are
// textures), sprite i turns one way and sprite n + i the other, each at
// radius 90 and 5 units below the eye, plus its own offset. With an odd
// count the last sprite stays at the eye plus its offset.
void LayoutSoftFog(const D3DXVECTOR3& eye, float t, int count, int textures, const D3DXVECTOR3* offsets,
                   D3DXVECTOR3* sprites);

// Texture group of sprite i: i / (count / textures), at most the last
// texture (and the last kept count).
int SoftFogGroup(int i, int count, int textures);

// The quads of the sprites that pass the side planes with margin 10 and
// lie more than 1 unit from the eye, in order, written to vertices (room
// for at most maxQuads); groupCounts (kSoftFogGroups entries) gets the
// quads per texture group. Returns the quad count.
int BuildSoftFogQuads(const D3DXVECTOR3* sprites, int count, int textures, const SidePlanes& planes,
                      float* vertices, int maxQuads, int groupCounts[kSoftFogGroups]);

// One draw of a texture group: texture index, base vertex (four per quad
// drawn before it), vertices and triangles.
struct SoftFogDraw {
  int texture;
  int baseVertex;
  int vertices;
  int triangles;
};
// The draws of the groups with quads, in group order.
int PlanSoftFogDraws(const int groupCounts[kSoftFogGroups], SoftFogDraw out[kSoftFogGroups]);
