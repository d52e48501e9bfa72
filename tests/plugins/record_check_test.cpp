// Record checks against a synthetic module image: one block of memory that
// holds a sound fish record and everything it points at. Each case damages
// one field and expects the record to be refused with a reason.
#include <gtest/gtest.h>

#include <cstring>

#include "collision/X6FileCollision.h"
#include "pluginlists/X2RecordCheck.h"

namespace {

struct Blob {
  X2FishData record;
  X2FishModel model;
  float vertices[4 * 8];
  uint16_t indices[6];
  X2AttributeRange ranges[2];
  X2FishMesh base;
  float morph[4 * 6];
  X2FishMesh frame;
  X2FishMesh* frames[3];
  X2FishMesh farMesh;
  X2FarMesh farPair;
  float pmVertices[8 * 6];
  uint16_t pmIndices[12];
  X2AttributeRange pmRanges[4];
  X2FishMesh pm;
  X2FishPart parts[2];
  unsigned char textureData[16];
  X2FishTexture textures[2];
  char defaultAI[32];
  X2FishTexture xBlock;
  X2FishMesh xMesh;
  X2FishMesh* xFrames[1];
  X2AIData ai;
  char dedicated[16];
  X6CollisionShapes shapes;
  X6CollisionCapsule capsules[2];
  unsigned char rally[124];
};

class RecordCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(&b, 0, sizeof(b));
    b.indices[0] = 0, b.indices[1] = 1, b.indices[2] = 2;
    b.indices[3] = 1, b.indices[4] = 3, b.indices[5] = 2;
    b.ranges[0] = {0, 0, 1, 0, 3};
    b.ranges[1] = {1, 1, 1, 1, 3};
    b.base = {4, b.vertices, 2, b.indices, X2_FVF_VERTEX, X2_STRIDE_VERTEX, b.ranges, 2, nullptr};
    b.frame = {4, b.morph, 2, nullptr, X2_FVF_MORPH, X2_STRIDE_MORPH, b.ranges, 2, nullptr};
    b.frames[0] = b.frames[1] = b.frames[2] = &b.frame;
    b.farMesh = b.base;
    b.farPair = {10.0f, &b.farMesh};
    for (int i = 0; i < 12; ++i) b.pmIndices[i] = static_cast<uint16_t>(i % 8);
    b.pmRanges[0] = {0, 0, 1, 0, 3};
    b.pmRanges[1] = {1, 1, 1, 3, 3};
    b.pmRanges[2] = {2, 2, 1, 6, 2};
    b.pmRanges[3] = {3, 3, 1, 6, 2};
    b.pm = {8, b.pmVertices, 4, b.pmIndices, X2_FVF_MORPH, X2_STRIDE_MORPH, b.pmRanges, 4, nullptr};
    b.parts[0] = {0, 1, 0, 0.0f, 0.0f, 0.2f, 0.0f, 0};
    b.parts[1] = {0, 1, 1, 0.2f, 0.1f, 0.01f, 0.0f, 1};
    b.textureData[0] = 0x78, b.textureData[1] = 0x9C;
    b.textures[0] = {b.textureData, sizeof(b.textureData)};
    b.textures[1] = b.textures[0];
    std::strcpy(b.defaultAI, "ai_maker");

    X2FishModel& m = b.model;
    m.textureCount = 1;
    m.textures = b.textures;
    m.hasExtraTexture = 1;
    m.scale = 1.0f;
    m.baseMesh = &b.base;
    m.hasSecondMesh = 1;
    m.secondMesh = &b.farPair;
    m.frameCount = 3;
    m.frames = b.frames;
    m.pminfoMesh = &b.pm;
    m.partCount = 2;
    m.parts = b.parts;
    m.flags = X2_MODEL_DEFAULT;

    X2FishData& r = b.record;
    r.header.version = X2_VERSION_FISH;
    std::strcpy(r.header.name, "Fish");
    std::strcpy(r.header.maker, "Maker");
    r.defaultAI = b.defaultAI;
    r.modelCount = 1;
    r.model = &b.model;

    b.xBlock = {b.textureData, sizeof(b.textureData)};
    b.xMesh.vertexCount = 5000;
    b.xMesh.xBlock = &b.xBlock;
    b.xFrames[0] = &b.xMesh;

    b.ai.header.version = X2_VERSION_AI;
    std::strcpy(b.ai.header.name, "AI");
    std::strcpy(b.dedicated, "fish_maker");
    b.ai.dedicatedFish = b.dedicated;
  }

  const char* Check() { return X2CheckFishRecord(&b.record, image); }

  Blob b;
  X2ModuleImage image{reinterpret_cast<uintptr_t>(&b), sizeof(Blob)};
};

}  // namespace

