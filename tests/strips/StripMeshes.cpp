#include "StripMeshes.h"

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <utility>

namespace striptest {

IndexList Grid(int columns, int rows) {
  IndexList out;
  const int stride = columns + 1;
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) {
      const unsigned short v0 = static_cast<unsigned short>(y * stride + x);
      const unsigned short v1 = static_cast<unsigned short>(v0 + 1);
      const unsigned short v2 = static_cast<unsigned short>(v0 + stride);
      const unsigned short v3 = static_cast<unsigned short>(v2 + 1);
      out.insert(out.end(), {v0, v2, v1, v1, v2, v3});
    }
  }
  return out;
}

IndexList Tube(int rings, int segments) {
  // Vertex 0 and the last one are the tips; ring r holds 1 + r * segments on.
  IndexList out;
  auto at = [segments](int ring, int k) {
    return static_cast<unsigned short>(1 + ring * segments + (k % segments));
  };
  const unsigned short tail = static_cast<unsigned short>(1 + rings * segments);
  for (int k = 0; k < segments; ++k) out.insert(out.end(), {0, at(0, k + 1), at(0, k)});
  for (int r = 0; r + 1 < rings; ++r) {
    for (int k = 0; k < segments; ++k) {
      out.insert(out.end(), {at(r, k), at(r, k + 1), at(r + 1, k)});
      out.insert(out.end(), {at(r, k + 1), at(r + 1, k + 1), at(r + 1, k)});
    }
  }
  for (int k = 0; k < segments; ++k) {
    out.insert(out.end(), {tail, at(rings - 1, k), at(rings - 1, k + 1)});
  }
  return out;
}

IndexList Cube() {
  // Corner k has coordinates (k & 1, (k >> 1) & 1, (k >> 2) & 1); every
  // quad is listed counter-clockwise seen from outside.
  const int quads[6][4] = {
      {0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5},
  };
  IndexList out;
  for (const auto& q : quads) {
    out.insert(out.end(), {static_cast<unsigned short>(q[0]), static_cast<unsigned short>(q[1]),
                           static_cast<unsigned short>(q[2]), static_cast<unsigned short>(q[0]),
                           static_cast<unsigned short>(q[2]), static_cast<unsigned short>(q[3])});
  }
  return out;
}

IndexList Sphere(int levels) {
  // Icosahedron faces by vertex number, consistently wound.
  std::vector<std::array<int, 3>> faces = {
      {0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
      {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
      {3, 8, 9},  {4, 9, 5},  {2, 4, 11},  {6, 2, 10}, {8, 6, 7},   {9, 8, 1},
  };
  int vertexCount = 12;
  for (int level = 0; level < levels; ++level) {
    std::map<std::pair<int, int>, int> midpoints;
    auto mid = [&](int a, int b) {
      const auto key = std::make_pair(std::min(a, b), std::max(a, b));
      auto it = midpoints.find(key);
      if (it != midpoints.end()) return it->second;
      midpoints[key] = vertexCount;
      return vertexCount++;
    };
    std::vector<std::array<int, 3>> next;
    for (const auto& f : faces) {
      const int ab = mid(f[0], f[1]);
      const int bc = mid(f[1], f[2]);
      const int ca = mid(f[2], f[0]);
      next.push_back({f[0], ab, ca});
      next.push_back({f[1], bc, ab});
      next.push_back({f[2], ca, bc});
      next.push_back({ab, bc, ca});
    }
    faces.swap(next);
  }
  IndexList out;
  for (const auto& f : faces) {
    for (int v : f) out.push_back(static_cast<unsigned short>(v));
  }
  return out;
}

IndexList RandomTriangles(uint32_t seed, int count, int vertexCount) {
  std::mt19937 rng(seed);
  IndexList out;
  for (int t = 0; t < count; ++t) {
    unsigned short v[3];
    v[0] = static_cast<unsigned short>(rng() % vertexCount);
    do {
      v[1] = static_cast<unsigned short>(rng() % vertexCount);
    } while (v[1] == v[0]);
    do {
      v[2] = static_cast<unsigned short>(rng() % vertexCount);
    } while (v[2] == v[0] || v[2] == v[1]);
    out.insert(out.end(), v, v + 3);
    // Now and then an exact duplicate, a rotated copy or a reversed copy.
    const uint32_t r = rng() % 16;
    if (r == 0) out.insert(out.end(), v, v + 3);
    if (r == 1) out.insert(out.end(), {v[1], v[2], v[0]});
    if (r == 2) out.insert(out.end(), {v[0], v[2], v[1]});
  }
  return out;
}

IndexList MixedWindingGrid(uint32_t seed, int columns, int rows) {
  std::mt19937 rng(seed);
  IndexList out = Grid(columns, rows);
  for (size_t t = 0; t + 2 < out.size(); t += 3) {
    if (rng() % 3 == 0) std::swap(out[t + 1], out[t + 2]);
  }
  return out;
}

IndexList Book(int pages) {
  IndexList out;
  for (int p = 0; p < pages; ++p) {
    const unsigned short tip = static_cast<unsigned short>(2 + p);
    if (p % 2 == 0) {
      out.insert(out.end(), {0, 1, tip});
    } else {
      out.insert(out.end(), {1, 0, tip});
    }
  }
  return out;
}

IndexList Perturb(const IndexList& list, uint32_t seed, int dropPercent, int flipPercent) {
  std::mt19937 rng(seed);
  std::vector<std::array<unsigned short, 3>> triangles;
  for (size_t t = 0; t + 2 < list.size(); t += 3) {
    if (static_cast<int>(rng() % 100) < dropPercent) continue;
    std::array<unsigned short, 3> tri = {list[t], list[t + 1], list[t + 2]};
    if (static_cast<int>(rng() % 100) < flipPercent) std::swap(tri[1], tri[2]);
    triangles.push_back(tri);
  }
  std::shuffle(triangles.begin(), triangles.end(), rng);
  IndexList out;
  for (const auto& tri : triangles) out.insert(out.end(), tri.begin(), tri.end());
  return out;
}

IndexList Remap(const IndexList& list, int base, int step) {
  IndexList out;
  for (unsigned short v : list) out.push_back(static_cast<unsigned short>(base + v * step));
  return out;
}

}  // namespace striptest
