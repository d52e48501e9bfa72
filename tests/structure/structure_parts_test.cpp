// The plain structures' decisions without a device: textures, the tangent
// path, the drawn copy's tangents, buried segments, the old second-mesh
// request.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "structures/StructureParts.h"

namespace {

unsigned char gImage[4] = {0x78, 0x9C, 0, 0};

struct ModelCase {
  const char* name;
  uint32_t fvf;
  uint32_t textureCount;
  bool extra;
  bool extraHasData;
  size_t textures;
  bool tangentPath;
};

class StructureModels : public ::testing::TestWithParam<ModelCase> {};

TEST_P(StructureModels, TexturesAndPath) {
  const ModelCase& c = GetParam();
  X2FishTexture table[3] = {{gImage, 4}, {gImage, 4}, {c.extraHasData ? gImage : nullptr, 4}};
  X2FishMesh mesh{};
  mesh.fvf = c.fvf;
  mesh.stride = c.fvf == kStructureFvfColour ? 44 : 32;
  X2FishModel model{};
  model.textureCount = c.textureCount;
  model.textures = table;
  model.baseMesh = &mesh;
  model.hasExtraTexture = c.extra ? 1 : 0;
  if (c.textureCount == 1 && c.extra) table[1] = table[2];  // the extra one follows the first
  EXPECT_EQ(StructureTextures(model).size(), c.textures);
  EXPECT_EQ(StructureUsesTangentPath(model), c.tangentPath);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StructureModels,
    ::testing::Values(ModelCase{"relief", 0x152, 1, true, true, 2, true},
                      ModelCase{"no_extra_texture", 0x152, 1, false, true, 1, false},
                      ModelCase{"plain_vertex_with_extra", 0x112, 1, true, true, 2, false},
                      ModelCase{"extra_without_data", 0x152, 1, true, false, 1, false},
                      ModelCase{"two_and_extra", 0x152, 2, true, true, 3, true},
                      ModelCase{"none", 0x152, 0, false, true, 0, false}),
    [](const ::testing::TestParamInfo<ModelCase>& info) { return info.param.name; });

TEST(StructureDrawCopy, TangentsRunWithTheTextureAndEverythingElseIsCopied) {
  // A quad in the x-z plane facing up, u along -z: the tangent is -z.
  StructureSourceVertex v[4] = {
      {{0, 0, 0}, {0, 1, 0}, {1, 0.5f, 0.25f}, {0, 0}},
      {{0, 0, -1}, {0, 1, 0}, {1, 0.5f, 0.25f}, {1, 0}},
      {{1, 0, -1}, {0, 1, 0}, {1, 0.5f, 0.25f}, {1, 1}},
      {{1, 0, 0}, {0, 1, 0}, {1, 0.5f, 0.25f}, {0, 1}},
  };
  uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
  X2FishMesh mesh{4, v, 2, indices, 0x152, 44, nullptr, 0, nullptr};
  const std::vector<StructureDrawVertex> out = BuildStructureDrawVertices(mesh);
  ASSERT_EQ(out.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(0, std::memcmp(&out[i], &v[i], sizeof v[i])) << i;
    EXPECT_NEAR(out[i].tangent[0], 0.0f, 1e-5f);
    EXPECT_NEAR(out[i].tangent[1], 0.0f, 1e-5f);
    EXPECT_NEAR(out[i].tangent[2], -1.0f, 1e-5f);
  }
  mesh.fvf = 0x112;
  mesh.stride = 32;
  EXPECT_TRUE(BuildStructureDrawVertices(mesh).empty()) << "the 32-byte vertex has no colour to copy";
}

TEST(StructureSegments, OnlyWhollyBuriedSegmentsAreHidden) {
  // Floor at y = 2 everywhere; the structure raised by 10 and scaled by 2.
  const std::vector<SegmentSphere> spheres = {
      {{0.0f, -5.0f, 0.0f}, 1.0f},   // centre y 0, radius 2: top at 2, not above the floor
      {{0.0f, -6.0f, 0.0f}, 1.0f},   // centre y -2, radius 2: top at 0, buried
      {{3.0f, 0.0f, 0.0f}, 0.5f},    // well above
      {{0.0f, -4.5f, 0.0f}, 0.25f},  // centre y 1, radius 0.5: top at 1.5, buried
  };
  D3DXMATRIX scale, lift, world;
  D3DXMatrixScaling(&scale, 2.0f, 2.0f, 2.0f);
  D3DXMatrixTranslation(&lift, 0.0f, 10.0f, 0.0f);
  world = scale * lift;
  std::vector<uint32_t> hidden = {0, 0, 1, 0};  // a segment culled by the view stays so
  HideBuriedSegments(spheres, world, 2.0f, [](float, float) { return 2.0f; }, &hidden);
  EXPECT_EQ(hidden, (std::vector<uint32_t>{0, 1, 1, 1}));
}

TEST(StructureRecords, TheOldSecondMeshRequestIsReadFromTheSecondModel) {
  X2FishModel models[2] = {};
  X2FishData record{};
  record.model = models;
  record.modelCount = 2;
  EXPECT_FALSE(StructureAsksForSecondMesh(record));
  models[1].parts = reinterpret_cast<X2FishPart*>(uintptr_t{0x2});
  EXPECT_TRUE(StructureAsksForSecondMesh(record));
  record.modelCount = 1;
  EXPECT_FALSE(StructureAsksForSecondMesh(record));
}

}  // namespace
