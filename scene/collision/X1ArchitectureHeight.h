#pragma once
// Tops of the sunken structures: 41 x 41 cells of 5 world units round the
// terrain centre (centre - 100 .. centre + 105 on x and z), each holding the
// highest structure point marked in it, or -1000 where there is none. The
// terrain's height queries are raised to these tops.
#include <d3dx9math.h>

#include <cstdint>

#include "world/C3Object.h"
#include "world/C4Collection.h"

class C4VertexObject;
class X1Terrain;

class X1ArchitectureHeight : public C3Object {
 public:
  enum { kCells = 41, kHalf = 20 };
  static constexpr float kCellSize = 5.0f;
  static constexpr float kNone = -1000.0f;

  // terrain: whose centre the cells are laid round (the origin without one).
  explicit X1ArchitectureHeight(X1Terrain* terrain);

  // Structure placement adds every structure it makes; the list does not
  // own them.
  void Add(C4VertexObject* structure);

  // The top at (x, z), or -1000 outside the cells.
  float GetHeight(float x, float z) const;
  // Raises the cell of p (when inside) to p.y.
  void MarkPoint(const D3DXVECTOR3& p);
  // Marks n + 1 points evenly from a to b, n = 1 + 2 trunc(|b - a| / 5).
  void MarkEdge(const D3DXVECTOR3& a, const D3DXVECTOR3& b);
  // Marks the edges of every face of a mesh (positions at the start of each
  // stride-byte vertex) carried by `world`. Faces with an index at or past
  // vertexCount are skipped with a log line; returns how many were.
  int MarkMesh(const void* vertices, uint32_t vertexCount, uint32_t stride, const uint16_t* indices,
               uint32_t faceCount, const D3DXMATRIX& world);
  // Every cell back to -1000, then every structure's mesh marked.
  void Rebuild();

  bool IsBuilt() const { return built != 0; }
  D3DXVECTOR3 Centre() const;

  C4Collection structures{10, 10};
  X1Terrain* terrain;
  int built = 0;
  float cells[kCells][kCells];

 private:
  bool CellOf(float x, float z, int* i, int* j) const;
};
