// Vertex cache misses of the strips against the lists they came from: a
// strip never misses a FIFO cache of the builder's size more often than its
// list, whatever order the list is in.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "StripCheck.h"
#include "StripMeshes.h"
#include "fish/BuiltinFish.h"
#include "strips/C8Stripifier.h"
#include "strips/C8VertexCache.h"
#include "strips/StripBuilder.h"

using namespace striptest;

namespace {

struct CacheCase {
  std::string name;
  IndexList list;
};

std::vector<CacheCase> CacheCases() {
  std::vector<CacheCase> cases = {
      {"cube", Cube()},
      {"grid 16x16", Grid(16, 16)},
      {"grid 64x64", Grid(64, 64)},
      {"sphere 3", Sphere(3)},
      {"sphere 4", Sphere(4)},
      {"tube 20x10", Tube(20, 10)},
      {"tube 30x12, shuffled", Perturb(Tube(30, 12), 5, 0, 0)},
      {"sphere 3, shuffled", Perturb(Sphere(3), 9, 0, 0)},
      {"grid 30x30, holed, flipped, shuffled", Perturb(Grid(30, 30), 4, 15, 20)},
      {"mixed winding grid", MixedWindingGrid(11, 20, 20)},
      {"random soup", RandomTriangles(7, 2000, 400)},
      {"random soup, few vertices", RandomTriangles(3, 300, 20)},
      {"book of 9", Book(9)},
  };
  // The meshes the program strips.
  int count = 0;
  const X2FishData* const* species = GetBuiltinSpecies(&count);
  for (int i = 0; i < count; ++i) {
    const X2FishMesh* mesh = species[i]->modelCount ? species[i]->model->baseMesh : nullptr;
    if (!mesh || !mesh->indices || mesh->xBlock) continue;
    cases.push_back({"species " + std::to_string(i),
                     IndexList(mesh->indices, mesh->indices + mesh->primitiveCount * 3)});
  }
  return cases;
}

class StripCacheTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = GetStripCacheSize(); }
  void TearDown() override { SetStripCacheSize(saved_); }

 private:
  int saved_ = 16;
};

TEST_F(StripCacheTest, StripsMissNoMoreThanTheirLists) {
  for (const CacheCase& c : CacheCases()) {
    const std::vector<int> list(c.list.begin(), c.list.end());
    for (int cacheSize : {16, 24, 10, 3}) {
      SCOPED_TRACE(testing::Message() << c.name << ", cache " << cacheSize);
      SetStripCacheSize(cacheSize);
      C8PrimitiveGroup* groups = nullptr;
      unsigned short count = 0;
      GenerateStrips(c.list.data(), static_cast<unsigned int>(c.list.size()), &groups, &count);
      ASSERT_EQ(1, count);
      const std::vector<int> strip(groups[0].indices, groups[0].indices + groups[0].indexCount);
      delete[] groups;

      EXPECT_LE(C8VertexCache::CountMisses(strip, cacheSize),
                C8VertexCache::CountMisses(list, cacheSize));
      const DecodedStrip decoded = DecodeStrip(strip);
      EXPECT_EQ("", CompareTriangles(ExpectedTriangles(list), decoded.triangles));
      for (int run : decoded.runs) ASSERT_LE(run, std::max(cacheSize - 6, 1));
    }
  }
}

TEST_F(StripCacheTest, WellOrderedListsStillGiveStrips) {
  // The fish are listed ring by ring, already good for the cache: their
  // strips must still be real strips, well under the list's three indices
  // per triangle, not a face per run.
  SetStripCacheSize(16);
  for (const CacheCase& c : CacheCases()) {
    if (c.name.rfind("species", 0) != 0 && c.name.rfind("tube", 0) != 0) continue;
    SCOPED_TRACE(c.name);
    const std::vector<int> list(c.list.begin(), c.list.end());
    C8PrimitiveGroup* groups = nullptr;
    unsigned short count = 0;
    GenerateStrips(c.list.data(), static_cast<unsigned int>(c.list.size()), &groups, &count);
    const std::vector<int> strip(groups[0].indices, groups[0].indices + groups[0].indexCount);
    delete[] groups;
    EXPECT_LT(strip.size(), list.size() / 3 * 2);
  }
}

TEST(StripListOrder, FacePerRunMissesExactlyWhereTheListDoes) {
  // Duplicates, triangles with a repeated index and mixed windings included.
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    const int n = static_cast<int>(seed);
    IndexList soup = RandomTriangles(seed, 60 + n * 13, 8 + n * 3);
    soup.insert(soup.end(), {4, 4, 5, 1, 2, 1, 6, 6, 6});
    const std::vector<int> list(soup.begin(), soup.end());
    C8Stripifier stripifier(16);
    stripifier.Stripify(list);
    const std::vector<int> strip = stripifier.ListAsStrip();
    SCOPED_TRACE(seed);
    EXPECT_EQ("", CompareTriangles(ExpectedTriangles(list), DecodeStrip(strip).triangles));
    for (int cacheSize : {1, 3, 16, 32}) {
      EXPECT_EQ(C8VertexCache::CountMisses(list, cacheSize),
                C8VertexCache::CountMisses(strip, cacheSize)) << cacheSize;
    }
  }
}

TEST(StripListOrder, ListRunsDecodeToTheirFaces) {
  // The runs of a walk over the list, joined as listed: every face once,
  // with its winding, in runs within the chunk size.
  std::vector<IndexList> lists = {Tube(6, 7), Perturb(Sphere(2), 3, 10, 30),
                                  MixedWindingGrid(5, 8, 8)};
  for (int seed = 1; seed <= 20; ++seed) {
    lists.push_back(RandomTriangles(static_cast<uint32_t>(seed), 20 + seed * 9, 5 + seed));
  }
  for (size_t k = 0; k < lists.size(); ++k) {
    SCOPED_TRACE(k);
    const std::vector<int> list(lists[k].begin(), lists[k].end());
    C8Stripifier stripifier(12);
    stripifier.Stripify(list);
    const auto runs = stripifier.WalkList();
    std::vector<C8StripInfo*> ordered;
    for (const auto& run : runs) ordered.push_back(run.get());
    const DecodedStrip decoded = DecodeStrip(C8Stripifier::Join(ordered));
    EXPECT_EQ("", CompareTriangles(ExpectedTriangles(list), decoded.triangles));
    for (int run : decoded.runs) ASSERT_LE(run, 6);
  }
}

}  // namespace
