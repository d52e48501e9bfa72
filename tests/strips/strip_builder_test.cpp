// The strip builder's interface and its small cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "StripCheck.h"
#include "StripMeshes.h"
#include "strips/C8Stripifier.h"
#include "strips/C8VertexCache.h"
#include "strips/StripBuilder.h"

using namespace striptest;

namespace {

// Keeps the process-wide cache size as it found it.
class StripBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = GetStripCacheSize(); }
  void TearDown() override { SetStripCacheSize(saved_); }

  // GenerateStrips on the list; checks the one strip group it must return.
  std::vector<int> Generate(const IndexList& list) {
    C8PrimitiveGroup* groups = nullptr;
    unsigned short count = 0;
    GenerateStrips(list.empty() ? nullptr : list.data(),
                   static_cast<unsigned int>(list.size()), &groups, &count);
    EXPECT_EQ(1, count);
    EXPECT_NE(nullptr, groups);
    std::vector<int> out;
    if (!groups) return out;
    EXPECT_EQ(C8PrimitiveGroup::kTypeStrip, groups[0].type);
    EXPECT_EQ(1, groups[0].type);
    if (groups[0].indexCount > 0) {
      EXPECT_NE(nullptr, groups[0].indices);
      out.assign(groups[0].indices, groups[0].indices + groups[0].indexCount);
    }
    delete[] groups;
    return out;
  }

  std::string Check(const IndexList& list, const std::vector<int>& strip) {
    return CompareTriangles(ExpectedTriangles(std::vector<int>(list.begin(), list.end())),
                            DecodeStrip(strip).triangles);
  }

 private:
  int saved_ = 16;
};

TEST_F(StripBuilderTest, CacheSizeStartsAtSixteenAndIsKept) {
  EXPECT_EQ(16, GetStripCacheSize());
  SetStripCacheSize(24);
  EXPECT_EQ(24, GetStripCacheSize());
}

TEST_F(StripBuilderTest, EmptyListGivesOneEmptyStripGroup) {
  C8PrimitiveGroup* groups = nullptr;
  unsigned short count = 7;
  GenerateStrips(nullptr, 0, &groups, &count);
  ASSERT_EQ(1, count);
  ASSERT_NE(nullptr, groups);
  EXPECT_EQ(1, groups[0].type);
  EXPECT_EQ(0u, groups[0].indexCount);
  EXPECT_EQ(nullptr, groups[0].indices);
  delete[] groups;

  // Fewer than three indices hold no triangle either.
  EXPECT_TRUE(Generate({4, 5}).empty());
}

TEST_F(StripBuilderTest, SingleTriangleIsItsOwnStrip) {
  EXPECT_EQ((std::vector<int>{0, 1, 2}), Generate({0, 1, 2}));
  // A triangle whose first index does not lead keeps its winding too.
  const std::vector<int> strip = Generate({5, 3, 9});
  EXPECT_EQ("", Check({5, 3, 9}, strip));
  EXPECT_LE(strip.size(), 4u);
}

TEST_F(StripBuilderTest, TwoTrianglesSharingAnEdgeMakeOneStrip) {
  // Every rotation of both triangles of a quad, in both list orders.
  const int first[3] = {0, 1, 2};
  const int second[3] = {2, 1, 3};
  for (int r0 = 0; r0 < 3; ++r0) {
    for (int r1 = 0; r1 < 3; ++r1) {
      for (int swapOrder = 0; swapOrder < 2; ++swapOrder) {
        IndexList a, b;
        for (int k = 0; k < 3; ++k) {
          a.push_back(static_cast<unsigned short>(first[(k + r0) % 3]));
          b.push_back(static_cast<unsigned short>(second[(k + r1) % 3]));
        }
        IndexList list = swapOrder ? b : a;
        const IndexList& rest = swapOrder ? a : b;
        list.insert(list.end(), rest.begin(), rest.end());
        const std::vector<int> strip = Generate(list);
        SCOPED_TRACE(testing::Message() << "rotations " << r0 << "," << r1 << " order " << swapOrder);
        EXPECT_TRUE(strip.size() == 4 || strip.size() == 5) << strip.size();
        EXPECT_EQ("", Check(list, strip));
        EXPECT_EQ(1u, DecodeStrip(strip).runs.size());
      }
    }
  }
}

