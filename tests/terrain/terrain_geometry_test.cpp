// The sea floor without a device: the subdivided hexagon, the face grid,
// the shape on the world lattice, the height answers and the structure tops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "collision/X1ArchitectureHeight.h"
#include "collision/X1FaceGrid.h"
#include "terrain/CoarseHeightGrid.h"
#include "terrain/FloorHeightField.h"
#include "terrain/TerrainDraw.h"
#include "terrain/TerrainGeometry.h"
#include "terrain/X1MetaTerrain.h"
#include "terrain/X1Terrain.h"

namespace {

float Cross2(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c) {
  // Twice the area of abc on the x-z plane, positive when it turns
  // clockwise seen from above (the terrain's winding).
  return (b.z - a.z) * (c.x - a.x) - (b.x - a.x) * (c.z - a.z);
}

// A terrain built without a world or device, its features drawn from a
// fixed seed.
struct BuiltTerrain {
  explicit BuiltTerrain(unsigned seed = 7) {
    srand(seed);
    terrain = new X1Terrain;
  }
  ~BuiltTerrain() { delete terrain; }
  X1Terrain* terrain;
};

}  // namespace

TEST(TerrainMesh, SubdivisionCountsPerDepth) {
  const int expected[6][2] = {{7, 6}, {19, 24}, {61, 96}, {217, 384}, {817, 1536}, {3169, 6144}};
  for (int depth = 0; depth <= kTerrainDepth; ++depth) {
    TerrainMesh mesh;
    BuildTerrainTopology(depth, &mesh);
    EXPECT_EQ(mesh.VertexCount(), expected[depth][0]) << depth;
    EXPECT_EQ(mesh.FaceCount(), expected[depth][1]) << depth;
    EXPECT_EQ(mesh.lineage.size(), mesh.vertices.size());
    EXPECT_EQ(mesh.lattice.size(), mesh.vertices.size());
  }
}

TEST(TerrainMesh, FacesTileTheHexagonOnceAtEveryDepth) {
  const float hexagon = 1.5f * std::sqrt(3.0f) * 40.0f * 40.0f;
  for (int depth : {0, 1, kTerrainDepth}) {
    TerrainMesh mesh;
    BuildTerrainTopology(depth, &mesh);
    double area = 0.0;
    for (int f = 0; f < mesh.FaceCount(); ++f) {
      const float twice = Cross2(mesh.vertices[mesh.indices[3 * f]].position,
                                 mesh.vertices[mesh.indices[3 * f + 1]].position,
                                 mesh.vertices[mesh.indices[3 * f + 2]].position);
      ASSERT_GT(twice, 0.0f) << "face " << f << " depth " << depth;
      area += 0.5 * twice;
    }
    // All faces turn the same way and lie in the hexagon: equal areas mean
    // no gap and no overlap.
    EXPECT_NEAR(area, hexagon, hexagon * 1e-4) << depth;
  }
}

TEST(TerrainMesh, LineageAndLatticeAgreeWithPositions) {
  TerrainMesh mesh;
  BuildTerrainTopology(kTerrainDepth, &mesh);
  int perLevel[kTerrainDepth + 1] = {};
  for (int k = 0; k < mesh.VertexCount(); ++k) {
    const VertexLineage& l = mesh.lineage[k];
    ++perLevel[l.level];
    const D3DXVECTOR3& p = mesh.vertices[k].position;
    if (l.level > 0) {
      ASSERT_LT(l.parentA, k);
      ASSERT_LT(l.parentB, k);
      const D3DXVECTOR3 mid = (mesh.vertices[l.parentA].position + mesh.vertices[l.parentB].position) * 0.5f;
      const D3DXVECTOR3 off = p - mid;
      EXPECT_LT(D3DXVec3Length(&off), 1e-4f) << k;
    }
    const D3DXVECTOR2 onLattice = kTerrainLatticeA * static_cast<float>(mesh.lattice[k].i) +
                                  kTerrainLatticeB * static_cast<float>(mesh.lattice[k].j);
    EXPECT_NEAR(onLattice.x, p.x, 1e-3f) << k;
    EXPECT_NEAR(onLattice.y, p.z, 1e-3f) << k;
  }
  const int expected[kTerrainDepth + 1] = {7, 12, 42, 156, 600, 2352};
  for (int level = 0; level <= kTerrainDepth; ++level) EXPECT_EQ(perLevel[level], expected[level]) << level;
}

