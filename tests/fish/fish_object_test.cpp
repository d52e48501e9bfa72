// The fish without a device: construction from every species record, the
// empty fish, parts limits, the shared partial-morph build, AI take-over,
// sun dimming and the draw choices.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "SwimmingFish.h"
#include "collision/X1HeightCollision.h"
#include "common/SceneGlobals.h"
#include "fish/BuiltinFish.h"
#include "fish/C5PartialMorphCache.h"
#include "fish/C6FishTables.h"
#include "fish/FishDraw.h"
#include "fish/X2FileFish.h"
#include "frame/C3SceneHost.h"
#include "status/C9DisplayInfo.h"
#include "terrain/X1MetaTerrain.h"
#include "terrain/X1Terrain.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

using qvspecies::Species;

class PartialMorphHost : public C3SceneHost {
 public:
  bool IsPartialMorphEnabled() override { return partialMorph; }
  bool partialMorph = true;
};

class FishObject : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSceneHost(&host);
    C5PartialMorphCache::Destroy();
  }
  void TearDown() override {
    C5PartialMorphCache::Destroy();
    SetSceneHost(nullptr);
  }
  PartialMorphHost host;
};

TEST_F(FishObject, EverySpeciesRecordBuildsItsFish) {
  const std::vector<Species>& species = SwimmingSpecies();
  ASSERT_EQ(species.size(), 8u);
  for (const Species& s : species) {
    SCOPED_TRACE(s.tag);
    const X2FishModel& m = *s.record->model;
    X2FileFish fish(s.record);
    EXPECT_STREQ(fish.className, "X2FileFish");
    EXPECT_TRUE(fish.HasFlag(kObjSorted));
    EXPECT_FALSE(fish.HasFlag(kObjAlwaysVisible));

    const bool hasFar = m.hasSecondMesh != 0;
    const size_t expected = 1 + m.frameCount + (m.pminfoMesh ? 1 : 0) + (hasFar ? 1 : 0);
    ASSERT_EQ(fish.meshes.size(), expected);
    EXPECT_EQ(fish.meshes[0]->descriptor, m.baseMesh);
    for (uint32_t i = 0; i < m.frameCount; ++i) EXPECT_EQ(fish.meshes[1 + i]->descriptor, m.frames[i]);
    ASSERT_NE(fish.morph, nullptr);
    EXPECT_EQ(fish.morph->FrameCount(), m.frameCount);
    if (m.pminfoMesh) {
      EXPECT_EQ(fish.meshes[m.frameCount + 1]->descriptor, m.pminfoMesh);
      ASSERT_NE(fish.partialMorph, nullptr);
      EXPECT_EQ(fish.partCount, static_cast<int>(m.partCount));
      EXPECT_EQ(fish.partialMorph->BuiltParts(), static_cast<int>(m.partCount));
      EXPECT_EQ(fish.parts[0].blendRate, m.parts[0].blendRate);
    } else {
      EXPECT_EQ(fish.partialMorph, nullptr);
      EXPECT_EQ(fish.partCount, 0);
    }
    EXPECT_EQ(fish.hasFarMesh, hasFar ? 1 : 0);
    if (hasFar) {
      EXPECT_EQ(fish.meshes.back()->descriptor, m.secondMesh->mesh);
    }
    EXPECT_EQ(fish.HasLod(), hasFar ? static_cast<int>(expected - 1) : 0);
    EXPECT_FLOAT_EQ(fish.lodFactor, 10.0f);

    EXPECT_EQ(fish.textureSources.size(), m.textureCount + (m.hasExtraTexture ? 1u : 0u));
    EXPECT_EQ(fish.textureSources[0].first, m.textures[0].data);
    EXPECT_EQ((fish.drawFlags & kDrawStrips) != 0, (m.flags & X2_MODEL_TRIANGLE_LIST) == 0);
    EXPECT_EQ(fish.swim.swimMax, m.swimMax);
    EXPECT_EQ(fish.swim.swimBase, m.swimBase);
    EXPECT_EQ(fish.swim.swimRate, m.swimRate);
    EXPECT_GE(fish.swim.swimFactor, 1.0f);
    EXPECT_LE(fish.swim.swimFactor, 2.0f);
    EXPECT_EQ(fish.scale, m.scale);
    EXPECT_EQ(fish.renderTextureSize, 256);
    EXPECT_FLOAT_EQ(fish.renderTextureScale, 1.4f);
    EXPECT_EQ(fish.shaderDescriptors, g_FishShaders);
    EXPECT_EQ(fish.shaderCount, 6);
    EXPECT_EQ(fish.stateRecords, g_FishStates);
    fish.cloneMode = kCloneSource;
    EXPECT_EQ(fish.HasLod(), 0);
  }
}

