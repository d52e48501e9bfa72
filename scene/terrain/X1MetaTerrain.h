#pragma once
// The shape of the sea floor: 30 random ridges and trenches (segments with
// a radius and a height of +10 or -10) and a fine ripple, evaluated per
// subdivision level with an amplitude that falls with the level.
#include <d3dx9math.h>

#include <vector>

#include "world/C3Object.h"

struct TerrainFeature {
  D3DXVECTOR3 a;
  D3DXVECTOR3 b;
  float radius;
  float height;  // +10 a ridge, -10 a trench
};

constexpr int kTerrainFeatureCount = 30;

class X1MetaTerrain : public C3Object {
 public:
  // Draws the features with the runtime's rand().
  X1MetaTerrain();

  // Moves feature i by point (i mod count) on x and z (structure placement
  // gathers ridges and trenches round the structures). Nothing without
  // points.
  void PlaceFeatures(const D3DXVECTOR3* points, int count);

  // Displacement at level `level` of the world point (x, z) with the
  // UpsDowns roughness of the scene settings; weights receives (hill
  // weight, trench weight, 1). y is not used.
  float GetHeight(int level, float x, float y, float z, D3DXVECTOR3* weights) const;

  D3DXVECTOR3 offset{0.0f, 0.0f, 0.0f};
  std::vector<TerrainFeature> features;
};

// Roughness exponent by UpsDowns: -1.0, -0.9, -0.8, -0.7 for 0 .. 3; values
// below 0 count as 0 and above 3 as 3.
float TerrainRoughness(int upsDowns);

// Distance from p to the segment ab.
float DistanceToSegment(const D3DXVECTOR3& p, const D3DXVECTOR3& a, const D3DXVECTOR3& b);

// The displacement of `GetHeight` with an explicit roughness exponent H:
// the features' signed influence summed with amplitude (2^H)^level, plus the
// ripple 2.5 x 0.5^level x sin(x z).
float FeatureDisplacement(const std::vector<TerrainFeature>& features, const D3DXVECTOR3& offset, int level,
                          float roughness, float x, float z, D3DXVECTOR3* weights);