TEST(TerrainFaceGrid, EveryPointOfTheInnerDiscFindsItsFaceAtTheFirstProbe) {
  TerrainMesh mesh;
  BuildTerrainTopology(kTerrainDepth, &mesh);
  X1FaceGrid grid;
  grid.Build(mesh.vertices.data(), mesh.indices.data(), mesh.FaceCount(), kTerrainVertexCode);
  EXPECT_EQ(grid.DroppedCount(), 0);
  int fullest = 0;
  for (int i = 0; i < X1FaceGrid::kCells; ++i)
    for (int j = 0; j < X1FaceGrid::kCells; ++j) fullest = std::max(fullest, grid.CellCount(i, j));
  EXPECT_LT(fullest, X1FaceGrid::kCellFaces);

  // The hexagon's inscribed disc (radius 34.64 local, 69.3 world) on a fine
  // grid, plus every vertex (where six faces meet): each point lies in the
  // face found for it.
  std::vector<D3DXVECTOR2> points;
  for (float x = -34.6f; x <= 34.6f; x += 0.173f)
    for (float z = -34.6f; z <= 34.6f; z += 0.191f)
      if (x * x + z * z < 34.6f * 34.6f) points.emplace_back(x, z);
  for (const TerrainVertex& v : mesh.vertices)
    if (v.position.x * v.position.x + v.position.z * v.position.z < 34.6f * 34.6f)
      points.emplace_back(v.position.x, v.position.z);
  int misses = 0;
  for (const D3DXVECTOR2& p : points) {
    float u = -1.0f, v = -1.0f;
    const int face = grid.FindFace(p.x, p.y, &u, &v);
    if (face < 0) {
      ++misses;
      continue;
    }
    const D3DXVECTOR3 pos(p.x, 0.0f, p.y);
    const D3DXVECTOR3& a = mesh.vertices[mesh.indices[3 * face]].position;
    const D3DXVECTOR3& b = mesh.vertices[mesh.indices[3 * face + 1]].position;
    const D3DXVECTOR3& c = mesh.vertices[mesh.indices[3 * face + 2]].position;
    const float slack = -1e-3f;
    EXPECT_GE(Cross2(a, b, pos), slack);
    EXPECT_GE(Cross2(b, c, pos), slack);
    EXPECT_GE(Cross2(c, a, pos), slack);
    EXPECT_GE(u, -1e-4f);
    EXPECT_GE(v, -1e-4f);
    EXPECT_LE(u + v, 1.0001f);
  }
  EXPECT_EQ(misses, 0) << "of " << points.size();
}

TEST(TerrainFaceGrid, PointsOffThePatchFindNothing) {
  TerrainMesh mesh;
  BuildTerrainTopology(kTerrainDepth, &mesh);
  X1FaceGrid grid;
  EXPECT_EQ(grid.FindFace(0.0f, 0.0f), -1);  // not built
  grid.Build(mesh.vertices.data(), mesh.indices.data(), mesh.FaceCount(), kTerrainVertexCode);
  // Beyond a corner, past the grid, and where the later probes (+2, +2)
  // only lead further out.
  for (const D3DXVECTOR2& p : {D3DXVECTOR2(45.0f, 0.0f), D3DXVECTOR2(60.0f, 60.0f), D3DXVECTOR2(-200.0f, 3.0f),
                               D3DXVECTOR2(30.0f, 30.0f)})
    EXPECT_EQ(grid.FindFace(p.x, p.y), -1) << p.x << ", " << p.y;
}

