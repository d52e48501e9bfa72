// The data of all nine species: meshes, frames, partial morphs and images are
// consistent with themselves and with what the records promise.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ModelChecks.h"
#include "ModelSet.h"

using namespace qvspecies;

namespace {

class SpeciesDataTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    set_ = new SpeciesSet;
    if (!set_->Load(&error_)) ADD_FAILURE() << error_;
  }
  static void TearDownTestSuite() {
    delete set_;
    set_ = nullptr;
  }
  static SpeciesSet* set_;
  static std::string error_;
};
SpeciesSet* SpeciesDataTest::set_ = nullptr;
std::string SpeciesDataTest::error_;

std::string Join(const Problems& p) {
  std::string s;
  for (const auto& line : p) s += line + "\n";
  return s;
}

// Images a species carries: the counted entries plus the extra one; Calvesh's
// two uncounted entries are checked as well.
uint32_t ImagesOf(const Species& s) {
  const X2FishModel& m = *s.record->model;
  if (s.tag == "calvesh") return 3;
  return m.textureCount + (m.hasExtraTexture ? 1 : 0);
}

TEST_F(SpeciesDataTest, NineSpeciesAreThere) { ASSERT_EQ(set_->All().size(), 9u) << error_; }

TEST_F(SpeciesDataTest, MeshesFramesAndPartsAreConsistent) {
  for (const Species& s : set_->All()) {
    SCOPED_TRACE(s.tag);
    ASSERT_EQ(s.record->modelCount, 1u);
    const X2FishModel& m = *s.record->model;
    Problems problems;
    CheckMesh(m.baseMesh, X2_FVF_VERTEX, s.tag + " base", &problems);
    if (m.hasSecondMesh) {
      ASSERT_NE(m.secondMesh, nullptr);
      CheckMesh(m.secondMesh->mesh, X2_FVF_VERTEX, s.tag + " far", &problems);
    }
    CheckFrames(m, s.tag, &problems);
    CheckParts(m, s.tag, &problems);
    EXPECT_TRUE(problems.empty()) << Join(problems);
  }
}

TEST_F(SpeciesDataTest, ImagesAreWholeStreamsOfTheRightSize) {
  for (const Species& s : set_->All()) {
    const X2FishModel& m = *s.record->model;
    for (uint32_t i = 0; i < ImagesOf(s); ++i) {
      const std::string what = s.tag + " image " + std::to_string(i);
      SCOPED_TRACE(what);
      const X2FishTexture& t = m.textures[i];
      // The size the header promises decides the expected inflated size.
      std::vector<uint8_t> probe;
      Problems problems;
      const uint32_t side = s.isPlugin ? 1024 : 512;
      std::string kind = s.tag == "calvesh" ? "DXT2" : "DXT1";
      if (!s.isPlugin && i == 1) kind = "TGA24";
      const size_t expected = ImageFileSize(kind, side, side);
      ASSERT_TRUE(Inflate(t, expected, &probe, what, &problems)) << Join(problems);
      ImageInfo info = ReadImageHeader(probe, what, &problems);
      EXPECT_EQ(info.kind, kind);
      EXPECT_EQ(info.width, side);
      EXPECT_EQ(info.height, side);
      EXPECT_LE(info.mipCount, 1u);
      EXPECT_TRUE(problems.empty()) << Join(problems);
    }
  }
}

TEST_F(SpeciesDataTest, ImageSizesOfThePlugins) {
  EXPECT_EQ(ImageFileSize("DXT1", 1024, 1024), 524416u);
  EXPECT_EQ(ImageFileSize("DXT2", 1024, 1024), 1048704u);
}

