// Whole meshes through the strip builder: decoding the strip must give back
// exactly the oriented triangles of the list, with chunks within the cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "StripCheck.h"
#include "StripMeshes.h"
#include "strips/StripBuilder.h"

using namespace striptest;

namespace {

struct MeshCase {
  std::string name;
  IndexList list;
};

std::vector<MeshCase> Meshes() {
  std::vector<MeshCase> meshes = {
      {"grid 1x1", Grid(1, 1)},
      {"grid 7x3", Grid(7, 3)},
      {"grid 3x17", Grid(3, 17)},
      {"grid 40x40", Grid(40, 40)},
      {"cube", Cube()},
      {"sphere 0", Sphere(0)},
      {"sphere 2", Sphere(2)},
      {"sphere 4", Sphere(4)},
      {"book of 2", Book(2)},
      {"book of 7", Book(7)},
      {"mixed winding grid", MixedWindingGrid(11, 12, 9)},
      {"sphere, spread indices", Remap(Sphere(3), 3, 97)},
  };
  // Two meshes in one list, the second with indices past the first.
  IndexList two = Sphere(1);
  const IndexList cube = Remap(Cube(), 100, 1);
  two.insert(two.end(), cube.begin(), cube.end());
  meshes.push_back({"sphere and cube", two});
  // A grid with a book standing on it (an edge of three and more faces).
  IndexList stand = Grid(5, 5);
  stand.insert(stand.end(), {0, 1, 50, 1, 0, 51, 0, 1, 52, 7, 8, 53, 8, 7, 54});
  meshes.push_back({"grid with fins", stand});
  return meshes;
}

// Runs the builder with the given cache size and checks the result.
void CheckMesh(const std::string& name, const IndexList& list, int cacheSize) {
  SCOPED_TRACE(testing::Message() << name << ", cache " << cacheSize);
  SetStripCacheSize(cacheSize);
  C8PrimitiveGroup* groups = nullptr;
  unsigned short count = 0;
  GenerateStrips(list.data(), static_cast<unsigned int>(list.size()), &groups, &count);
  ASSERT_EQ(1, count);
  std::vector<int> strip(groups[0].indices, groups[0].indices + groups[0].indexCount);
  delete[] groups;

  const std::vector<Triangle> expected =
      ExpectedTriangles(std::vector<int>(list.begin(), list.end()));
  const DecodedStrip decoded = DecodeStrip(strip);
  EXPECT_EQ("", CompareTriangles(expected, decoded.triangles));

  const int limit = std::max(cacheSize - 6, 1);
  for (int run : decoded.runs) ASSERT_LE(run, limit);
}

class StripMeshTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = GetStripCacheSize(); }
  void TearDown() override { SetStripCacheSize(saved_); }

 private:
  int saved_ = 16;
};

TEST_F(StripMeshTest, KnownMeshesDecodeToTheirTriangles) {
  for (const MeshCase& mesh : Meshes()) {
    for (int cacheSize : {24, 16, 9, 7, 64}) CheckMesh(mesh.name, mesh.list, cacheSize);
  }
}

TEST_F(StripMeshTest, RandomListsDecodeToTheirTriangles) {
  // Random triangles over few vertices: mixed windings, edges of many faces,
  // exact, rotated and reversed duplicates.
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    const int vertices = 4 + static_cast<int>(seed % 7) * 6;
    const int triangles = 1 + static_cast<int>(seed * 37 % 150);
    const IndexList list = RandomTriangles(seed, triangles, vertices);
    CheckMesh("random " + std::to_string(seed), list, seed % 2 ? 24 : 16);
  }
  // Spheres and grids with holes, flipped faces and shuffled lists.
  for (uint32_t seed = 200; seed < 220; ++seed) {
    const IndexList base = seed % 2 ? Sphere(2) : Grid(11, 8);
    const int drop = static_cast<int>(seed % 5) * 8;
    const int flip = static_cast<int>(seed % 3) * 10;
    CheckMesh("holed " + std::to_string(seed), Perturb(base, seed, drop, flip),
              seed % 4 ? 24 : 10);
  }
  for (uint32_t seed = 100; seed < 110; ++seed) {
    CheckMesh("mixed grid " + std::to_string(seed), MixedWindingGrid(seed, 9, 14), 24);
  }
}

TEST_F(StripMeshTest, ClosedMeshesJoinIntoFewIndices) {
  // A manifold mesh is walked in long strips: well under the three indices
  // per triangle of a plain list even with the joins every 18 faces.
  SetStripCacheSize(24);
  for (const IndexList& list : {Sphere(3), Grid(20, 20)}) {
    C8PrimitiveGroup* groups = nullptr;
    unsigned short count = 0;
    GenerateStrips(list.data(), static_cast<unsigned int>(list.size()), &groups, &count);
    const size_t triangles = list.size() / 3;
    EXPECT_LT(groups[0].indexCount, triangles * 2) << triangles;
    delete[] groups;
  }
}

}  // namespace