TEST(TerrainFaceGrid, CellTopsBoundEveryAnswerIncludingTheLaterProbes) {
  BuiltTerrain t;
  X1Terrain& terrain = *t.terrain;
  terrain.BuildFloor();
  const X1FaceGrid& grid = terrain.FaceGrid();
  // Over the whole grid and past it (local units): on the patch, off it
  // where the later probes reach back onto it, and outside the grid.
  int answered = 0, offPatch = 0;
  for (float x = -54.0f; x <= 54.0f; x += 0.37f) {
    for (float z = -54.0f; z <= 54.0f; z += 0.41f) {
      float y = 0.0f;
      if (!grid.HeightAt(x, z, &y)) {
        EXPECT_FALSE(std::isnan(grid.TopAt(x, z)));
        continue;
      }
      ++answered;
      offPatch += grid.FindFace(x, z) >= 0 && std::hypot(x, z) > 40.0f;
      ASSERT_GE(grid.TopAt(x, z), y) << x << ", " << z;
    }
  }
  EXPECT_GT(answered, 30000);
  EXPECT_GT(offPatch, 0);
  EXPECT_EQ(grid.TopAt(60.0f, 0.0f), -INFINITY);
  X1FaceGrid fresh;
  EXPECT_EQ(fresh.TopAt(0.0f, 0.0f), -INFINITY);  // not built: nothing to find
  TerrainMesh mesh;
  BuildTerrainTopology(kTerrainDepth, &mesh);
  fresh.Build(mesh.vertices.data(), mesh.indices.data(), mesh.FaceCount(), kTerrainVertexCode);
  EXPECT_EQ(fresh.TopAt(0.0f, 0.0f), INFINITY);  // heights not known yet
}

TEST(TerrainHeights, KeepOverGroundAnswersAsTheExactGroundDoes) {
  BuiltTerrain t(13);
  X1Terrain& terrain = *t.terrain;
  // Before the first build the ground is the base height.
  EXPECT_EQ(terrain.KeepOverGround(1.0f, -40.0f, 2.0f, 0.3f), X1Terrain::kStartHeight + 0.3f);
  EXPECT_EQ(terrain.KeepOverGround(1.0f, -20.0f, 2.0f, 0.3f), -20.0f);
  terrain.Recentre(23.0f, -41.0f);
  const float cx = terrain.position.x, cz = terrain.position.z;
  int raised = 0, kept = 0;
  for (float dx = -110.0f; dx <= 110.0f; dx += 1.37f) {
    for (float dz = -110.0f; dz <= 110.0f; dz += 1.53f) {
      const float x = cx + dx, z = cz + dz;
      const float ground = terrain.GetHeight(x, z, nullptr, false, true);
      for (float over : {-6.0f, -0.5f, 0.29f, 0.31f, 1.0f, 4.0f, 12.0f}) {
        const float y = ground + over;
        const float want = std::max(y, ground + 0.3f);
        ASSERT_EQ(terrain.KeepOverGround(x, y, z, 0.3f), want) << dx << ", " << dz << " at " << over;
        ++(want == y ? kept : raised);
      }
    }
  }
  EXPECT_GT(raised, 0);
  EXPECT_GT(kept, 0);
  // A height that is not a number stays.
  EXPECT_TRUE(std::isnan(terrain.KeepOverGround(cx, NAN, cz, 0.3f)));
}

TEST(TerrainShape, MatchesMidpointDisplacementWhenTheCentreIsOnTheCoarsestLattice) {
  // Subdividing a patch and displacing every new vertex from the midpoint of
  // its parents gives the field's heights when the patch's base vertices lie
  // on the coarsest lattice.
  srand(11);
  X1MetaTerrain meta;
  TerrainMesh mesh;
  BuildTerrainTopology(kTerrainDepth, &mesh);
  const float roughness = TerrainRoughness(2);
  FloorHeightField field(meta.features, meta.offset, roughness, X1Terrain::kScale);
  for (const LatticePoint centre : {LatticePoint{0, 0}, LatticePoint{64, -32}}) {
    std::vector<float> reference(mesh.VertexCount());
    for (int k = 0; k < mesh.VertexCount(); ++k) {
      const VertexLineage& l = mesh.lineage[k];
      const LatticePoint p{centre.i + mesh.lattice[k].i, centre.j + mesh.lattice[k].j};
      const D3DXVECTOR2 w = field.Position(p);
      const float parents = l.level == 0 ? 0.0f : 0.5f * (reference[l.parentA] + reference[l.parentB]);
      reference[k] = parents + FeatureDisplacement(meta.features, meta.offset, l.level, roughness, w.x, w.y, nullptr);
      EXPECT_NEAR(field.HeightAt(p), reference[k], 1e-3f) << k;
    }
  }
}