// Swim frames bend the body sideways, the tail more than the head, to both
// sides over the ring; the coral's frames sway its top, not its foot.
TEST_F(SpeciesDataTest, FramesBendTheBody) {
  for (const Species& s : set_->All()) {
    SCOPED_TRACE(s.tag);
    const X2FishModel& m = *s.record->model;
    const X2FishMesh& base = *m.baseMesh;
    const bool fan = s.tag == "calvesh";
    // the axis along which motion grows: +x (nose at -x, towards the tail) or
    // +y (up the fan); a fish bends along z, the fan sways along z too
    auto along = [&](const float* v) { return fan ? v[1] : v[0]; };
    auto moved = [&](const float* f, const float* b) { return std::fabs(f[2] - b[2]); };
    float lo = 1e9f, hi = -1e9f;
    for (uint32_t i = 0; i < base.vertexCount; ++i) {
      const float* v = static_cast<const float*>(base.vertices) + i * 8;
      lo = std::min(lo, along(v));
      hi = std::max(hi, along(v));
    }
    bool left = false, right = false;
    for (uint32_t k = 0; k < m.frameCount; ++k) {
      const X2FishMesh& frame = *m.frames[k];
      double nearSum = 0, farSum = 0;
      int nearCount = 0, farCount = 0;
      for (uint32_t i = 0; i < base.vertexCount; ++i) {
        const float* b = static_cast<const float*>(base.vertices) + i * 8;
        const float* f = static_cast<const float*>(frame.vertices) + i * 6;
        const float t = (along(b) - lo) / (hi - lo);
        if (t < 0.25f) nearSum += moved(f, b), ++nearCount;
        if (t > 0.75f) {
          farSum += moved(f, b), ++farCount;
          const float d = f[2] - b[2];
          left |= d < 0;
          right |= d > 0;
        }
      }
      ASSERT_GT(nearCount, 0);
      ASSERT_GT(farCount, 0);
      if (fan && (k == 0 || k == 5)) continue;  // the sway passes through rest
      EXPECT_GT(farSum / farCount, 2.0 * nearSum / nearCount) << "frame " << k;
    }
    EXPECT_TRUE(left && right) << "the frames bend to one side only";
  }
}

struct BuiltinExpect {
  const char* name;
  const char* latin;
  uint32_t vertices, faces, ranges;
  uint32_t farVertices, farFaces;  // 0 = no far mesh
  uint32_t parts;
  uint32_t textures;
  bool extra;
  uint32_t modelFlags;
};

const BuiltinExpect kBuiltin[7] = {
    {"マアジ", "Trachurus japonicus", 279, 400, 10, 118, 137, 9, 1, true, 0x9},
    {"ブリ", "Seriola quinqueradiata", 337, 510, 10, 0, 0, 9, 1, true, 0x1},
    {"マイワシ", "Sardinops melanosictus", 138, 224, 3, 0, 0, 0, 1, false, 0x1},
    {"マダイ", "Pagrus major", 385, 558, 10, 114, 156, 9, 1, true, 0x1},
    {"クロダイ", "Acanthopagrus schlegeli", 385, 558, 10, 114, 156, 9, 2, false, 0x1},
    {"マダイ（青）", "Pagrus major", 385, 558, 10, 114, 156, 9, 2, false, 0x1},
    {"マダイ（黄）", "Pagrus major", 385, 558, 10, 114, 156, 9, 2, false, 0x1},
};