TEST_F(FishObject, SpeciesSharingPartsBuildThemOnce) {
  int count = 0;
  const X2FishData* const* builtin = GetBuiltinSpecies(&count);
  ASSERT_EQ(count, 7);
  // The four sea breams share one parts table.
  ASSERT_EQ(builtin[3]->model->parts, builtin[4]->model->parts);
  X2FileFish madai(builtin[3]);
  ASSERT_EQ(C5PartialMorphCache::Shared(false)->Size(), 1u);
  const C5PartialMorph* built = C5PartialMorphCache::Shared(false)->Find(builtin[3]->model->parts);
  X2FileFish kurodai(builtin[4]);
  X2FileFish secondMadai(builtin[3]);
  EXPECT_EQ(C5PartialMorphCache::Shared(false)->Size(), 1u);
  EXPECT_EQ(C5PartialMorphCache::Shared(false)->Find(builtin[3]->model->parts), built);
  X2FileFish aji(builtin[0]);
  EXPECT_EQ(C5PartialMorphCache::Shared(false)->Size(), 2u);
  // Every fish has its own copy with the same lists.
  ASSERT_NE(kurodai.partialMorph, nullptr);
  EXPECT_NE(kurodai.partialMorph.get(), madai.partialMorph.get());
  EXPECT_EQ(kurodai.partialMorph->ChangedVertices(builtin[3]->model->parts[0].baseRange),
            built->ChangedVertices(builtin[3]->model->parts[0].baseRange));
  // The final clean-up of a fish removes the cache; the fish keep their copies.
  aji.FinalCleanUp();
  EXPECT_EQ(C5PartialMorphCache::Shared(false), nullptr);
  EXPECT_EQ(madai.partialMorph->BuiltParts(), 9);
}

TEST_F(FishObject, PartialMorphOffLeavesThePartsOutAndDrawsTheMorph) {
  host.partialMorph = false;
  int count = 0;
  const X2FishData* madai = GetBuiltinSpecies(&count)[3];
  X2FileFish fish(madai);
  EXPECT_EQ(fish.partialMorph, nullptr);
  EXPECT_EQ(fish.partCount, 0);
  for (MeshRecord* r : fish.meshes) EXPECT_NE(r->descriptor, madai->model->pminfoMesh);
  EXPECT_EQ(fish.meshes.size(), 1u + madai->model->frameCount + 1u);  // base, frames, far
  EXPECT_EQ(C5PartialMorphCache::Shared(false)->Size(), 0u);
  FishDrawPlan plan = PlanFishDraw(0, fish.morph != nullptr, fish.partialMorph != nullptr, true);
  EXPECT_EQ(plan.vertexShader, kFishMorphVs);
  EXPECT_EQ(plan.pixelShader, kFishPs);
}

TEST_F(FishObject, EmptyFishFromBadRecords) {
  X2FishData noModel{};
  X2FishModel noMesh{};
  X2FishData noMeshRecord{};
  noMeshRecord.model = &noMesh;
  for (const X2FishData* record : {static_cast<const X2FishData*>(nullptr), static_cast<const X2FishData*>(&noModel),
                                   static_cast<const X2FishData*>(&noMeshRecord)}) {
    X2FileFish fish(record);
    EXPECT_TRUE(fish.meshes.empty());
    EXPECT_TRUE(fish.textureSources.empty());
    EXPECT_EQ(fish.morph, nullptr);
    EXPECT_EQ(fish.partialMorph, nullptr);
    EXPECT_EQ(fish.HasLod(), 0);  // no far level, never an index of -1
    fish.hasFarMesh = 1;
    EXPECT_EQ(fish.HasLod(), 0);
    EXPECT_EQ(fish.Move(1.0f, 0.9f), 0);
    EXPECT_EQ(fish.Render(), 0);
  }
}

