#include "X1FaceGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "diagnostics/Diagnostics.h"

int X1FaceGrid::CellOf(float c) { return static_cast<int>(std::floor(c * 0.5f)) + kHalf; }

void X1FaceGrid::Clear() {
  vertices_ = nullptr;
  indices_ = nullptr;
  faceCount_ = 0;
  dropped_ = 0;
  cells_.clear();
  covered_.clear();
  tops_.clear();
}

const float* X1FaceGrid::Position(uint16_t index) const {
  return reinterpret_cast<const float*>(vertices_ + static_cast<size_t>(index) * stride_);
}

void X1FaceGrid::Build(const void* vertices, const uint16_t* indices, int faceCount, uint32_t kind) {
  Clear();
  if (!vertices || !indices || faceCount <= 0) return;
  vertices_ = static_cast<const unsigned char*>(vertices);
  indices_ = indices;
  faceCount_ = faceCount;
  stride_ = kind == 0x152 ? 44 : 32;
  cells_.assign(kCells * kCells, Cell{});
  for (int f = 0; f < faceCount; ++f) {
    // Every cell the face's bounds touch lists it, so a point anywhere on
    // the face finds it in the point's own cell.
    float minX = 1e30f, maxX = -1e30f, minZ = 1e30f, maxZ = -1e30f;
    for (int k = 0; k < 3; ++k) {
      const float* p = Position(indices[3 * f + k]);
      minX = std::min(minX, p[0]);
      maxX = std::max(maxX, p[0]);
      minZ = std::min(minZ, p[2]);
      maxZ = std::max(maxZ, p[2]);
    }
    const int x0 = std::max(CellOf(minX), 0), x1 = std::min(CellOf(maxX), kCells - 1);
    const int z0 = std::max(CellOf(minZ), 0), z1 = std::min(CellOf(maxZ), kCells - 1);
    for (int cx = x0; cx <= x1; ++cx) {
      for (int cz = z0; cz <= z1; ++cz) {
        Cell& cell = cells_[cx * kCells + cz];
        if (cell.count >= kCellFaces) {
          ++dropped_;
          LogPrint("KWEX. FaceList\n");
          continue;
        }
        cell.faces[cell.count++] = static_cast<uint16_t>(f);
      }
    }
  }
  covered_.assign(kCells * kCells, false);
  float u = 0.0f, v = 0.0f;
  const auto onFace = [&](int cx, int cz) {
    const float x = kCellSize * static_cast<float>(cx - kHalf), z = kCellSize * static_cast<float>(cz - kHalf);
    return InGrid(cx, cz) && FaceInCell(cx, cz, x, z, &u, &v) >= 0;
  };
  for (int cx = 0; cx < kCells; ++cx)
    for (int cz = 0; cz < kCells; ++cz)
      covered_[cx * kCells + cz] =
          onFace(cx, cz) && onFace(cx + 1, cz) && onFace(cx, cz + 1) && onFace(cx + 1, cz + 1);
}

int X1FaceGrid::CellCount(int cellX, int cellZ) const {
  if (cells_.empty() || cellX < 0 || cellX >= kCells || cellZ < 0 || cellZ >= kCells) return 0;
  return cells_[cellX * kCells + cellZ].count;
}

bool X1FaceGrid::HitFace(int face, float x, float z, float* u, float* v) const {
  // Moller-Trumbore with the line (x, 0, z) + t (0, -1, 0), back faces
  // culled; t is free, so faces above the point count too. The tests
  // reduce to the x-z plane. A hair of tolerance keeps points on a shared
  // edge from slipping between its two faces.
  const float* p0 = Position(indices_[3 * face]);
  const float* p1 = Position(indices_[3 * face + 1]);
  const float* p2 = Position(indices_[3 * face + 2]);
  const float e1x = p1[0] - p0[0], e1z = p1[2] - p0[2];
  const float e2x = p2[0] - p0[0], e2z = p2[2] - p0[2];
  const float det = e1z * e2x - e1x * e2z;
  if (det < 0.0001f) return false;
  const float tx = x - p0[0], tz = z - p0[2];
  const float a = tz * e2x - tx * e2z;
  const float b = tx * e1z - tz * e1x;
  const float slack = det * 1e-5f;
  if (a < -slack || b < -slack || a + b > det + slack) return false;
  *u = a / det;
  *v = b / det;
  return true;
}

int X1FaceGrid::FaceInCell(int cx, int cz, float x, float z, float* u, float* v) const {
  const Cell& cell = cells_[cx * kCells + cz];
  for (int k = 0; k < cell.count; ++k)
    if (HitFace(cell.faces[k], x, z, u, v)) return cell.faces[k];
  return -1;
}

int X1FaceGrid::FindFace(float x, float z, float* u, float* v) const {
  if (cells_.empty()) return -1;
  float hitU = 0.0f, hitV = 0.0f;
  for (int probe = 0; probe < kProbes; ++probe) {
    // Each probe lies one cell further on both axes.
    const int cx = CellOf(x), cz = CellOf(z);
    if (!InGrid(cx, cz)) return -1;
    const int face = FaceInCell(cx, cz, x, z, &hitU, &hitV);
    if (face >= 0) {
      if (u) *u = hitU;
      if (v) *v = hitV;
      return face;
    }
    x += 2.0f;
    z += 2.0f;
  }
  return -1;
}

bool X1FaceGrid::HeightAt(float x, float z, float* y) const {
  float u = 0.0f, v = 0.0f;
  const int face = FindFace(x, z, &u, &v);
  if (face < 0) return false;
  const float y0 = Position(indices_[3 * face])[1];
  const float y1 = Position(indices_[3 * face + 1])[1];
  const float y2 = Position(indices_[3 * face + 2])[1];
  *y = y0 + u * (y1 - y0) + v * (y2 - y0);
  return true;
}

void X1FaceGrid::RefreshTops() {
  constexpr float kNone = -std::numeric_limits<float>::infinity();
  if (cells_.empty()) {
    tops_.clear();
    return;
  }
  std::vector<float> own(kCells * kCells, kNone);
  for (int c = 0; c < kCells * kCells; ++c)
    for (int k = 0; k < cells_[c].count; ++k)
      for (int corner = 0; corner < 3; ++corner)
        own[c] = std::max(own[c], Position(indices_[3 * cells_[c].faces[k] + corner])[1]);
  tops_.assign(kCells * kCells, kNone);
  for (int cx = 0; cx < kCells; ++cx) {
    for (int cz = 0; cz < kCells; ++cz) {
      const int c = cx * kCells + cz;
      const int probes = covered_[c] ? 1 : kProbes;
      for (int p = 0; p < probes && InGrid(cx + p, cz + p); ++p)
        tops_[c] = std::max(tops_[c], own[(cx + p) * kCells + cz + p]);
    }
  }
}

float X1FaceGrid::TopAt(float x, float z) const {
  if (cells_.empty() || !(std::fabs(x) < 1e6f) || !(std::fabs(z) < 1e6f))
    return -std::numeric_limits<float>::infinity();
  if (tops_.empty()) return std::numeric_limits<float>::infinity();
  const int cx = CellOf(x), cz = CellOf(z);
  return InGrid(cx, cz) ? tops_[cx * kCells + cz] : -std::numeric_limits<float>::infinity();
}