TEST(TerrainShape, NormalsPointUpAndStandStraightWhereNoFeatureIs) {
  for (int upsDowns : {0, 3}) {
    srand(3);
    X1MetaTerrain meta;
    // Every feature far away: only the ripple is left.
    const D3DXVECTOR3 away(5000.0f, 0.0f, 5000.0f);
    X1MetaTerrain ridges;
    ridges.features = meta.features;
    meta.PlaceFeatures(&away, 1);
    for (const X1MetaTerrain* m : {&meta, &ridges}) {
      TerrainMesh mesh;
      BuildTerrainTopology(kTerrainDepth, &mesh);
      FloorHeightField field(m->features, m->offset, TerrainRoughness(upsDowns), X1Terrain::kScale);
      for (int k = 0; k < mesh.VertexCount(); ++k)
        mesh.vertices[k].position.y = field.HeightAt(mesh.lattice[k]) / X1Terrain::kScale;
      ComputeTerrainNormals(&mesh);
      float lowest = 1.0f;
      for (const TerrainVertex& v : mesh.vertices) {
        EXPECT_NEAR(D3DXVec3Length(&v.normal), 1.0f, 1e-4f);
        lowest = std::min(lowest, v.normal.y);
      }
      if (m == &meta)
        EXPECT_GT(lowest, 0.9f) << "UpsDowns " << upsDowns;
      else
        EXPECT_GT(lowest, 0.0f) << "UpsDowns " << upsDowns;
    }
  }
}

TEST(TerrainShape, FeatureWeightsAndLevelAmplitudes) {
  X1MetaTerrain meta;
  meta.features = {TerrainFeature{{-20, 0, 0}, {20, 0, 0}, 10.0f, 10.0f},
                   TerrainFeature{{0, 0, 50}, {0, 0, 90}, 10.0f, -10.0f}};
  D3DXVECTOR3 w;
  // On the ridge's segment (x z = 0: no ripple): full height and hill weight.
  EXPECT_FLOAT_EQ(FeatureDisplacement(meta.features, meta.offset, 0, -1.0f, 0.0f, 0.0f, &w), 10.0f);
  EXPECT_EQ(w, D3DXVECTOR3(1.0f, 0.0f, 1.0f));
  // Half a radius beyond the segment's end.
  EXPECT_FLOAT_EQ(FeatureDisplacement(meta.features, meta.offset, 0, -1.0f, 25.0f, 0.0f, &w), 5.0f);
  EXPECT_FLOAT_EQ(w.x, 0.5f);
  // In the trench, amplitude (2^H)^level: halves per level at UpsDowns 0.
  for (int level = 0; level <= 5; ++level)
    EXPECT_FLOAT_EQ(FeatureDisplacement(meta.features, meta.offset, level, -1.0f, 0.0f, 70.0f, &w),
                    -10.0f * std::pow(0.5f, static_cast<float>(level)));
  EXPECT_EQ(w, D3DXVECTOR3(0.0f, 1.0f, 1.0f));
  // Away from both: the ripple only, no weight.
  EXPECT_FLOAT_EQ(FeatureDisplacement(meta.features, meta.offset, 1, -1.0f, 0.5f, -200.0f, &w),
                  1.25f * std::sin(-100.0f));
  EXPECT_EQ(w, D3DXVECTOR3(0.0f, 0.0f, 1.0f));
}

TEST(TerrainShape, PlaceFeaturesMovesFeatureIByPointIModCount) {
  srand(5);
  X1MetaTerrain meta;
  const std::vector<TerrainFeature> before = meta.features;
  meta.PlaceFeatures(nullptr, 3);
  const D3DXVECTOR3 points[2] = {{10, 99, -4}, {-7, 99, 2}};
  meta.PlaceFeatures(points, 0);
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(meta.features[i].a, before[i].a);
  meta.PlaceFeatures(points, 2);
  ASSERT_EQ(meta.features.size(), static_cast<size_t>(kTerrainFeatureCount));
  for (size_t i = 0; i < before.size(); ++i) {
    const D3DXVECTOR3& p = points[i % 2];
    EXPECT_EQ(meta.features[i].a, before[i].a + D3DXVECTOR3(p.x, 0.0f, p.z)) << i;
    EXPECT_EQ(meta.features[i].b, before[i].b + D3DXVECTOR3(p.x, 0.0f, p.z)) << i;
  }
}

TEST(TerrainSettings, IndexesOutsideTheirTablesAreClamped) {
  const struct {
    int value;
    float roughness, caustic;
  } cases[] = {{-3, -1.0f, 0.4f}, {0, -1.0f, 0.4f}, {1, -0.9f, 0.2f},
               {2, -0.8f, 0.1f},  {3, -0.7f, 0.1f}, {40, -0.7f, 0.1f}};
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(TerrainRoughness(c.value), c.roughness) << c.value;
    EXPECT_FLOAT_EQ(TerrainCausticLevel(c.value), c.caustic) << c.value;
  }
}