TEST_F(SpeciesDataTest, BuiltinRecordsAsListed) {
  ASSERT_GE(set_->All().size(), 7u);
  for (int i = 0; i < 7; ++i) {
    const BuiltinExpect& e = kBuiltin[i];
    const X2FishData& r = *set_->All()[i].record;
    SCOPED_TRACE(set_->All()[i].tag);
    EXPECT_EQ(r.header.version, 0x00020101u);
    EXPECT_EQ(r.header.nextOffset, 0u);
    EXPECT_STREQ(r.header.name, e.name);
    EXPECT_STREQ(r.header.maker, "ハルベノルソフト");
    EXPECT_STREQ(r.latinName, e.latin);
    EXPECT_STREQ(r.defaultAI, "ハイキング(群)_ハルベノルソフト");
    EXPECT_EQ(r.flags, 0u);
    EXPECT_EQ(r.PlaceInstance, nullptr);
    const X2FishModel& m = *r.model;
    EXPECT_EQ(m.scale, 1.0f);
    EXPECT_EQ(m.frameCount, 10u);
    EXPECT_EQ(m.swimRate, 2.0f);
    EXPECT_EQ(m.swimBase, 0.2f);
    EXPECT_EQ(m.swimMax, 0.5f);
    EXPECT_EQ(m.flags, e.modelFlags);
    EXPECT_EQ(m.textureCount, e.textures);
    EXPECT_EQ(m.hasExtraTexture != 0, e.extra);
    EXPECT_EQ(m.baseMesh->vertexCount, e.vertices);
    EXPECT_EQ(m.baseMesh->primitiveCount, e.faces);
    EXPECT_EQ(m.baseMesh->attributeRangeCount, e.ranges);
    EXPECT_EQ(m.hasSecondMesh != 0, e.farVertices != 0);
    if (m.hasSecondMesh && e.farVertices) {
      EXPECT_EQ(m.secondMesh->mesh->vertexCount, e.farVertices);
      EXPECT_EQ(m.secondMesh->mesh->primitiveCount, e.farFaces);
    }
    EXPECT_EQ(m.partCount, e.parts);
    if (e.parts) {
      ASSERT_NE(m.pminfoMesh, nullptr);
      EXPECT_EQ(m.pminfoMesh->attributeRangeCount, 18u);
    } else {
      EXPECT_EQ(m.pminfoMesh, nullptr);
    }
  }
  // Shift-JIS bytes as stored (ダ is 0x83 0x5F, （ and ） are double-byte).
  const char* blue = set_->All()[5].record->header.name;
  const unsigned char kBlue[] = {0x83, 0x7D, 0x83, 0x5F, 0x83, 0x43, 0x81, 0x69, 0x90, 0xC2, 0x81, 0x6A, 0};
  EXPECT_EQ(std::memcmp(blue, kBlue, sizeof(kBlue)), 0);
}

TEST_F(SpeciesDataTest, SeaBreamsShareOneMeshSetAndDifferInTheirSkin) {
  ASSERT_GE(set_->All().size(), 7u);
  const X2FishModel& first = *set_->All()[3].record->model;
  for (int i = 4; i < 7; ++i) {
    const X2FishModel& m = *set_->All()[i].record->model;
    EXPECT_EQ(m.baseMesh, first.baseMesh);
    EXPECT_EQ(m.secondMesh, first.secondMesh);
    EXPECT_EQ(m.frames, first.frames);
    EXPECT_EQ(m.parts, first.parts);
    EXPECT_NE(m.textures[0].data, first.textures[0].data);
    EXPECT_EQ(m.textures[1].data, first.textures[1].data);  // the shared TGA
  }
}

}  // namespace