TEST_F(StripBuilderTest, NeighboursOfOppositeWindingKeepTheirOwn) {
  // Both triangles run 0 -> 1: walking from one to the other in a strip
  // would draw the second one flipped.
  for (const IndexList& list : {IndexList{0, 1, 2, 0, 1, 3}, IndexList{2, 0, 1, 1, 3, 0},
                                IndexList{0, 1, 2, 3, 0, 1, 1, 2, 4}}) {
    const std::vector<int> strip = Generate(list);
    EXPECT_EQ("", Check(list, strip));
  }
}

TEST_F(StripBuilderTest, DuplicatesAndDegenerateTrianglesAreLeftOut) {
  // The same triangle in the same order appears once.
  EXPECT_EQ((std::vector<int>{0, 1, 2}), Generate({0, 1, 2, 0, 1, 2, 0, 1, 2}));

  // A rotated copy is the same oriented triangle listed twice: drawn twice.
  const IndexList rotated = {0, 1, 2, 1, 2, 0};
  std::vector<int> strip = Generate(rotated);
  EXPECT_EQ(2u, DecodeStrip(strip).triangles.size());
  EXPECT_EQ("", Check(rotated, strip));

  // Back-to-back faces both stay, each with its own winding.
  const IndexList twoSided = {0, 1, 2, 0, 2, 1};
  EXPECT_EQ("", Check(twoSided, Generate(twoSided)));

  // Triangles with a repeated index draw nothing and are dropped.
  const IndexList degenerate = {0, 0, 1, 0, 1, 2, 3, 3, 3, 2, 1, 3, 1, 2, 1};
  strip = Generate(degenerate);
  EXPECT_EQ("", Check(degenerate, strip));
  EXPECT_EQ(2u, DecodeStrip(strip).triangles.size());

  // Indices past the last whole triangle are ignored.
  EXPECT_EQ((std::vector<int>{0, 1, 2}), Generate({0, 1, 2, 7, 8}));
}

TEST_F(StripBuilderTest, OutputKeepsSixteenBitIndices) {
  const IndexList list = Remap(Grid(6, 4), 65500, 1);
  const std::vector<int> strip = Generate(list);
  EXPECT_EQ("", Check(list, strip));
  for (int v : strip) EXPECT_GE(v, 65500);
}

TEST_F(StripBuilderTest, CallsAreIndependent) {
  SetStripCacheSize(24);
  const IndexList sphere = Sphere(2);
  const std::vector<int> first = Generate(sphere);
  Generate(RandomTriangles(3, 200, 40));
  EXPECT_EQ(first, Generate(sphere));
}

TEST_F(StripBuilderTest, CacheSizeSetsTheLongestRunOfTriangles) {
  // Runs of drawn triangles are the chunks: degenerate triangles separate
  // every two of them.
  const IndexList grid = Grid(24, 24);
  const struct {
    int cacheSize;
    int longest;
  } cases[] = {{24, 18}, {16, 10}, {7, 1}, {3, 1}, {0, 1}, {-5, 1}, {40, 34}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cacheSize);
    SetStripCacheSize(c.cacheSize);
    const std::vector<int> strip = Generate(grid);
    EXPECT_EQ("", Check(grid, strip));
    const DecodedStrip decoded = DecodeStrip(strip);
    int longest = 0;
    for (int run : decoded.runs) longest = std::max(longest, run);
    // A 24 x 24 grid has strips long enough to fill every chunk size here.
    EXPECT_EQ(c.longest, longest);
  }
}