TEST(TerrainHeights, BeforeTheFirstBuildEveryQueryAnswersTheBaseHeight) {
  BuiltTerrain t;
  X1Terrain& terrain = *t.terrain;
  EXPECT_FALSE(terrain.IsBuilt());
  int marker = 0;
  for (bool coarse : {false, true}) {
    EXPECT_EQ(terrain.GetHeight(3.0f, -7.0f, &marker, coarse, false), X1Terrain::kStartHeight);
    EXPECT_EQ(terrain.GetHeight(0.0f, 0.0f, nullptr, coarse, true), X1Terrain::kStartHeight);
  }
  EXPECT_EQ(marker, 0);
}

TEST(TerrainHeights, BuildGivesTheFullMeshAndFloorWithinTheWorld) {
  BuiltTerrain t;
  X1Terrain& terrain = *t.terrain;
  terrain.BuildFloor();
  EXPECT_TRUE(terrain.IsBuilt());
  EXPECT_EQ(terrain.Mesh().VertexCount(), 3169);
  EXPECT_EQ(terrain.Mesh().FaceCount(), 6144);
  EXPECT_TRUE(terrain.Coarse().IsFilled());
  // Texture coordinates run with the world (one repeat per 20 units).
  for (const TerrainVertex& v : terrain.Mesh().vertices) {
    EXPECT_FLOAT_EQ(v.u, (v.position.x * 2.0f + terrain.position.x) * 0.05f);
    EXPECT_FLOAT_EQ(v.v, (v.position.z * 2.0f + terrain.position.z) * 0.05f);
  }
  // The exact answer interpolates the face: at a vertex it is the vertex.
  for (int k : {0, 1, 100, 1000, 3000}) {
    const TerrainVertex& v = terrain.Mesh().vertices[k];
    if (std::fabs(v.position.x) > 34.0f || std::fabs(v.position.z) > 30.0f) continue;
    const float x = v.position.x * 2.0f + terrain.position.x, z = v.position.z * 2.0f + terrain.position.z;
    EXPECT_NEAR(terrain.GetHeight(x, z, nullptr, false, true), v.position.y * 2.0f + terrain.position.y, 1e-3f) << k;
  }
}

TEST(TerrainHeights, RecentringKeepsTheFloorWhereItIs) {
  BuiltTerrain t;
  X1Terrain& terrain = *t.terrain;
  terrain.BuildFloor();
  std::vector<D3DXVECTOR3> probes;
  for (float x = -20.0f; x <= 50.0f; x += 3.7f)
    for (float z = -45.0f; z <= 25.0f; z += 4.1f) probes.emplace_back(x, terrain.GetHeight(x, z, nullptr, false, true), z);
  const std::vector<TerrainVertex> before = terrain.Mesh().vertices;
  const D3DXVECTOR3 oldCentre = terrain.position;

  terrain.Recentre(31.3f, -17.8f);
  // On the lattice nearest the asked point, at the same depth.
  EXPECT_NEAR(terrain.position.x, 31.3f, 2.0f);
  EXPECT_NEAR(terrain.position.z, -17.8f, 2.0f);
  EXPECT_EQ(terrain.position.y, oldCentre.y);
  for (const D3DXVECTOR3& p : probes)
    EXPECT_NEAR(terrain.GetHeight(p.x, p.z, nullptr, false, true), p.y, 2e-3f) << p.x << ", " << p.z;

  // Where the patches overlap, their vertices are the same world points
  // with the same heights: no seam anywhere, not only under the camera.
  const D3DXVECTOR3 shift = (oldCentre - terrain.position) / X1Terrain::kScale;
  int shared = 0;
  for (const TerrainVertex& v : terrain.Mesh().vertices) {
    for (const TerrainVertex& w : before) {
      if (std::fabs(w.position.x + shift.x - v.position.x) < 1e-3f &&
          std::fabs(w.position.z + shift.z - v.position.z) < 1e-3f) {
        ++shared;
        EXPECT_NEAR(w.position.y, v.position.y, 1e-4f);
        EXPECT_NEAR(w.u, v.u, 1e-4f);
        break;
      }
    }
  }
  EXPECT_GT(shared, 1000);
}

