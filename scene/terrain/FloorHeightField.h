#pragma once
// The sea floor's height as a fixed function of world position, so that a
// patch rebuilt round a new centre joins the old one without a seam.
//
// The floor is midpoint displacement on a triangular lattice anchored at the
// world origin: every lattice point gets the meta terrain's displacement of
// the level at which it first appears, and the height at a point of the
// finest lattice is the sum, over the levels, of that level's displacements
// interpolated linearly over the level's triangles. A patch whose centre
// lies on the coarsest lattice gets exactly the heights of subdividing it
// and displacing every new vertex from the midpoint of its parents; any
// patch whose centre lies on the finest lattice gets the same heights at the
// same world points.
#include <d3dx9math.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "TerrainGeometry.h"
#include "X1MetaTerrain.h"

// World x and z of a point of the floor's finest lattice (local lattice
// steps times scale), and the lattice point nearest to a world point.
D3DXVECTOR2 FloorLatticePosition(LatticePoint p, float scale);
LatticePoint NearestFloorLatticePoint(float x, float z, float scale);

class FloorHeightField {
 public:
  // roughness: the exponent of TerrainRoughness; scale: world units per
  // local unit (the lattice steps are the local ones times scale).
  FloorHeightField(const std::vector<TerrainFeature>& features, const D3DXVECTOR3& offset, float roughness,
                   float scale);

  // Height above the base height (world units) at a point of the finest
  // lattice, in world lattice steps from the origin.
  float HeightAt(LatticePoint p);
  // Hill and trench weights there (the third is 1).
  D3DXVECTOR3 WeightsAt(LatticePoint p) const;
  D3DXVECTOR2 Position(LatticePoint p) const { return FloorLatticePosition(p, scale_); }
  LatticePoint Nearest(float x, float z) const { return NearestFloorLatticePoint(x, z, scale_); }

  // The level (0 .. kTerrainDepth) at which a lattice point first appears.
  static int LevelOf(LatticePoint p);

 private:
  float Displacement(int i, int j);

  const std::vector<TerrainFeature>& features_;
  D3DXVECTOR3 offset_;
  float roughness_;
  float scale_;
  std::unordered_map<uint64_t, float> cache_;
};