// A small model: a quad of 4 vertices (material 0), a partial-morph mesh
// whose ranges 0 and 1 are poses of it, a key-frame ring of one frame.
struct SmallModel {
  float base[4 * 8] = {0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0,
                       0, 1, 0, 0, 0, 1, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1};
  float poses[8 * 6] = {};
  float frame[4 * 6] = {};
  uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
  uint16_t frameIndices[6] = {0, 1, 2, 2, 1, 3};
  uint16_t poseIndices[6] = {0, 1, 2, 4, 5, 6};
  X2AttributeRange baseRanges[1] = {{0, 0, 2, 0, 4}};
  X2AttributeRange poseRanges[2] = {{0, 0, 1, 0, 4}, {1, 1, 1, 4, 4}};
  X2FishMesh baseMesh{4, base, 2, indices, X2_FVF_VERTEX, 32, baseRanges, 1, nullptr};
  X2FishMesh frameMesh{4, frame, 2, frameIndices, X2_FVF_MORPH, 24, baseRanges, 1, nullptr};
  X2FishMesh poseMesh{8, poses, 2, poseIndices, X2_FVF_MORPH, 24, poseRanges, 2, nullptr};
  X2FishMesh* frames[1] = {&frameMesh};
  std::vector<X2FishPart> parts;
  X2FishModel model{};
  X2FishData record{};

  explicit SmallModel(int partCount) {
    for (int v = 0; v < 4; ++v)
      for (int c = 0; c < 6; ++c) {
        frame[v * 6 + c] = base[v * 8 + c];
        poses[v * 6 + c] = poses[(4 + v) * 6 + c] = base[v * 8 + c];
      }
    poses[1 * 6 + 2] += 0.5f;  // pose A lifts vertex 1
    parts.assign(static_cast<size_t>(partCount), X2FishPart{0, 1, 0, 0.5f, 0.5f, 0.1f, 0.0f, 0});
    model.textureCount = 0;
    model.scale = 1.0f;
    model.baseMesh = &baseMesh;
    model.frameCount = 1;
    model.frames = frames;
    model.swimRate = 2.0f;
    model.swimBase = 0.1f;
    model.swimMax = 1.0f;
    model.pminfoMesh = &poseMesh;
    model.partCount = static_cast<uint32_t>(partCount);
    model.parts = parts.data();
    record.model = &model;
  }
  ~SmallModel() { C5PartialMorph::ForgetConversions(poses, sizeof(poses)); }
};

TEST_F(FishObject, PartsBeyondTwentyAndMaterialsBeyondNineteenAreLeftOut) {
  SmallModel many(25);
  X2FileFish fish(&many.record);
  EXPECT_EQ(fish.partCount, 20);
  ASSERT_NE(fish.partialMorph, nullptr);
  EXPECT_EQ(fish.partialMorph->PartCount(), 20);
  EXPECT_EQ(fish.partialMorph->BuiltParts(), 20);
  for (int i = 0; i < 50; ++i) fish.AnimateParts(0.1f * i, 0.1f * (i - 1));
  for (float d : fish.partialMorph->Deltas()) EXPECT_TRUE(std::isfinite(d));

  SmallModel bad(3);
  bad.parts[1].baseRange = 20;
  X2FileFish second(&bad.record);
  ASSERT_NE(second.partialMorph, nullptr);
  EXPECT_EQ(second.partialMorph->BuiltParts(), 1);  // the build stops at the bad part
  second.AnimateParts(1.0f, 0.9f);

  // Textures by file name: the one name, loaded from the file.
  SmallModel named(1);
  named.model.flags = X2_MODEL_TEXTURE_FILE | X2_MODEL_TRIANGLE_LIST;
  named.model.textureCount = 3;
  named.model.textureFile = "skin.dds";
  X2FileFish fromFile(&named.record);
  ASSERT_EQ(fromFile.textureSources.size(), 1u);
  EXPECT_EQ(fromFile.textureSources[0].first, static_cast<const void*>(named.model.textureFile));
  EXPECT_EQ(fromFile.textureSources[0].second, 0u);
  EXPECT_EQ(fromFile.drawFlags & kDrawStrips, 0u);

  // A frame with fewer vertices than the rest mesh drops the morph.
  SmallModel shortFrame(1);
  shortFrame.frameMesh.vertexCount = 3;
  X2FileFish third(&shortFrame.record);
  EXPECT_EQ(third.morph, nullptr);
  ASSERT_GE(third.meshes.size(), 2u);
  EXPECT_EQ(third.meshes[1]->descriptor, &shortFrame.poseMesh);
}