TEST(TerrainHeights, CoarseGridReadsTheExactHeightAtItsCornersAndStaysNearItBetween) {
  BuiltTerrain t;
  X1Terrain& terrain = *t.terrain;
  terrain.Recentre(-12.0f, 40.0f);
  const float cx = terrain.position.x, cz = terrain.position.z;
  // Steepest slope of any face: the floor's heights change by no more per
  // unit of distance.
  const TerrainMesh& mesh = terrain.Mesh();
  float slope = 0.0f;
  for (int f = 0; f < mesh.FaceCount(); ++f) {
    const D3DXVECTOR3& a = mesh.vertices[mesh.indices[3 * f]].position;
    const D3DXVECTOR3& b = mesh.vertices[mesh.indices[3 * f + 1]].position;
    const D3DXVECTOR3& c = mesh.vertices[mesh.indices[3 * f + 2]].position;
    D3DXVECTOR3 n;
    const D3DXVECTOR3 ab = b - a, ac = c - a;
    D3DXVec3Cross(&n, &ab, &ac);
    slope = std::max(slope, std::hypot(n.x, n.z) / std::fabs(n.y));
  }
  // A query reads its cell's lower corner, at most a cell diagonal away:
  // the two differ by no more than the steepest slope over 2 sqrt(2) units
  // (about 4.5 units on this floor).
  const float tolerance = slope * 2.0f * std::sqrt(2.0f) + 1e-3f;
  EXPECT_LT(tolerance, 8.0f);
  // Over the patch: the grid's far corners reach past the hexagon's inner
  // radius (69.3 units), where there is no floor.
  float worst = 0.0f;
  for (float dx = -50.0f; dx < 51.9f; dx += 0.77f) {
    for (float dz = -50.0f; dz < 51.9f; dz += 0.81f) {
      if (std::hypot(dx, dz) > 66.0f) continue;
      const float coarse = terrain.GetHeight(cx + dx, cz + dz, nullptr, true, true);
      const float fine = terrain.GetHeight(cx + dx, cz + dz, nullptr, false, true);
      worst = std::max(worst, std::fabs(coarse - fine));
    }
  }
  EXPECT_LE(worst, tolerance);
  for (int i = -25; i <= 25; i += 5)
    for (int j = -25; j <= 25; j += 5)
      EXPECT_FLOAT_EQ(terrain.GetHeight(cx + 2.0f * i, cz + 2.0f * j, nullptr, true, true),
                      terrain.GetHeight(cx + 2.0f * i, cz + 2.0f * j, nullptr, false, true));
}

TEST(TerrainHeights, CoarseGridEdges) {
  BuiltTerrain t;
  X1Terrain& terrain = *t.terrain;
  terrain.BuildFloor();
  const float base = terrain.position.y;
  const struct {
    float offset;
    bool inside;
  } cases[] = {{-50.0f, true}, {-50.01f, false}, {51.9f, true}, {52.0f, false}, {0.0f, true}};
  for (const auto& c : cases) {
    for (bool alongX : {true, false}) {
      const float x = terrain.position.x + (alongX ? c.offset : 0.0f);
      const float z = terrain.position.z + (alongX ? 0.0f : c.offset);
      const float h = terrain.GetHeight(x, z, nullptr, true, true);
      if (c.inside)
        EXPECT_NE(h, base) << c.offset;  // the floor is nowhere exactly at the base height
      else
        EXPECT_EQ(h, base) << c.offset;
    }
  }
  EXPECT_EQ(terrain.GetHeight(NAN, 0.0f, nullptr, true, true), base);
  EXPECT_EQ(terrain.GetHeight(NAN, 0.0f, nullptr, false, true), base);
}

namespace {

// A structure with a flat square top 4 units above the floor's base: two
// faces over (-6 .. 6) x (-6 .. 6) round (x, z).
class FlatTop : public C4VertexObject {
 public:
  FlatTop(float x, float y, float z, bool withData = true) {
    position = D3DXVECTOR3(x, y, z);
    const float corners[4][2] = {{-6, -6}, {6, -6}, {6, 6}, {-6, 6}};
    for (int k = 0; k < 4; ++k) {
      vertices[k][0] = corners[k][0];
      vertices[k][1] = 0.0f;
      vertices[k][2] = corners[k][1];
    }
    mesh.vertexCount = 4;
    mesh.vertices = withData ? vertices : nullptr;
    mesh.primitiveCount = 2;
    mesh.indices = indices;
    mesh.fvf = 0x112;
    mesh.stride = 32;
    AddMesh(&mesh);
  }
  float vertices[4][8] = {};
  uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
  X2FishMesh mesh{};
};

}  // namespace