// The checks themselves find the faults they are there for.
namespace {

struct TinyMesh {
  float vertices[4][8] = {{0, 0, 0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 0, 1, 1, 0},
                          {0, 1, 0, 0, 0, 1, 0, 1}, {1, 1, 0, 0, 0, 1, 1, 1}};
  uint16_t indices[6] = {0, 1, 2, 3, 3, 3};
  X2AttributeRange ranges[2] = {{0, 0, 1, 0, 3}, {1, 1, 1, 3, 1}};
  X2FishMesh mesh{4, vertices, 2, indices, X2_FVF_VERTEX, 32, ranges, 2, nullptr};
};

TEST(SpeciesChecks, SoundMeshPasses) {
  TinyMesh t;
  Problems p;
  CheckMesh(&t.mesh, X2_FVF_VERTEX, "tiny", &p);
  EXPECT_TRUE(p.empty()) << Join(p);
}

TEST(SpeciesChecks, BrokenMeshesAreReported) {
  {
    TinyMesh t;
    t.indices[4] = 4;  // past the last vertex
    Problems p;
    CheckMesh(&t.mesh, X2_FVF_VERTEX, "tiny", &p);
    EXPECT_FALSE(p.empty());
  }
  {
    TinyMesh t;
    t.ranges[1].faceCount = 2;  // faces sum past the total
    Problems p;
    CheckMesh(&t.mesh, X2_FVF_VERTEX, "tiny", &p);
    EXPECT_FALSE(p.empty());
  }
  {
    TinyMesh t;
    t.indices[3] = 0;  // face of range 1 uses a vertex of range 0
    Problems p;
    CheckMesh(&t.mesh, X2_FVF_VERTEX, "tiny", &p);
    EXPECT_FALSE(p.empty());
  }
  {
    TinyMesh t;
    Problems p;
    CheckMesh(&t.mesh, X2_FVF_MORPH, "tiny", &p);  // wrong layout for a frame
    EXPECT_FALSE(p.empty());
  }
}

TEST(SpeciesChecks, FramesAndPosesMustMatchTheBase) {
  TinyMesh base;
  float frameVertices[3][6] = {};
  uint16_t frameIndices[6] = {0, 1, 2, 2, 2, 2};
  X2AttributeRange frameRanges[2] = {{0, 0, 1, 0, 2}, {1, 1, 1, 2, 1}};
  X2FishMesh frame{3, frameVertices, 2, frameIndices, X2_FVF_MORPH, 24, frameRanges, 2, nullptr};
  X2FishMesh* frames[1] = {&frame};
  X2FishModel model{};
  model.baseMesh = &base.mesh;
  model.frameCount = 1;
  model.frames = frames;
  Problems p;
  CheckFrames(model, "tiny", &p);
  EXPECT_FALSE(p.empty()) << "a frame with fewer vertices passed";

  // A pose range of the wrong size, and poses that move nothing.
  float poseVertices[6][6] = {};
  uint16_t poseIndices[6] = {0, 1, 2, 3, 4, 5};
  X2AttributeRange poseRanges[2] = {{0, 0, 1, 0, 3}, {1, 1, 1, 3, 3}};
  X2FishMesh pose{6, poseVertices, 2, poseIndices, X2_FVF_MORPH, 24, poseRanges, 2, nullptr};
  X2FishPart part{0, 1, 1, 0.1f, 0.1f, 0.1f, 0.0f, 0};  // base range 1 has 1 vertex
  model.frameCount = 0;
  model.pminfoMesh = &pose;
  model.parts = &part;
  model.partCount = 1;
  p.clear();
  CheckParts(model, "tiny", &p);
  EXPECT_FALSE(p.empty()) << "pose ranges of 3 vertices against a base range of 1 passed";
  part.baseRange = 0;
  for (int k = 0; k < 6; ++k)
    for (int j = 0; j < 6; ++j) poseVertices[k][j] = base.vertices[k % 3][j];
  p.clear();
  CheckParts(model, "tiny", &p);
  EXPECT_FALSE(p.empty()) << "poses equal to the base passed";
  poseVertices[1][2] = 0.5f;
  p.clear();
  CheckParts(model, "tiny", &p);
  EXPECT_TRUE(p.empty()) << Join(p);
}

TEST(SpeciesChecks, StreamsMustBeDefaultLevelZlib) {
  std::vector<uint8_t> raw(1000, 7), packed(2000);
  uLongf size = uLongf(packed.size());
  ASSERT_EQ(compress2(packed.data(), &size, raw.data(), uLong(raw.size()), 9), Z_OK);
  X2FishTexture best{packed.data(), uint32_t(size)};
  std::vector<uint8_t> out;
  Problems p;
  EXPECT_FALSE(Inflate(best, raw.size(), &out, "level 9", &p));  // starts 0x78 0xDA
  size = uLongf(packed.size());
  ASSERT_EQ(compress2(packed.data(), &size, raw.data(), uLong(raw.size()), Z_DEFAULT_COMPRESSION), Z_OK);
  X2FishTexture normal{packed.data(), uint32_t(size)};
  p.clear();
  EXPECT_TRUE(Inflate(normal, raw.size(), &out, "default", &p)) << Join(p);
  p.clear();
  EXPECT_FALSE(Inflate(normal, raw.size() + 1, &out, "wrong size", &p));
}

}  // namespace
