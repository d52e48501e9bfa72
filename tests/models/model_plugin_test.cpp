// The two species plug-ins, loaded by their decorated export name: every
// record field as the plug-ins promise it, and Calvesh's placement callback.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "ModelSet.h"

using namespace qvspecies;

namespace {

class PluginFixture : public ::testing::Test {
 protected:
  void Load(const char* file) {
    get_ = LoadFishExport(file, &module_);
    ASSERT_NE(module_, nullptr) << file;
    ASSERT_NE(get_, nullptr) << "export " << X2_FISH_EXPORT_NAME;
    record_ = get_(nullptr, nullptr);
    ASSERT_NE(record_, nullptr);
    model_ = record_->model;
    ASSERT_NE(model_, nullptr);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  void ExpectCommonFields() {
    const X2FishData& r = *record_;
    EXPECT_EQ(r.header.version, 0x00020101u);
    EXPECT_EQ(r.header.nextOffset, 0u);
    for (uint8_t b : r.header.reserved) EXPECT_EQ(b, 0);
    const unsigned char kMaker[] = {0x83, 0x6E, 0x83, 0x8B, 0x83, 0x78, 0x83, 0x6D, 0x83,
                                    0x8B, 0x83, 0x5C, 0x83, 0x74, 0x83, 0x67, 0};
    EXPECT_EQ(std::memcmp(r.header.maker, kMaker, sizeof(kMaker)), 0);
    EXPECT_EQ(r.modelCount, 1u);
    EXPECT_EQ(r.collisionCapsules, nullptr);
    EXPECT_EQ(r.footprint, nullptr);
    EXPECT_EQ(r.rallyPoints, nullptr);
    for (uint8_t b : r.reserved) EXPECT_EQ(b, 0);
    for (uint8_t b : model_->reserved) EXPECT_EQ(b, 0);
    EXPECT_EQ(model_->hasSecondMesh, 0u);
    EXPECT_EQ(model_->hasExtraTexture, 0);
    EXPECT_EQ(model_->flags, 1u);
    EXPECT_EQ(model_->textureCount, 1u);
    EXPECT_EQ(model_->frameCount, 10u);
    // the same static record on every call
    EXPECT_EQ(get_("a", "b"), record_);
  }

  static void ExpectRanges(const X2FishMesh* mesh, const uint32_t (*expected)[5], size_t count) {
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->attributeRangeCount, count);
    for (size_t i = 0; i < count; ++i) {
      const X2AttributeRange& r = mesh->attributeRanges[i];
      const uint32_t got[5] = {r.attribId, r.faceStart, r.faceCount, r.vertexStart, r.vertexCount};
      for (int k = 0; k < 5; ++k) EXPECT_EQ(got[k], expected[i][k]) << "range " << i << " field " << k;
    }
  }

  static void ExpectMesh(const X2FishMesh* mesh, uint32_t vertices, uint32_t primitives, uint32_t fvf,
                         uint32_t stride) {
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->vertexCount, vertices);
    EXPECT_EQ(mesh->primitiveCount, primitives);
    EXPECT_EQ(mesh->fvf, fvf);
    EXPECT_EQ(mesh->stride, stride);
  }

  // The ten animation frames: the base mesh's vertices, positions and
  // normals only; with `ranges`, split as given.
  void ExpectFrames(uint32_t vertices, const uint32_t (*ranges)[5] = nullptr, size_t rangeCount = 0) {
    for (uint32_t i = 0; i < 10; ++i) {
      SCOPED_TRACE(::testing::Message() << "frame " << i);
      const X2FishMesh* f = model_->frames[i];
      ASSERT_NE(f, nullptr);
      EXPECT_EQ(f->vertexCount, vertices);
      EXPECT_EQ(f->fvf, 0x12u);
      EXPECT_EQ(f->stride, 24u);
      if (ranges) ExpectRanges(f, ranges, rangeCount);
    }
  }

  HMODULE module_ = nullptr;
  X2GetFishDataFn get_ = nullptr;
  const X2FishData* record_ = nullptr;
  const X2FishModel* model_ = nullptr;
};

class VassopTest : public PluginFixture {
 protected:
  void SetUp() override { Load("vassop.qvf"); }
};