TEST_F(RecordCheck, SoundRecordPasses) {
  EXPECT_EQ(Check(), nullptr);
  EXPECT_EQ(X2CheckAIRecord(&b.ai, image), nullptr);
}

TEST_F(RecordCheck, ImageBoundsHaveNoGaps) {
  const char* begin = reinterpret_cast<const char*>(&b);
  EXPECT_TRUE(image.Contains(begin, sizeof(Blob)));
  EXPECT_FALSE(image.Contains(begin, sizeof(Blob) + 1));
  EXPECT_FALSE(image.Contains(begin + sizeof(Blob), 1));
  EXPECT_FALSE(image.Contains(begin - 1, 1));
  EXPECT_FALSE(image.Contains(nullptr, 0));
  EXPECT_FALSE(image.ContainsArray(begin, SIZE_MAX / 2, 4));  // no overflow
  EXPECT_TRUE(image.ContainsString(b.defaultAI, 8));
  EXPECT_FALSE(image.ContainsString(b.defaultAI, 7));
}

TEST_F(RecordCheck, HeaderTextsMustEndInTheirFields) {
  std::memset(b.record.header.maker, 'm', sizeof(b.record.header.maker));
  EXPECT_STREQ(Check(), "maker not terminated");
}

// A structure's rally record is copied whole: its 124 bytes must lie in the
// image, not just its count.
TEST_F(RecordCheck, RallyRecordMustFitWhole) {
  const char* end = reinterpret_cast<const char*>(&b) + sizeof(Blob);
  b.record.rallyPoints = end - 4;
  EXPECT_STREQ(X2CheckFishRecord(&b.record, image, kX2UseStructure), "rally points outside the module");
  b.record.rallyPoints = end - 124;
  EXPECT_EQ(X2CheckFishRecord(&b.record, image, kX2UseStructure), nullptr);
}

TEST_F(RecordCheck, PointersOutsideTheImageAreRefused) {
  static X2FishModel elsewhere;
  b.record.model = &elsewhere;
  EXPECT_NE(Check(), nullptr);
  b.record.model = &b.model;
  static const char outside[] = "x_y";
  b.record.defaultAI = outside;
  EXPECT_NE(Check(), nullptr);
  b.record.defaultAI = nullptr;  // null is fine
  EXPECT_EQ(Check(), nullptr);
  static float footprint = 1.0f;
  b.record.footprint = &footprint;
  EXPECT_NE(Check(), nullptr);
}

TEST_F(RecordCheck, ModelCountsFollowTheUse) {
  // A fish and a structure read the first model only; coral reads them all.
  b.record.modelCount = 2;  // the second "model" is the vertex data behind it
  EXPECT_EQ(X2CheckFishRecord(&b.record, image, kX2UseFish), nullptr);
  EXPECT_EQ(X2CheckFishRecord(&b.record, image, kX2UseStructure), nullptr);
  EXPECT_NE(X2CheckFishRecord(&b.record, image, kX2UseCoral), nullptr);
  // A colony without models is allowed; a fish or structure without one is not.
  b.record.modelCount = 0;
  EXPECT_EQ(X2CheckFishRecord(&b.record, image, kX2UseCoral), nullptr);
  EXPECT_STREQ(X2CheckFishRecord(&b.record, image, kX2UseFish), "model count out of range");
  EXPECT_NE(X2CheckFishRecord(&b.record, image, kX2UseStructure), nullptr);
  b.record.modelCount = 60;  // a table running past the image
  EXPECT_STREQ(X2CheckFishRecord(&b.record, image, kX2UseFish), "models outside the module");
}

TEST_F(RecordCheck, CountsBeyondTheirTablesAreRefused) {
  b.model.frameCount = 1000000;
  EXPECT_NE(Check(), nullptr);
  b.model.frameCount = 3;
  b.model.textureCount = 100;
  EXPECT_NE(Check(), nullptr);
  b.model.textureCount = 1;
  b.textures[1].size = 1u << 30;
  EXPECT_NE(Check(), nullptr);  // the extra texture is checked too
}

