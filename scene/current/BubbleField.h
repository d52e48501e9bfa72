#pragma once
// The bubble field's decisions without a device: where the field sits, its
// vents on the floor, how many layers may start in a frame, how wide a
// layer has spread, and where a layer is drawn.
#include <d3dx9math.h>

#include <functional>

#include "fish/FishMotion.h"

constexpr int kBubbleVents = 40;
constexpr int kBubbleLayers = 300;
// Vents lie within +-30 units of the field's centre on x and z.
constexpr float kBubbleVentSpread = 60.0f;
// Layers rise this many units a second and vanish above this height.
constexpr float kBubbleRiseSpeed = 0.2f;
constexpr float kBubbleTopHeight = 0.0f;

// Vent vertex: position (relative to the field), the vector (0, 1, 0),
// texture coordinates; 32 bytes. Each vent is a quad of four vertices,
// (0,0) (0,1) (1,0) (1,1), drawn through the shared quad index buffer.
constexpr int kBubbleVertexFloats = 8;
constexpr int kBubbleVertexBytes = 32;
constexpr int kBubbleQuadFloats = 4 * kBubbleVertexFloats;
constexpr int kBubbleQuadBytes = 4 * kBubbleVertexBytes;  // 128
// The CPU array and the device buffer.
constexpr int kBubbleArrayVertices = 12010;
constexpr unsigned kBubbleBufferBytes = 0x5E000;
static_assert(kBubbleVents * 4 <= kBubbleArrayVertices, "every vent fits the array");
static_assert(kBubbleVents * kBubbleQuadBytes <= static_cast<int>(kBubbleBufferBytes), "every vent fits the buffer");

// World height of the floor at (x, z).
using HeightQuery = std::function<float(float x, float z)>;
// The water current at a world position.
using CurrentQuery = std::function<D3DXVECTOR3(const D3DXVECTOR3& position)>;

// The field's place: the camera's x and z, the floor's height there.
D3DXVECTOR3 BubbleFieldPlace(const D3DXVECTOR3& camera, const HeightQuery& height);

// Writes the quads of the vents (at most maxVents, up to kBubbleVents):
// each vent is (dx, h - field.y, dz) with dx and dz (r - 0.5) x 60 from two
// draws and h the floor's height at (field.x + dx, field.z + dz). Returns
// the number written.
int BuildBubbleVents(const D3DXVECTOR3& field, const HeightQuery& height, const RandomSource& random,
                     float* vertices, int maxVents);

// Layers start at most twice a second of scene time: a frame more than a
// second after the last window opens a new one that allows
// trunc(2 x elapsed) starts; any other frame allows none.
struct BubbleSpawnWindow {
  float lastSpawn = -1.0f;
  int allowance = 0;
  int spawned = 0;
};
void OpenSpawnWindow(BubbleSpawnWindow& window, float t);

// A layer's horizontal scale: 1, growing by 0.0125 a unit above the field.
float BubbleLayerSpread(float layerY, float fieldY);

// World matrix of layer `index` at (x, y, z) (x and z relative to the
// field, y a world height): the field's X and Z rotations, a turn about Y
// of |sin(2 pi index / 300)| x pi, the spread on x and z, then the layer's
// world place.
D3DXMATRIX* BubbleLayerMatrix(D3DXMATRIX* out, const D3DXVECTOR3& field, float rotX, float rotZ, int index,
                              const D3DXVECTOR3& layer);