TEST_F(StripBuilderTest, ChunksPartitionTheFacesWithinTheirSize) {
  const IndexList sphere = Sphere(3);
  const std::vector<int> list(sphere.begin(), sphere.end());
  for (int cacheSize : {24, 16, 7, 12}) {
    SCOPED_TRACE(cacheSize);
    C8Stripifier stripifier(cacheSize);
    const int limit = std::max(cacheSize - 6, 1);
    EXPECT_EQ(limit, stripifier.EffectiveCacheSize());
    const std::vector<C8StripInfo*>& chunks = stripifier.Stripify(list);
    std::set<const C8StripFace*> seen;
    size_t faces = 0;
    for (const C8StripInfo* chunk : chunks) {
      EXPECT_FALSE(chunk->Faces().empty());
      EXPECT_LE(chunk->Faces().size(), static_cast<size_t>(limit));
      EXPECT_FALSE(chunk->IsExperiment());
      EXPECT_TRUE(chunk->Visited());
      for (const C8StripFace* face : chunk->Faces()) {
        EXPECT_TRUE(seen.insert(face).second) << "face in two chunks";
        EXPECT_GE(face->stripId, 0);
        ++faces;
      }
    }
    EXPECT_EQ(stripifier.Faces().size(), faces);
  }
}

TEST(StripDiagnostics, ThirdTriangleOnAnEdgeIsReportedOnStandardOutput) {
  testing::internal::CaptureStdout();
  const IndexList book = Book(4);
  C8Stripifier stripifier(24);
  stripifier.Stripify(std::vector<int>(book.begin(), book.end()));
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string line = "BuildStripifyInfo: > 2 triangles on an edge... uncertain consequences\n";
  // Pages three and four find the edge (0, 1) already shared.
  EXPECT_EQ(line + line, out.substr(0, 2 * line.size()));
  // The extra pages stay off the edge.
  const C8StripEdge* spine = stripifier.FindEdge(1, 0);
  ASSERT_NE(nullptr, spine);
  EXPECT_EQ(&stripifier.Faces()[0], spine->face0);
  EXPECT_EQ(&stripifier.Faces()[1], spine->face1);
}

TEST(StripDiagnostics, GetNextIndexFindsTheThirdVertex) {
  const C8StripFace face(4, 7, 9);
  testing::internal::CaptureStdout();
  EXPECT_EQ(9, C8Stripifier::GetNextIndex({4, 7}, &face));
  EXPECT_EQ(9, C8Stripifier::GetNextIndex({1, 2, 7, 4}, &face));
  EXPECT_EQ(4, C8Stripifier::GetNextIndex({9, 7}, &face));
  EXPECT_EQ(7, C8Stripifier::GetNextIndex({4, 9}, &face));
  EXPECT_EQ("", testing::internal::GetCapturedStdout());

  // A face that does not hold both of the last two indices.
  testing::internal::CaptureStdout();
  EXPECT_EQ(7, C8Stripifier::GetNextIndex({4, 5}, &face));
  EXPECT_EQ(
      "GetNextIndex: Triangle doesn't have all of its vertices\n"
      "GetNextIndex: Duplicate triangle probably got us derailed\n",
      testing::internal::GetCapturedStdout());

  // A face with nothing new.
  const C8StripFace flat(4, 7, 4);
  testing::internal::CaptureStdout();
  EXPECT_EQ(-1, C8Stripifier::GetNextIndex({4, 7}, &flat));
  EXPECT_EQ("GetNextIndex: Duplicate triangle sent\n", testing::internal::GetCapturedStdout());
}

TEST(StripVertexCache, KeepsTheLastDistinctEntriesFirstInFirstOut) {
  C8VertexCache cache(3);
  EXPECT_EQ(3, cache.Size());
  EXPECT_FALSE(cache.InCache(0));
  cache.AddEntry(1);
  cache.AddEntry(2);
  cache.AddEntry(3);
  EXPECT_TRUE(cache.InCache(1) && cache.InCache(2) && cache.InCache(3));
  cache.AddEntry(4);
  EXPECT_FALSE(cache.InCache(1));
  EXPECT_TRUE(cache.InCache(2) && cache.InCache(4));
  EXPECT_FALSE(cache.InCache(-2));
}

}  // namespace