// An AI whose Step answers from a script and counts its destructions.
class FakeAI : public X2AIObjectImpl<FakeAI> {
 public:
  explicit FakeAI(int* destroyed) : destroyed_(destroyed) {}
  ~FakeAI() { ++*destroyed_; }
  X2AIObject* X2_THISCALL Step(float now, float, X2Object self) override {
    ++steps;
    lastNow = now;
    lastSelf = self;
    return next;
  }
  X2AIObject* next = nullptr;
  int steps = 0;
  float lastNow = 0.0f;
  X2Object lastSelf = nullptr;

 private:
  int* destroyed_;
};

TEST_F(FishObject, AIKeepsRunsAndHandsOver) {
  int destroyed = 0;
  auto* fish = new X2FileFish(nullptr);
  auto* first = new FakeAI(&destroyed);
  fish->ai = first;
  fish->Move(1.0f, 0.9f);  // null: kept
  EXPECT_EQ(first->steps, 1);
  EXPECT_EQ(first->lastSelf, static_cast<X2Object>(fish));
  EXPECT_EQ(fish->ai, first);
  first->next = first;  // itself: kept
  fish->Move(1.1f, 1.0f);
  EXPECT_EQ(fish->ai, first);
  EXPECT_EQ(destroyed, 0);

  auto* second = new FakeAI(&destroyed);
  first->next = second;  // another: takes over, the first is deleted
  fish->Move(1.2f, 1.1f);
  EXPECT_EQ(fish->ai, second);
  EXPECT_EQ(second->owner, static_cast<X2Object>(fish));
  EXPECT_EQ(destroyed, 1);
  fish->Move(1.3f, 1.2f);
  EXPECT_EQ(second->steps, 1);
  EXPECT_FLOAT_EQ(second->lastNow, 1.3f);

  // The AI and the morph belong to the scene: a device made again finds
  // them; the fish deletes its AI when it is deleted.
  const bool morphs = fish->morph != nullptr;
  fish->DeleteDeviceObjects();
  EXPECT_EQ(fish->ai, second);
  EXPECT_EQ(fish->morph != nullptr, morphs);
  EXPECT_EQ(destroyed, 1);
  delete fish;
  EXPECT_EQ(destroyed, 2);
}

TEST_F(FishObject, ZeroAndBackwardStepsStayFinite) {
  int count = 0;
  X2FileFish fish(GetBuiltinSpecies(&count)[0]);
  fish.speed = 0.7f;
  const float times[][2] = {{1.0f, 1.0f}, {1.0f, 1.5f}, {2.0f, 2.0f}, {0.0f, 0.0f}, {3.0f, 2.5f}};
  for (const auto& t : times) {
    fish.Move(t[0], t[1]);
    fish.Animate(t[0], t[1]);
    fish.AnimateParts(t[0], t[1]);
    EXPECT_TRUE(std::isfinite(fish.swim.swimPhase));
    EXPECT_TRUE(std::isfinite(fish.swim.shownSwim));
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(std::isfinite(fish.morph->Weights()[k]));
    for (int i = 0; i < fish.partCount; ++i) {
      EXPECT_TRUE(std::isfinite(fish.parts[i].value));
      EXPECT_GE(fish.parts[i].value, 0.0f - 1e-6f);
      EXPECT_LE(fish.parts[i].value, 1.0f + 1e-6f);
    }
  }
}

