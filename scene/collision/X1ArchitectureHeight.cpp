#include "X1ArchitectureHeight.h"

#include <algorithm>
#include <cmath>

#include "diagnostics/Diagnostics.h"
#include "terrain/X1Terrain.h"
#include "world/C4VertexObject.h"

X1ArchitectureHeight::X1ArchitectureHeight(X1Terrain* owner) : terrain(owner) {
  SetClassName("X1ArchitectureHeight");
  std::fill(&cells[0][0], &cells[0][0] + kCells * kCells, kNone);
}

void X1ArchitectureHeight::Add(C4VertexObject* structure) {
  if (structure) structures.Add(structure);
}

D3DXVECTOR3 X1ArchitectureHeight::Centre() const {
  return terrain ? terrain->position : D3DXVECTOR3(0.0f, 0.0f, 0.0f);
}

bool X1ArchitectureHeight::CellOf(float x, float z, int* i, int* j) const {
  const D3DXVECTOR3 c = Centre();
  const float fx = std::floor((x - c.x) * 0.2f), fz = std::floor((z - c.z) * 0.2f);
  if (!(std::fabs(fx) < 1e6f) || !(std::fabs(fz) < 1e6f)) return false;
  *i = static_cast<int>(fx) + kHalf;
  *j = static_cast<int>(fz) + kHalf;
  return *i >= 0 && *i < kCells && *j >= 0 && *j < kCells;
}

float X1ArchitectureHeight::GetHeight(float x, float z) const {
  int i = 0, j = 0;
  return CellOf(x, z, &i, &j) ? cells[i][j] : kNone;
}

void X1ArchitectureHeight::MarkPoint(const D3DXVECTOR3& p) {
  int i = 0, j = 0;
  if (CellOf(p.x, p.z, &i, &j)) cells[i][j] = std::max(cells[i][j], p.y);
}

void X1ArchitectureHeight::MarkEdge(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 d = b - a;
  const float length = D3DXVec3Length(&d);
  // A length that is not a number marks the ends alone.
  const int n = length < 1e5f ? 1 + 2 * static_cast<int>(length / kCellSize) : 1;
  for (int k = 0; k <= n; ++k) MarkPoint(a + d * (static_cast<float>(k) / static_cast<float>(n)));
}

int X1ArchitectureHeight::MarkMesh(const void* vertices, uint32_t vertexCount, uint32_t stride,
                                   const uint16_t* indices, uint32_t faceCount, const D3DXMATRIX& world) {
  const auto* bytes = static_cast<const unsigned char*>(vertices);
  int skipped = 0;
  for (uint32_t f = 0; f < faceCount; ++f) {
    const uint16_t* face = indices + 3 * f;
    if (face[0] >= vertexCount || face[1] >= vertexCount || face[2] >= vertexCount) {
      LogPrint("KWEX!! Face Index Out Of Range.\n");
      ++skipped;
      continue;
    }
    D3DXVECTOR3 p[3];
    for (int k = 0; k < 3; ++k) {
      const auto* position = reinterpret_cast<const D3DXVECTOR3*>(bytes + static_cast<size_t>(face[k]) * stride);
      D3DXVec3TransformCoord(&p[k], position, &world);
    }
    MarkEdge(p[0], p[1]);
    MarkEdge(p[1], p[2]);
    MarkEdge(p[2], p[0]);
  }
  return skipped;
}

void X1ArchitectureHeight::Rebuild() {
  std::fill(&cells[0][0], &cells[0][0] + kCells * kCells, kNone);
  for (int s = 0; s < structures.count; ++s) {
    // Only Add fills the list, so every entry is a vertex object.
    auto* structure = static_cast<C4VertexObject*>(structures.items[s]);
    if (!structure) continue;
    structure->ComposeWorldMatrix(0.0f, 0.0f);
    // The second mesh when there is one (the structure's own height mesh),
    // else the first.
    MeshRecord* record = structure->meshes.size() >= 2 ? structure->meshes[1]
                         : structure->meshes.empty()   ? nullptr
                                                       : structure->meshes[0];
    const X2FishMesh* mesh = record ? record->descriptor : nullptr;
    if (!mesh) {
      LogPrint("KWEX NULL Architecture Height Cache\n");
      continue;
    }
    const uint32_t stride = mesh->fvf == 0x152 ? 44 : mesh->fvf == 0x112 ? 32 : mesh->stride;
    if (!mesh->vertices || !mesh->indices || stride < sizeof(D3DXVECTOR3)) {
      // This structure has no data to read; the others are still marked.
      LogPrint("KWEX X1ArchHeight\n");
      continue;
    }
    MarkMesh(mesh->vertices, mesh->vertexCount, stride, mesh->indices, mesh->primitiveCount, structure->world);
  }
  built = 1;
}