TEST_F(RecordCheck, MeshIndicesStridesAndRanges) {
  b.indices[4] = 4;
  EXPECT_STREQ(Check(), "index out of range");
  b.indices[4] = 3;
  b.base.stride = 24;
  EXPECT_STREQ(Check(), "vertex stride does not match the format");
  b.base.stride = 32;
  b.base.fvf = 0x1C2;
  EXPECT_STREQ(Check(), "unknown vertex format");
  b.base.fvf = X2_FVF_VERTEX;
  b.ranges[1].faceCount = 5;
  EXPECT_STREQ(Check(), "attribute range faces out of range");
  b.ranges[1].faceCount = 1;
  b.ranges[1].vertexStart = 3;
  EXPECT_STREQ(Check(), "attribute range vertices out of range");
  b.ranges[1].vertexStart = 1;
  b.base.primitiveCount = 0;
  EXPECT_NE(Check(), nullptr);
  b.base.primitiveCount = 2;
  b.base.vertexCount = 100;  // vertices past the blob
  EXPECT_NE(Check(), nullptr);
}

TEST_F(RecordCheck, FramesMustMatchTheBaseMesh) {
  b.frame.vertexCount = 3;
  EXPECT_STREQ(Check(), "attribute range vertices out of range");  // its ranges are checked too
  b.frame.attributeRangeCount = 0;
  EXPECT_STREQ(Check(), "frame vertex count differs from the base mesh");
  b.frame.vertexCount = 4;
  b.frames[2] = nullptr;
  EXPECT_NE(Check(), nullptr);
}

TEST_F(RecordCheck, PartsMustNameMatchingRanges) {
  b.parts[1].rangeB = 4;
  EXPECT_STREQ(Check(), "part range index out of range");
  b.parts[1].rangeB = 2;  // 2 vertices against the base range's 3
  EXPECT_STREQ(Check(), "part pose ranges differ from their base range");
  b.parts[1].rangeB = 1;
  b.parts[1].state = 3;
  EXPECT_STREQ(Check(), "part state out of range");
  b.parts[1].state = 2;
  b.model.pminfoMesh = nullptr;
  EXPECT_STREQ(Check(), "parts without a partial-morph mesh");
}

TEST_F(RecordCheck, XBlockModels) {
  X2FishModel& m = b.model;
  m = X2FishModel{};
  m.textureCount = 1;
  m.textures = b.textures;
  m.baseMesh = &b.xMesh;
  EXPECT_EQ(Check(), nullptr);
  uint32_t further = 1;
  std::memcpy(&m.swimBase, &further, 4);
  m.frames = b.xFrames;
  EXPECT_EQ(Check(), nullptr);
  further = 2;  // the table has one entry; the next word is not a block
  std::memcpy(&m.swimBase, &further, 4);
  EXPECT_NE(Check(), nullptr);
  further = 1;
  std::memcpy(&m.swimBase, &further, 4);
  b.xMesh.vertexCount = 0;
  EXPECT_STREQ(Check(), "X block size out of range");
  b.xMesh.vertexCount = 5000;
  b.xBlock.size = 1u << 28;
  EXPECT_STREQ(Check(), "texture data outside the module");
}

TEST_F(RecordCheck, AIEntriesAndKeysStayInTheImage) {
  static const char outside[] = "k_m";
  b.ai.dedicatedFish = outside;
  EXPECT_NE(X2CheckAIRecord(&b.ai, image), nullptr);
  b.ai.dedicatedFish = nullptr;
  // An entry point outside the library.
  b.ai.CreateInstance = [](const char*, X2HostCallbacks*) -> X2AIObject* { return nullptr; };
  EXPECT_STREQ(X2CheckAIRecord(&b.ai, image), "entry point outside the module");
}

TEST_F(RecordCheck, StructureShapesAndRallyPointsStayInTheImage) {
  b.shapes = {b.capsules, 2, nullptr, 0, nullptr, 0};
  b.record.collisionCapsules = &b.shapes;
  b.record.rallyPoints = b.rally;
  EXPECT_EQ(X2CheckFishRecord(&b.record, image, kX2UseStructure), nullptr);
  b.shapes.capsuleCount = 1000;  // past the image
  EXPECT_NE(X2CheckFishRecord(&b.record, image, kX2UseStructure), nullptr);
  b.shapes.capsuleCount = 2;
  b.shapes.spheres = reinterpret_cast<const X6CollisionSphere*>(b.rally + 120);
  b.shapes.sphereCount = 1;
  EXPECT_NE(X2CheckFishRecord(&b.record, image, kX2UseStructure), nullptr);
  b.shapes.sphereCount = 0;
  // The ring wander copies the whole 124-byte rally record.
  b.record.rallyPoints = b.rally + 64;
  EXPECT_NE(X2CheckFishRecord(&b.record, image, kX2UseStructure), nullptr);
  EXPECT_EQ(X2CheckFishRecord(&b.record, image, kX2UseFish), nullptr) << "a fish does not read them";
}