TEST_F(FishObject, TheMoveStopsOverTheFloorAndAtTheWavesCeiling) {
  // No world: the waves stand at time 0, level with the floor's centre
  // there and 0.3105 high ten units from it. Three ridges crossing at the
  // origin lift the ground there over the sea (an island); away from them
  // it lies near the base height.
  X1Terrain terrain;
  terrain.meta->features = {TerrainFeature{{-30, 0, 0}, {30, 0, 0}, 20.0f, 10.0f},
                            TerrainFeature{{0, 0, -30}, {0, 0, 30}, 20.0f, 10.0f},
                            TerrainFeature{{-20, 0, -20}, {20, 0, 20}, 20.0f, 10.0f}};
  terrain.BuildFloor();
  const float deep = terrain.GetHeight(50.0f, 30.0f, nullptr, false, true);
  const float island = terrain.GetHeight(0.0f, 0.0f, nullptr, false, true);
  ASSERT_LT(deep, -20.0f);
  ASSERT_GT(island, 1.0f);
  X1HeightCollision ceiling(0.0f, &terrain);
  X2FileFish fish(nullptr);
  fish.speed = 5.0f;
  const float up = -D3DX_PI / 2, down = D3DX_PI / 2;  // straight up or down
  struct Case {
    bool floor, surface;
    float rotZ;
    D3DXVECTOR3 start;
    float y;  // after half a unit up or down
  } const cases[] = {
      {false, true, up, {0.0f, -0.1f, 0.0f}, 0.0f},                      // through the ceiling: held at it
      {false, true, up, {6.0f, 0.3105f - 0.6f, 8.0f}, 0.3105f - 0.1f},  // still under it
      {false, false, up, {0.0f, -0.1f, 0.0f}, 0.4f},                     // no sea surface, no ceiling
      {true, false, down, {50.0f, deep + 0.7f, 30.0f}, deep + 0.3f},     // through the floor: held over it
      {true, false, down, {50.0f, deep + 1.0f, 30.0f}, deep + 0.5f},     // still over it
      {true, false, down, {50.0f, deep - 4.0f, 30.0f}, deep + 0.3f},     // made in the ground: lifted out
      {true, false, down, {0.0f, 0.2f, 0.0f}, island + 0.3f},            // no sea surface: over the island
      {true, true, down, {0.0f, 0.2f, 0.0f}, 0.0f},                      // never out of the water
  };
  for (const Case& c : cases) {
    TheTerrain = c.floor ? &terrain : nullptr;
    TheWaveCeiling = c.surface ? &ceiling : nullptr;
    fish.rotZ = c.rotZ;
    fish.position = c.start;
    fish.Move(1.1f, 1.0f);
    EXPECT_NEAR(fish.position.y, c.y, 1e-4f) << c.start.x << " " << c.start.y;
    EXPECT_EQ(fish.world._42, fish.position.y) << "drawn where it is";
    EXPECT_NEAR(fish.position.x, c.start.x, 1e-4f);
  }
  TheTerrain = nullptr;
  TheWaveCeiling = nullptr;
}

TEST(FishSun, DimmingAlongTheLineToTheSun) {
  const D3DXVECTOR3 light(0.0f, -1.0f, 0.0f);  // sun straight above
  const D3DXVECTOR3 camera(0.0f, 0.0f, 0.0f);
  // Within 0.5 of the camera: never, even right on the line.
  EXPECT_EQ(SunDimFactor(light, camera, D3DXVECTOR3(0.0f, 0.4f, 0.0f), 1.0f), 1.0f);
  // On the line: dark.
  EXPECT_EQ(SunDimFactor(light, camera, D3DXVECTOR3(0.0f, 3.0f, 0.0f), 1.0f), 0.0f);
  // Off the line by 0.3 of the body: dark; by 0.75: three quarters.
  EXPECT_EQ(SunDimFactor(light, camera, D3DXVECTOR3(0.3f, 3.0f, 0.0f), 1.0f), 0.0f);
  EXPECT_NEAR(SunDimFactor(light, camera, D3DXVECTOR3(0.75f, 3.0f, 0.0f), 1.0f), 0.75f, 1e-6f);
  EXPECT_NEAR(SunDimFactor(light, camera, D3DXVECTOR3(0.0f, 3.0f, 1.5f), 2.0f), 0.75f, 1e-6f);
  // Off by the body size or more: full light.
  EXPECT_EQ(SunDimFactor(light, camera, D3DXVECTOR3(1.0f, 3.0f, 0.0f), 1.0f), 1.0f);
  // On the line but on the far side of the camera from the sun: the fish is
  // not in the way, however close to the line.
  EXPECT_EQ(SunDimFactor(light, camera, D3DXVECTOR3(0.0f, -3.0f, 0.0f), 1.0f), 1.0f);
  EXPECT_EQ(SunDimFactor(light, camera, D3DXVECTOR3(0.75f, -3.0f, 0.0f), 1.0f), 1.0f);
  // A slanted sun, (0, -0.707, 0.707) as the scene's default: the sun is up
  // and towards -z, so a fish up and towards -z dims it, its mirror image
  // down and towards +z does not; the light vector's length does not matter.
  const D3DXVECTOR3 slanted(0.0f, -0.70710599f, 0.70710599f);
  const D3DXVECTOR3 eye(5.0f, -10.0f, 2.0f);
  EXPECT_EQ(SunDimFactor(slanted, eye, eye + D3DXVECTOR3(0.0f, 4.0f, -4.0f), 1.0f), 0.0f);
  EXPECT_EQ(SunDimFactor(slanted * 3.0f, eye, eye + D3DXVECTOR3(0.0f, 4.0f, -4.0f), 1.0f), 0.0f);
  EXPECT_EQ(SunDimFactor(slanted, eye, eye + D3DXVECTOR3(0.0f, -4.0f, 4.0f), 1.0f), 1.0f);
  // Level with the camera, square to the line: s = 0 is not in front.
  EXPECT_EQ(SunDimFactor(slanted, eye, eye + D3DXVECTOR3(0.6f, 0.0f, 0.0f), 1.0f), 1.0f);
  // No light direction, no body: nothing divides by zero.
  EXPECT_EQ(SunDimFactor(D3DXVECTOR3(0, 0, 0), camera, D3DXVECTOR3(0.0f, 3.0f, 0.0f), 1.0f), 1.0f);
  EXPECT_EQ(SunDimFactor(light, camera, D3DXVECTOR3(0.0f, 3.0f, 0.0f), 0.0f), 1.0f);
}

