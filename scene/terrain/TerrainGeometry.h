#pragma once
// The sea floor's mesh without a device: the flat hexagon, its subdivision
// with the lineage of every vertex, where each vertex sits on the floor's
// triangular lattice, and the normals and texture coordinates of a shaped
// mesh.
//
// Units: mesh coordinates are local; world = local x scale + patch centre.
#include <d3dx9math.h>

#include <cstdint>
#include <vector>

// The vertex the terrain draws: position, normal, feature weights (hill,
// trench, 1) and one texture coordinate.
struct TerrainVertex {
  D3DXVECTOR3 position;
  D3DXVECTOR3 normal;
  D3DXVECTOR3 weights;
  float u;
  float v;
};
static_assert(sizeof(TerrainVertex) == 44, "the terrain vertex is 44 bytes");

// Parents of a vertex made as an edge midpoint, and the subdivision level
// that made it (0 for the seven base vertices, whose parents are 0).
struct VertexLineage {
  uint16_t parentA;
  uint16_t parentB;
  uint16_t level;
};

// A point of the finest lattice in steps of its two edge vectors (see
// kTerrainLatticeA / B).
struct LatticePoint {
  int i;
  int j;
};

constexpr int kTerrainDepth = 5;
constexpr int kTerrainBaseVertexCount = 7;
constexpr int kTerrainBaseFaceCount = 6;
// The vertex-layout code of the 44-byte vertex (the base mesh uses 0x112).
constexpr uint32_t kTerrainVertexCode = 0x152;
constexpr uint32_t kBaseVertexCode = 0x112;

// The flat base hexagon, 40 local units in radius: centre and six corners in
// the 32-byte layout (position, normal, texture coordinate), and six faces
// around the centre that cover it once.
extern const float kTerrainBaseVertices[kTerrainBaseVertexCount][8];
extern const uint16_t kTerrainBaseIndices[kTerrainBaseFaceCount * 3];

// Local edge vectors of the finest lattice (a base edge over 2^depth):
// the base corner (40, 0, 0) is 32 A, the corner (20, 0, -34.641) is 32 B.
extern const D3DXVECTOR2 kTerrainLatticeA;  // (x, z)
extern const D3DXVECTOR2 kTerrainLatticeB;

struct TerrainMesh {
  std::vector<TerrainVertex> vertices;
  std::vector<uint16_t> indices;  // three per face
  std::vector<VertexLineage> lineage;
  std::vector<LatticePoint> lattice;  // relative to the centre vertex

  int VertexCount() const { return static_cast<int>(vertices.size()); }
  int FaceCount() const { return static_cast<int>(indices.size() / 3); }
};

// The base hexagon subdivided `depth` times: each face (d, e, c) becomes
// (d, h, g), (e, l, h), (c, g, l), (h, l, g) with h, l, g the midpoints of
// (d, e), (e, c), (c, d); a midpoint is made once per edge, numbered in the
// order edges are met. Positions are flat (y = 0); normals, weights and
// texture coordinates are zero.
void BuildTerrainTopology(int depth, TerrainMesh* mesh);

// Vertex normals: the sum over the faces (A, B, C) around a vertex of the
// normalised (B - A) x (C - B), normalised.
void ComputeTerrainNormals(TerrainMesh* mesh);

// Texture coordinates of the world position: world units / 20.
void ComputeTerrainTexCoords(TerrainMesh* mesh, float scale, float centreX, float centreZ);
