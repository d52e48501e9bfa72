// The sea surface without a device: its generated mesh, the per-frame
// geometry moved by the one wave function, the sun light's tilt, and the
// water simulation's counter and CPU reference.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "SeafaceContent.h"
#include "common/SceneGlobals.h"
#include "fog/SegmentPlan.h"
#include "seaface/C6unionSeaface.h"
#include "seaface/EvaluateWaves.h"
#include "seaface/SeafaceGeometry.h"
#include "seaface/WaterSimulation.h"
#include "terrain/X1Terrain.h"

namespace {

const X2FishMesh& Mesh() { return SeafaceContent::kSurfaceMesh; }
const SurfaceVertex* MeshVertices() { return static_cast<const SurfaceVertex*>(Mesh().vertices); }

TEST(SeafaceMesh, SegmentsFollowOneAnotherAndOwnTheirFaces) {
  const X2FishMesh& m = Mesh();
  ASSERT_EQ(m.vertexCount, 1837u);
  ASSERT_EQ(m.primitiveCount, 2916u);
  ASSERT_EQ(m.attributeRangeCount, 19u);
  ASSERT_EQ(m.stride, sizeof(SurfaceVertex));
  uint32_t nextFace = 0, nextVertex = 0;
  for (uint32_t s = 0; s < m.attributeRangeCount; ++s) {
    const X2AttributeRange& r = m.attributeRanges[s];
    EXPECT_EQ(r.faceStart, nextFace);
    EXPECT_EQ(r.vertexStart, nextVertex);
    for (uint32_t f = r.faceStart; f < r.faceStart + r.faceCount; ++f)
      for (int k = 0; k < 3; ++k) {
        const uint16_t i = m.indices[f * 3 + k];
        ASSERT_TRUE(i >= r.vertexStart && i < r.vertexStart + r.vertexCount) << "segment " << s << " face " << f;
      }
    nextFace += r.faceCount;
    nextVertex += r.vertexCount;
  }
  EXPECT_EQ(nextFace, m.primitiveCount);
  EXPECT_EQ(nextVertex, m.vertexCount);
  // All in view: one merged draw of the whole mesh, no broken run.
  const SegmentDrawPlan plan = PlanSegmentDraws(m.attributeRanges, 19, std::vector<uint32_t>(19, 0u), true,
                                                m.vertexCount, m.primitiveCount);
  EXPECT_EQ(plan.brokenRun, 0);
  ASSERT_EQ(plan.draws.size(), 1u);
  EXPECT_EQ(plan.draws[0].primitiveCount, 2916u);
}

TEST(SeafaceMesh, SpansTheFloorFacingDown) {
  const SurfaceVertex* v = MeshVertices();
  float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f, minU = 1e9f, maxU = -1e9f;
  for (uint32_t i = 0; i < Mesh().vertexCount; ++i) {
    minX = std::fmin(minX, v[i].x);
    maxX = std::fmax(maxX, v[i].x);
    minZ = std::fmin(minZ, v[i].z);
    maxZ = std::fmax(maxZ, v[i].z);
    minU = std::fmin(minU, std::fmin(v[i].u, v[i].v));
    maxU = std::fmax(maxU, std::fmax(v[i].u, v[i].v));
    ASSERT_EQ(v[i].y, 0.0f);
    ASSERT_EQ(v[i].ny, -1.0f);
  }
  EXPECT_NEAR(minX, -96.0f, 0.01f);
  EXPECT_NEAR(maxX, 96.0f, 0.01f);
  EXPECT_NEAR(minZ, -83.0f, 0.01f);
  EXPECT_NEAR(maxZ, 83.0f, 0.01f);
  EXPECT_NEAR(minU, 0.25f, 1e-4f);
  EXPECT_NEAR(maxU, 0.75f, 1e-4f);
  // The faces' own normals point down too: seen from below they are the
  // front faces the surfaces' counter-clockwise culling keeps.
  std::vector<SurfaceVertex> copy(v, v + Mesh().vertexCount);
  std::vector<D3DXVECTOR3> sums(copy.size());
  ComputeFaceNormals(copy.data(), static_cast<int>(copy.size()), Mesh().indices,
                     static_cast<int>(Mesh().primitiveCount), sums.data());
  for (const SurfaceVertex& p : copy) ASSERT_NEAR(p.ny, -1.0f, 1e-5f);
}

// The surface moves by the same waves the ceiling collision reads, its
// normals pointing down into the water.
TEST(SeafaceGeometry, SurfaceFollowsTheWaveHeight) {
  std::vector<SurfaceVertex> out(Mesh().vertexCount);
  for (float t : {0.0f, 3.7f, 41.0f}) {
    AnimateSurface(MeshVertices(), static_cast<int>(out.size()), t, out.data());
    for (size_t i = 0; i < out.size(); i += 37) {
      const SurfaceVertex& in = MeshVertices()[i];
      EXPECT_FLOAT_EQ(out[i].y, WaveHeight(in.x, in.z, t));
      EXPECT_LT(out[i].ny, 0.0f);
      EXPECT_NEAR(out[i].nx * out[i].nx + out[i].ny * out[i].ny + out[i].nz * out[i].nz, 1.0f, 1e-4f);
      EXPECT_FLOAT_EQ(out[i].u, in.u * 10.0f);  // no texture drift on the shader surface
    }
  }
}

// The fixed-function grid, stored at a tenth of the size, lands where the
// shader surface is, at the same wave heights; its face normals point down.
TEST(SeafaceGeometry, LegacyGridIsTheSurfaceAtATenth) {
  std::vector<SurfaceVertex> grid(MeshVertices(), MeshVertices() + Mesh().vertexCount);
  for (SurfaceVertex& p : grid) p.x *= 0.1f, p.z *= 0.1f;
  std::vector<SurfaceVertex> out(grid.size());
  std::vector<D3DXVECTOR3> sums(grid.size());
  AnimateLegacyGrid(grid.data(), static_cast<int>(grid.size()), 5.0f, out.data());
  ComputeFaceNormals(out.data(), static_cast<int>(out.size()), Mesh().indices,
                     static_cast<int>(Mesh().primitiveCount), sums.data());
  for (size_t i = 0; i < out.size(); i += 29) {
    EXPECT_NEAR(out[i].x, MeshVertices()[i].x, 1e-3f);
    EXPECT_NEAR(out[i].y, WaveHeight(out[i].x, out[i].z, 5.0f), 1e-3f);
    EXPECT_LT(out[i].ny, 0.0f);
  }
}

TEST(SunLight, RestsOnCalmWaterAndFollowsTheSurfaceCentre) {
  // At t = 0 the waves over the surface's centre are flat.
  const D3DXVECTOR3 calm = SunLightDirection(D3DXVECTOR3(0.0f, 0.0f, 0.0f), 0.0f, 0.0f, 0.0f);
  EXPECT_NEAR(calm.x, kSunRestDirection.x, 1e-6f);
  EXPECT_NEAR(calm.y, kSunRestDirection.y, 1e-6f);
  EXPECT_NEAR(calm.z, kSunRestDirection.z, 1e-6f);
  // The waves move with the surface: the same view of the surface from a
  // camera moved along with it gives the same light.
  const D3DXVECTOR3 eye(3.0f, -8.0f, 2.0f);
  bool tilted = false;
  for (float t : {1.0f, 2.5f, 7.0f}) {
    const D3DXVECTOR3 a = SunLightDirection(eye, 0.0f, 0.0f, t);
    const D3DXVECTOR3 b = SunLightDirection(eye + D3DXVECTOR3(40.0f, 0.0f, -30.0f), 40.0f, -30.0f, t);
    EXPECT_NEAR(a.x, b.x, 1e-5f);
    EXPECT_NEAR(a.y, b.y, 1e-5f);
    EXPECT_NEAR(a.z, b.z, 1e-5f);
    EXPECT_NEAR(D3DXVec3Length(&a), 1.0f, 1e-4f);
    tilted |= std::fabs(a.x - kSunRestDirection.x) + std::fabs(a.z - kSunRestDirection.z) > 1e-3f;
  }
  EXPECT_TRUE(tilted);
}

// A rebuilt floor keeps the surface over its new centre, at its height.
TEST(SeafaceGeometry, FloorRecentresTheSurface) {
  C6unionSeaface surface;
  X1Terrain terrain;
  terrain.BuildFloor();
  TheSeaface = &surface;
  terrain.Recentre(31.3f, -17.8f);
  TheSeaface = nullptr;
  EXPECT_EQ(surface.centreX, terrain.position.x);
  EXPECT_EQ(surface.centreZ, terrain.position.z);
  EXPECT_NE(surface.centreX, 0.0f);
}

TEST(WaterSimulation, CounterSeedsEvery2001stFrame) {
  int counter = 0;
  std::vector<int> seeds;
  for (int frame = 0; frame < 5000; ++frame) {
    if (counter == 0) seeds.push_back(frame);
    counter = NextWaterFrame(counter);
  }
  EXPECT_EQ(seeds, (std::vector<int>{0, 2001, 4002}));
}

// Water at rest stays at rest with a flat normal map; a raised drop makes
// slopes of opposite sign on either side and spreads to its neighbours.
TEST(WaterSimulation, ReferenceRestsAndSpreadsADrop) {
  constexpr int n = 16;
  const WaterReference::Image rest(n * n, 0xFF808080u);
  WaterReference calm(n);
  for (int i = 0; i < 3; ++i) calm.Step(rest);
  for (uint32_t p : calm.height) ASSERT_EQ(p & 0xFFFFFF, 0x808080u);
  for (uint32_t p : calm.normal) ASSERT_EQ(p, 0xFF8080FFu);

  WaterReference::Image drop = rest;
  drop[8 * n + 8] = 0xFFF0F0F0u;
  WaterReference w(n);
  w.Step(drop);
  auto red = [&](int x, int y) { return static_cast<int>((w.normal[y * n + x] >> 16) & 0xFF); };
  auto green = [&](int x, int y) { return static_cast<int>((w.normal[y * n + x] >> 8) & 0xFF); };
  // Two texels off the drop (whose smoothed height spreads one texel).
  EXPECT_GT(red(10, 8), 128);  // higher on its left
  EXPECT_LT(red(6, 8), 128);
  EXPECT_GT(green(8, 6), 128);  // higher below it
  EXPECT_LT(green(8, 10), 128);
  EXPECT_NE(w.velocity[8 * n + 9] & 0xFF, 0x80u);  // the neighbour is pulled up
  EXPECT_EQ(w.counter, 1);
}

}  // namespace