class LookUp : public C3Camera {
 public:
  D3DXVECTOR3* GetTarget(D3DXVECTOR3* out) override {
    *out = position + D3DXVECTOR3(0, 1, 0.01f);
    return out;
  }
};

TEST(FishSun, AVisibleFishDimsTheWorldsLight) {
  C3World world;
  LookUp camera;
  SetMainCamera(&camera);
  camera.C3Camera::Move(0.0f, 0.0f);
  world.lightDirection = D3DXVECTOR3(0.0f, -1.0f, 0.0f);
  world.lightValue = 1.0f;
  X2FileFish fish(nullptr);
  fish.flags |= kObjAlwaysVisible;
  fish.position = D3DXVECTOR3(0.8f, 5.0f, 0.0f);
  fish.Move(1.0f, 0.9f);
  EXPECT_NEAR(world.lightValue, 0.8f, 1e-6f);
  // Each visible fish counts itself for the status line.
  C9DisplayInfo info(nullptr, 0);
  TheDisplayInfo = &info;
  fish.Move(1.1f, 1.0f);
  EXPECT_EQ(info.runningFishCount, 1);
  // A hidden fish neither dims nor counts.
  fish.flags |= kObjAlwaysCulled;
  fish.Move(1.2f, 1.1f);
  EXPECT_NEAR(world.lightValue, 0.64f, 1e-6f);
  EXPECT_EQ(info.runningFishCount, 1);
  TheDisplayInfo = nullptr;
  SetMainCamera(nullptr);
}

TEST(FishDraw, ConstantsAndShaderChoice) {
  EXPECT_FLOAT_EQ(FishLightsLevel(0), 0.4f);
  EXPECT_FLOAT_EQ(FishLightsLevel(1), 0.2f);
  EXPECT_FLOAT_EQ(FishLightsLevel(2), 0.1f);
  EXPECT_FLOAT_EQ(FishLightsLevel(3), 0.5f);
  EXPECT_FLOAT_EQ(FishCausticScale(1.0f, 1.0f), 1.0f);
  EXPECT_NEAR(FishCausticScale(30.0f, 1.0f), 1.0f / std::pow(30.0f, 0.7f), 1e-6f);
  EXPECT_FLOAT_EQ(FishCausticScale(0.0f, 1.0f), 1.0f);
  EXPECT_FLOAT_EQ(FishCausticScale(-2.0f, 1.0f), 1.0f);

  struct Case {
    int farMesh;
    bool morph, partial, ps;
    int vs, psh, mesh;
  } cases[] = {
      {12, true, true, true, kFishStaticVs, kFishPs, 12},  // far: the far mesh alone
      {0, true, true, true, kFishPartialPsVs, kFishPartialPs, 0},
      {0, true, true, false, kFishPartialVs, kFishPs, 0},
      {0, true, false, true, kFishMorphVs, kFishPs, 0},
      {0, false, false, true, kFishStaticVs, kFishPs, 0},
  };
  for (const Case& c : cases) {
    FishDrawPlan p = PlanFishDraw(c.farMesh, c.morph, c.partial, c.ps);
    EXPECT_EQ(p.vertexShader, c.vs);
    EXPECT_EQ(p.pixelShader, c.psh);
    EXPECT_EQ(p.mesh, c.mesh);
    EXPECT_EQ(p.farMesh, c.farMesh > 0);
    EXPECT_EQ(p.morph, c.farMesh == 0 && c.morph);
  }
}

}  // namespace
