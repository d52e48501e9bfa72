// Tangents of small known meshes against tangents worked out by hand, and the
// layout lookup that finds the members in a vertex declaration.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <vector>

#include "structures/X5SkinTables.h"
#include "util/TangentFrame.h"

namespace {

struct Vertex {
  float p[3];
  float n[3];
  float uv[2];
  float t[3];
};

const TangentLayout kLayout{sizeof(Vertex), offsetof(Vertex, p), offsetof(Vertex, n), offsetof(Vertex, uv),
                            offsetof(Vertex, t)};

Vertex V(float x, float y, float z, float u, float v, float nx, float ny, float nz) {
  return Vertex{{x, y, z}, {nx, ny, nz}, {u, v}, {9.0f, 9.0f, 9.0f}};
}

void ExpectTangent(const Vertex& v, float x, float y, float z) {
  EXPECT_NEAR(v.t[0], x, 1e-5f);
  EXPECT_NEAR(v.t[1], y, 1e-5f);
  EXPECT_NEAR(v.t[2], z, 1e-5f);
}

struct QuadCase {
  const char* what;
  // Corners in the order (0,0), (1,0), (1,1), (0,1) of the quad's own axes a and b.
  float a[3], b[3];
  float n[3];
  float uvScale;  // u = uvScale * along a, v = 1 - along b
  float expected[3];
};

// Worked out by hand: the tangent is the direction in which u grows, made
// perpendicular to the normal.
const QuadCase kQuads[] = {
    {"facing -z, u along +x", {1, 0, 0}, {0, 1, 0}, {0, 0, -1}, 1.0f, {1, 0, 0}},
    {"floor, u along +z", {0, 0, 1}, {1, 0, 0}, {0, 1, 0}, 1.0f, {0, 0, 1}},
    {"mirrored u runs along -x", {1, 0, 0}, {0, 1, 0}, {0, 0, -1}, -1.0f, {-1, 0, 0}},
    {"stretched texture keeps the direction", {3, 0, 0}, {0, 0.5f, 0}, {0, 0, -1}, 4.0f, {1, 0, 0}},
    // Normal (0.6, 0, -0.8): x - (x.n) n = (0.64, 0, 0.48), normalised (0.8, 0, 0.6).
    {"tilted normal", {1, 0, 0}, {0, 1, 0}, {0.6f, 0, -0.8f}, 1.0f, {0.8f, 0, 0.6f}},
};

TEST(Tangents, QuadsMatchHandWorkedTangents) {
  for (const QuadCase& q : kQuads) {
    SCOPED_TRACE(q.what);
    std::vector<Vertex> v;
    const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& c : corners) {
      v.push_back(V(q.a[0] * c[0] + q.b[0] * c[1], q.a[1] * c[0] + q.b[1] * c[1], q.a[2] * c[0] + q.b[2] * c[1],
                    q.uvScale * c[0], 1.0f - c[1], q.n[0], q.n[1], q.n[2]));
    }
    const uint16_t indices[] = {0, 1, 2, 0, 2, 3};
    ComputeTangents(v.data(), 4, kLayout, indices, 2);
    for (const Vertex& vertex : v) ExpectTangent(vertex, q.expected[0], q.expected[1], q.expected[2]);
  }
}

TEST(Tangents, SharedVertexAveragesItsTriangles) {
  // A fold along the y axis: the left face has u along +x, the right one
  // along +z. Each edge vertex lies in as many triangles of one face as of
  // the other, so it takes their mean, (1, 0, 1) / sqrt 2, which is already
  // perpendicular to the fold's normal (1, 0, -1) / sqrt 2.
  const float s = std::sqrt(0.5f);
  std::vector<Vertex> v = {
      V(-1, 0, 0, 0, 1, 0, 0, -1), V(0, 0, 0, 1, 1, s, 0, -s), V(0, 1, 0, 1, 0, s, 0, -s),
      V(-1, 1, 0, 0, 0, 0, 0, -1), V(0, 0, 1, 2, 1, 1, 0, 0), V(0, 1, 1, 2, 0, 1, 0, 0),
  };
  const uint32_t indices[] = {0, 1, 2, 0, 2, 3, 1, 4, 2, 4, 5, 2};
  ComputeTangents(v.data(), 6, kLayout, indices, 4);
  ExpectTangent(v[0], 1, 0, 0);
  ExpectTangent(v[4], 0, 0, 1);
  ExpectTangent(v[1], s, 0, s);
  ExpectTangent(v[2], s, 0, s);
}

TEST(Tangents, DegenerateTextureGivesAUnitPerpendicular) {
  // Every corner at the same texture point: no direction from the texture.
  std::vector<Vertex> v = {V(0, 0, 0, 0.5f, 0.5f, 0, 1, 0), V(1, 0, 0, 0.5f, 0.5f, 0, 1, 0),
                           V(0, 0, 1, 0.5f, 0.5f, 0, 1, 0), V(5, 5, 5, 0, 0, 0, 0, 1)};
  const uint16_t indices[] = {0, 1, 2, 0, 1, 9};  // the second triangle points past the end
  ComputeTangents(v.data(), 4, kLayout, indices, 2);
  for (const Vertex& vertex : v) {
    const float length = std::sqrt(vertex.t[0] * vertex.t[0] + vertex.t[1] * vertex.t[1] + vertex.t[2] * vertex.t[2]);
    EXPECT_NEAR(length, 1.0f, 1e-5f);
    EXPECT_NEAR(vertex.t[0] * vertex.n[0] + vertex.t[1] * vertex.n[1] + vertex.t[2] * vertex.n[2], 0.0f, 1e-5f);
  }
}

TEST(Tangents, LayoutFoundInTheSkinnedDeclaration) {
  TangentLayout l;
  ASSERT_TRUE(FindTangentLayout(kSkinBlendDecl, sizeof(X5SkinnedVertex), &l));
  EXPECT_EQ(l.position, offsetof(X5SkinnedVertex, position));
  EXPECT_EQ(l.normal, offsetof(X5SkinnedVertex, normal));
  EXPECT_EQ(l.texture, offsetof(X5SkinnedVertex, texture));
  EXPECT_EQ(l.tangent, offsetof(X5SkinnedVertex, tangent));
  // The static layout has no tangent.
  EXPECT_FALSE(FindTangentLayout(kSkinStaticDecl, sizeof(X5StaticVertex), &l));
}

}  // namespace
