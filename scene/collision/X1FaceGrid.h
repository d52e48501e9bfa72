#pragma once
// A spatial index of a mesh's faces on the x-z plane: 51 x 51 cells of 2
// local units round the origin, each listing (up to 200) the faces whose
// bounds touch it, so that the face under a point is found by testing one
// cell's faces.
//
// The grid points into the caller's vertex and index data and reads them at
// every query: the caller keeps them alive and unmoved while the grid is in
// use, builds the grid again when faces move on x or z, and refreshes the
// cells' tops when they move on y.
#include <cstdint>
#include <vector>

class X1FaceGrid {
 public:
  enum { kCells = 51, kHalf = 25, kCellFaces = 200, kProbes = 6 };
  static constexpr float kCellSize = 2.0f;

  // kind: 0x152 for 44-byte vertices, else 32-byte vertices (0x112);
  // position first in both. Every index must lie within the vertex data.
  void Build(const void* vertices, const uint16_t* indices, int faceCount, uint32_t kind);
  void Clear();

  // The face under (x, z) (local units), found by a downward vertical line
  // that hits the face's upper side; -1 when none. When the first probe
  // finds nothing, up to five more probe a point 2 units further on both
  // axes each. u and v (optional) receive the hit's barycentric weights of
  // the face's second and third vertex.
  int FindFace(float x, float z, float* u = nullptr, float* v = nullptr) const;
  // The height of the face under (x, z), interpolated at the point hit;
  // false when no face is there.
  bool HeightAt(float x, float z, float* y) const;

  // After the faces' heights changed: each cell's top, the highest vertex
  // of the faces a query starting in the cell can hit. A cell whose four
  // corners lie on faces lies wholly on the mesh when the mesh covers a
  // convex region (as the terrain's hexagon does), so only its own faces
  // count; elsewhere the faces of every cell the later probes reach count.
  void RefreshTops();
  // Not below any height HeightAt answers at (x, z): the cell's top;
  // -infinity where no face can be found (outside the grid), +infinity
  // before the tops are refreshed.
  float TopAt(float x, float z) const;

  bool IsBuilt() const { return vertices_ != nullptr; }
  // Faces listed in a cell (0 outside the grid); dropped: faces a full cell
  // could not take.
  int CellCount(int cellX, int cellZ) const;
  int DroppedCount() const { return dropped_; }

  // The cell index of a coordinate: floor(c / 2) + 25.
  static int CellOf(float c);

 private:
  struct Cell {
    uint16_t count = 0;
    uint16_t faces[kCellFaces];
  };
  const float* Position(uint16_t index) const;
  // Hit test of one face against the vertical line through (x, z).
  bool HitFace(int face, float x, float z, float* u, float* v) const;
  // The first face of cell (cx, cz) under (x, z), or -1.
  int FaceInCell(int cx, int cz, float x, float z, float* u, float* v) const;
  bool InGrid(int cx, int cz) const { return cx >= 0 && cx < kCells && cz >= 0 && cz < kCells; }

  const unsigned char* vertices_ = nullptr;
  const uint16_t* indices_ = nullptr;
  int faceCount_ = 0;
  int stride_ = 32;
  int dropped_ = 0;
  std::vector<Cell> cells_;
  // Per cell: whether its corners lie on faces (set by Build), and its top
  // in the mesh's units (empty until refreshed).
  std::vector<bool> covered_;
  std::vector<float> tops_;
};
