#include "TerrainGeometry.h"

#include <algorithm>
#include <unordered_map>

const float kTerrainBaseVertices[kTerrainBaseVertexCount][8] = {
    {0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
    {40.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
    {20.0f, 0.0f, -34.641f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
    {-20.0f, 0.0f, -34.641f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
    {-40.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
    {-20.0f, 0.0f, 34.641f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
    {20.0f, 0.0f, 34.641f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
};

// Each face joins the centre to two neighbouring corners, so the six of them
// tile the hexagon; seen from above they turn clockwise (drawn with
// counter-clockwise culling, normals up).
const uint16_t kTerrainBaseIndices[kTerrainBaseFaceCount * 3] = {
    0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 5, 0, 5, 6, 0, 6, 1,
};

const D3DXVECTOR2 kTerrainLatticeA(40.0f / 32.0f, 0.0f);
const D3DXVECTOR2 kTerrainLatticeB(20.0f / 32.0f, -34.641f / 32.0f);

namespace {

// The base vertices on the finest lattice of a depth-5 mesh, in steps of A
// and B; a shallower mesh halves them per missing level. Midpoints of a
// level's edges then always fall on whole steps.
const LatticePoint kBaseLattice[kTerrainBaseVertexCount] = {
    {0, 0}, {32, 0}, {0, 32}, {-32, 32}, {-32, 0}, {0, -32}, {32, -32},
};

}  // namespace

void BuildTerrainTopology(int depth, TerrainMesh* mesh) {
  depth = std::clamp(depth, 0, kTerrainDepth);
  const int shift = kTerrainDepth - depth;
  mesh->vertices.clear();
  mesh->indices.assign(kTerrainBaseIndices, kTerrainBaseIndices + kTerrainBaseFaceCount * 3);
  mesh->lineage.clear();
  mesh->lattice.clear();
  for (int k = 0; k < kTerrainBaseVertexCount; ++k) {
    TerrainVertex v{};
    v.position = D3DXVECTOR3(kTerrainBaseVertices[k][0], kTerrainBaseVertices[k][1], kTerrainBaseVertices[k][2]);
    mesh->vertices.push_back(v);
    mesh->lineage.push_back(VertexLineage{0, 0, 0});
    mesh->lattice.push_back(LatticePoint{kBaseLattice[k].i >> shift, kBaseLattice[k].j >> shift});
  }

  for (int level = 0; level < depth; ++level) {
    std::unordered_map<uint32_t, uint16_t> midpoints;
    auto midpoint = [&](uint16_t a, uint16_t b) -> uint16_t {
      const uint32_t key = a < b ? (uint32_t(a) << 16 | b) : (uint32_t(b) << 16 | a);
      auto found = midpoints.find(key);
      if (found != midpoints.end()) return found->second;
      const uint16_t number = static_cast<uint16_t>(mesh->vertices.size());
      TerrainVertex v{};
      v.position = (mesh->vertices[a].position + mesh->vertices[b].position) * 0.5f;
      mesh->vertices.push_back(v);
      mesh->lineage.push_back(VertexLineage{a, b, static_cast<uint16_t>(level + 1)});
      const LatticePoint pa = mesh->lattice[a], pb = mesh->lattice[b];
      mesh->lattice.push_back(LatticePoint{(pa.i + pb.i) / 2, (pa.j + pb.j) / 2});
      midpoints.emplace(key, number);
      return number;
    };
    std::vector<uint16_t> faces;
    faces.reserve(mesh->indices.size() * 4);
    for (size_t f = 0; f + 2 < mesh->indices.size(); f += 3) {
      const uint16_t d = mesh->indices[f], e = mesh->indices[f + 1], c = mesh->indices[f + 2];
      const uint16_t h = midpoint(d, e);
      const uint16_t l = midpoint(e, c);
      const uint16_t g = midpoint(c, d);
      faces.insert(faces.end(), {d, h, g, e, l, h, c, g, l, h, l, g});
    }
    mesh->indices.swap(faces);
  }
}

void ComputeTerrainNormals(TerrainMesh* mesh) {
  for (TerrainVertex& v : mesh->vertices) v.normal = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  const int faces = mesh->FaceCount();
  for (int f = 0; f < faces; ++f) {
    TerrainVertex* corner[3];
    for (int k = 0; k < 3; ++k) corner[k] = &mesh->vertices[mesh->indices[3 * f + k]];
    const D3DXVECTOR3 ab = corner[1]->position - corner[0]->position;
    const D3DXVECTOR3 bc = corner[2]->position - corner[1]->position;
    D3DXVECTOR3 n;
    D3DXVec3Cross(&n, &ab, &bc);
    D3DXVec3Normalize(&n, &n);
    for (TerrainVertex* v : corner) v->normal += n;
  }
  for (TerrainVertex& v : mesh->vertices) D3DXVec3Normalize(&v.normal, &v.normal);
}

void ComputeTerrainTexCoords(TerrainMesh* mesh, float scale, float centreX, float centreZ) {
  for (TerrainVertex& v : mesh->vertices) {
    v.u = (v.position.x * scale + centreX) * 0.05f;
    v.v = (v.position.z * scale + centreZ) * 0.05f;
  }
}