TEST(TerrainStructures, TopsRaiseTheAnswerAndMarkIt) {
  BuiltTerrain t;
  X1Terrain& terrain = *t.terrain;
  FlatTop high(10.0f, 30.0f, -10.0f);
  FlatTop empty(-30.0f, 30.0f, 30.0f, false);
  C4VertexObject bare;  // no mesh at all
  terrain.architecture->Add(&bare);
  terrain.architecture->Add(&empty);
  terrain.architecture->Add(&high);
  terrain.BuildFloor();
  EXPECT_TRUE(terrain.architecture->IsBuilt());

  for (bool coarse : {false, true}) {
    int marker = 0;
    EXPECT_EQ(terrain.GetHeight(10.0f, -10.0f, &marker, coarse, false), 30.0f) << coarse;
    EXPECT_EQ(marker, 1);
    marker = 0;
    const float ground = terrain.GetHeight(10.0f, -10.0f, &marker, coarse, true);
    EXPECT_LT(ground, 30.0f);
    EXPECT_EQ(marker, 0);
    // Off the structure: the ground, the marker left alone.
    marker = 7;
    EXPECT_EQ(terrain.GetHeight(-20.0f, 20.0f, &marker, coarse, false),
              terrain.GetHeight(-20.0f, 20.0f, nullptr, coarse, true));
    EXPECT_EQ(marker, 7);
  }
  // The structure without vertex data is skipped; the one after it is marked.
  EXPECT_EQ(terrain.architecture->GetHeight(-30.0f, 30.0f), X1ArchitectureHeight::kNone);
  EXPECT_EQ(terrain.architecture->GetHeight(500.0f, 0.0f), X1ArchitectureHeight::kNone);
  // A point may lie under a structure's top (beside it in the same cell, or
  // under an overhang): only the ground holds it up.
  const float ground = terrain.GetHeight(10.0f, -10.0f, nullptr, false, true);
  EXPECT_EQ(terrain.KeepOverGround(10.0f, ground + 1.0f, -10.0f, 0.3f), ground + 1.0f);
}

TEST(TerrainStructures, EdgesAreMarkedEveryHalfCellAndBadFacesSkipped) {
  X1ArchitectureHeight tops(nullptr);
  // 23 units: n = 1 + 2 x 4 = 9 steps of 2.56, so every 5-unit cell on the
  // way is marked.
  tops.MarkEdge(D3DXVECTOR3(0.5f, 3.0f, 0.5f), D3DXVECTOR3(23.5f, 3.0f, 0.5f));
  for (float x = 0.5f; x <= 23.5f; x += 1.0f) EXPECT_EQ(tops.GetHeight(x, 0.5f), 3.0f) << x;
  EXPECT_EQ(tops.GetHeight(26.0f, 0.5f), X1ArchitectureHeight::kNone);
  tops.MarkPoint(D3DXVECTOR3(1.0f, 1.0f, 1.0f));  // lower: the cell keeps 3
  EXPECT_EQ(tops.GetHeight(1.0f, 1.0f), 3.0f);
  tops.MarkPoint(D3DXVECTOR3(-100.0f, 9.0f, -100.0f));  // first cell
  tops.MarkPoint(D3DXVECTOR3(105.0f, 9.0f, 0.0f));      // past the last
  EXPECT_EQ(tops.GetHeight(-100.0f, -100.0f), 9.0f);
  EXPECT_EQ(tops.GetHeight(104.9f, 0.0f), X1ArchitectureHeight::kNone);

  const float vertices[3][8] = {{40, 6, 40}, {44, 6, 40}, {40, 6, 44}};
  const uint16_t indices[6] = {0, 1, 2, 0, 1, 3};
  D3DXMATRIX lift;
  D3DXMatrixTranslation(&lift, 0.0f, 2.0f, 0.0f);
  EXPECT_EQ(tops.MarkMesh(vertices, 3, 32, indices, 2, lift), 1);
  EXPECT_EQ(tops.GetHeight(41.0f, 41.0f), 8.0f);
}