const uint32_t kVassopRanges[10][5] = {
    {0, 0, 456, 0, 249},     {1, 456, 36, 249, 23},  {2, 492, 36, 272, 23},
    {3, 528, 68, 295, 39},   {4, 596, 22, 334, 15},  {5, 618, 44, 349, 30},
    {6, 662, 100, 379, 72},  {7, 762, 100, 451, 72}, {8, 862, 18, 523, 22},
    {9, 880, 18, 545, 22}};
const uint32_t kVassopPoseRanges[6][5] = {{0, 0, 456, 0, 249},      {1, 456, 456, 249, 249},
                                          {2, 1112, 100, 642, 72},  {3, 912, 100, 498, 72},
                                          {4, 1212, 100, 714, 72},  {5, 1012, 100, 570, 72}};

TEST_F(VassopTest, Record) {
  ExpectCommonFields();
  const X2FishData& r = *record_;
  EXPECT_STREQ(r.header.name, "ジンベエザメ");
  const unsigned char kName[] = {0x83, 0x57, 0x83, 0x93, 0x83, 0x78, 0x83, 0x47, 0x83, 0x55, 0x83, 0x81, 0};
  EXPECT_EQ(std::memcmp(r.header.name, kName, sizeof(kName)), 0);
  EXPECT_STREQ(r.latinName, "Rhincodon typus");
  EXPECT_STREQ(r.defaultAI, "ジンベエ専用_ハルベノルソフト");
  EXPECT_EQ(r.flags, 1u);
  EXPECT_EQ(r.instanceCount, 0u);
  EXPECT_EQ(r.PlaceInstance, nullptr);
  EXPECT_EQ(model_->scale, 30.0f);
  EXPECT_FLOAT_EQ(model_->swimRate, 0.1f);
  EXPECT_FLOAT_EQ(model_->swimBase, 0.6f);
  EXPECT_FLOAT_EQ(model_->swimMax, 0.6f);
}

TEST_F(VassopTest, MeshesFramesAndPartialMorph) {
  ExpectMesh(model_->baseMesh, 567, 898, 0x112, 32);
  ExpectRanges(model_->baseMesh, kVassopRanges, 10);
  ExpectFrames(567, kVassopRanges, 10);
  ExpectMesh(model_->pminfoMesh, 786, 1312, 0x12, 24);
  ExpectRanges(model_->pminfoMesh, kVassopPoseRanges, 6);
}

TEST_F(VassopTest, Parts) {
  ASSERT_EQ(model_->partCount, 3u);
  struct P { uint32_t a, b, base; float chanceB, chanceA, rate, value; int state; };
  const P kParts[3] = {{0, 1, 0, 0.0f, 0.0f, 0.2f, 0.0f, 0},
                       {2, 3, 6, 0.2f, 0.1f, 0.01f, 0.0f, 0},
                       {4, 5, 7, 0.2f, 0.1f, 0.01f, 0.0f, 0}};
  for (int i = 0; i < 3; ++i) {
    const X2FishPart& p = model_->parts[i];
    EXPECT_EQ(p.rangeA, kParts[i].a);
    EXPECT_EQ(p.rangeB, kParts[i].b);
    EXPECT_EQ(p.baseRange, kParts[i].base);
    EXPECT_FLOAT_EQ(p.chanceB, kParts[i].chanceB);
    EXPECT_FLOAT_EQ(p.chanceA, kParts[i].chanceA);
    EXPECT_FLOAT_EQ(p.blendRate, kParts[i].rate);
    EXPECT_FLOAT_EQ(p.value, kParts[i].value);
    EXPECT_EQ(p.state, kParts[i].state);
  }
}

TEST_F(VassopTest, Texture) {
  const auto* data = static_cast<const uint8_t*>(model_->textures[0].data);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data[0], 0x78);
  EXPECT_EQ(data[1], 0x9C);
  EXPECT_GT(model_->textures[0].size, 1000u);
}

class CalveshTest : public PluginFixture {
 protected:
  void SetUp() override { Load("Calvesh.qvc"); }
};

TEST_F(CalveshTest, Record) {
  ExpectCommonFields();
  const X2FishData& r = *record_;
  EXPECT_STREQ(r.header.name, "ウミウチワ");
  EXPECT_STREQ(r.latinName, "Calvesh");
  ASSERT_NE(r.defaultAI, nullptr);
  EXPECT_STREQ(r.defaultAI, "");
  EXPECT_EQ(r.flags, 0u);
  EXPECT_EQ(r.instanceCount, 1u);
  EXPECT_NE(r.PlaceInstance, nullptr);
  EXPECT_EQ(model_->scale, 1.0f);
  EXPECT_EQ(model_->swimRate, 0.0f);
  EXPECT_EQ(model_->swimBase, 1.0f);
  EXPECT_EQ(model_->swimMax, 1.0f);
  EXPECT_EQ(model_->pminfoMesh, nullptr);
  EXPECT_EQ(model_->partCount, 0u);
  EXPECT_EQ(model_->parts, nullptr);
}

TEST_F(CalveshTest, MeshAndFrames) {
  const uint32_t kRange[1][5] = {{0, 0, 32, 0, 25}};
  ExpectMesh(model_->baseMesh, 25, 32, 0x112, 32);
  ExpectRanges(model_->baseMesh, kRange, 1);
  ExpectFrames(25);
}

TEST_F(CalveshTest, TextureTableAndItsTrailingWords) {
  const X2FishTexture* table = model_->textures;
  for (int i = 0; i < 3; ++i) {
    const auto* data = static_cast<const uint8_t*>(table[i].data);
    ASSERT_NE(data, nullptr) << i;
    EXPECT_EQ(data[0], 0x78);
    EXPECT_EQ(data[1], 0x9C);
  }
  const auto* words = reinterpret_cast<const uint32_t*>(table + 3);
  EXPECT_EQ(words[0], 0x9875u);
  EXPECT_EQ(words[1], 0x9873u);
}

// A host table whose random slot hands out a scripted sequence.
float gDraws[3];
int gDrawIndex = 0;
float X2_CDECL ScriptedRandom() { return gDraws[gDrawIndex++ % 3]; }

struct Placement {
  float position[3] = {9.0f, 9.0f, 9.0f};
  float scale = 1.5f;
  float yaw = 7.0f, roll = 7.0f, pitch = 7.0f;
  int result = 0;
};

Placement Place(const X2FishData* r, X2HostCallbacks* host, int index) {
  Placement p;
  p.result = r->PlaceInstance(index, p.position, &p.scale, &p.yaw, &p.roll, &p.pitch, host);
  return p;
}

TEST_F(CalveshTest, PlacementDrawsScaleYawAndPitch) {
  const float kPi = 3.14159265f;
  X2HostCallbacks host{};
  host.Random = ScriptedRandom;
  gDraws[0] = 0.5f;
  gDraws[1] = 0.25f;
  gDraws[2] = 1.0f;
  gDrawIndex = 0;
  Placement p = Place(record_, &host, 3);
  EXPECT_EQ(p.result, 1);
  EXPECT_EQ(gDrawIndex, 3);  // one fresh draw each for scale, yaw and pitch
  EXPECT_EQ(p.position[0], 0.0f);
  EXPECT_EQ(p.position[1], 0.0f);
  EXPECT_EQ(p.position[2], 0.0f);
  EXPECT_FLOAT_EQ(p.scale, 3.5f);
  EXPECT_FLOAT_EQ(p.yaw, 2.0f * kPi * 0.25f);
  EXPECT_EQ(p.roll, 0.0f);
  EXPECT_FLOAT_EQ(p.pitch, kPi / 4.0f);
}

TEST_F(CalveshTest, PlacementWithoutTheRandomSlot) {
  X2HostCallbacks host{};
  for (X2HostCallbacks* h : {&host, static_cast<X2HostCallbacks*>(nullptr)}) {
    Placement p = Place(record_, h, 0);
    EXPECT_EQ(p.result, 1);
    EXPECT_EQ(p.position[0], 0.0f);
    EXPECT_EQ(p.position[1], 0.0f);
    EXPECT_EQ(p.position[2], 0.0f);
    EXPECT_EQ(p.scale, 2.0f);
    EXPECT_EQ(p.yaw, 0.0f);
    EXPECT_EQ(p.roll, 0.0f);
    EXPECT_EQ(p.pitch, 0.0f);
  }
  // Null output pointers are passed over, not written.
  EXPECT_EQ(record_->PlaceInstance(0, nullptr, nullptr, nullptr, nullptr, nullptr, &host), 1);
}

}  // namespace
