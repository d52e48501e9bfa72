// Structures and the dolphin on a real device: a structure plug-in loaded
// from a model folder, seated on the floor, drawn with its buried footing
// left out, its shapes keeping a swimmer out; X-file structures sharing
// models only within their record; the dolphin made through the host table,
// its AI replaced, stepped before each draw and deleted at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AllocationWatch.h"
#include "D3DTestDevice.h"
#include "HostCallbacks.h"
#include "SceneTestSupport.h"
#include "TestSupport.h"
#include "XFileFixtures.h"
#include "collision/X1ArchitectureHeight.h"
#include "collision/X1CollisionServer.h"
#include "collision/X6FileCollision.h"
#include "common/SceneGlobals.h"
#include "config/X2StructureConfig.h"
#include "diagnostics/Diagnostics.h"
#include "fish/BuiltinFish.h"
#include "pluginlists/X2StructureList.h"
#include "servers/SBServer.h"
#include "structures/StructureObjects.h"
#include "structures/X2FileStructure.h"
#include "structures/X6Dolphin.h"
#include "structures/X6XFileStructure.h"
#include "terrain/X1Terrain.h"
#include "world/C3World.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const D3DXVECTOR4 kBackground(0.0f, 0.0f, 1.0f, 1.0f);

float Half() { return 0.5f; }

bool IsBackground(uint32_t p) { return qvtest::Red(p) < 16 && qvtest::Green(p) < 16 && qvtest::Blue(p) > 239; }

// Drawn pixels in rows [y0, y1) and columns [x0, x1).
int Drawn(const std::vector<uint32_t>& px, int x0, int x1, int y0, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += IsBackground(px[y * kWidth + x]) ? 0 : 1;
  return n;
}

// An AI whose steps offer another AI it keeps owning: the host must ignore
// what a dolphin's step returns.
class CountingAI : public X2AIObjectImpl<CountingAI> {
 public:
  static int made, deleted, drawSteps;
  explicit CountingAI(bool offers) : spare_(offers ? new CountingAI(false) : nullptr) { ++made; }
  ~CountingAI() { ++deleted; }
  X2AIObject* X2_THISCALL Step(float now, float, X2Object) override {
    if (now < 0.0f) {
      ++drawSteps;
      return nullptr;
    }
    return spare_.get();
  }

 private:
  std::unique_ptr<CountingAI> spare_;
};
int CountingAI::made = 0;
int CountingAI::deleted = 0;
int CountingAI::drawSteps = 0;

// A record of one X block (and the dolphin's skin).
struct XRecord {
  X2FishTexture block;
  X2FishTexture skin;
  X2FishMesh mesh{};
  X2FishModel model{};
  X2FishData record{};
  XRecord(const unsigned char* data, uint32_t size, uint32_t inflated, uint32_t version, uint32_t flags)
      : block{data, size}, skin{XFileFixtures::kDolphinSkin, XFileFixtures::kDolphinSkinSize} {
    mesh.vertexCount = inflated;
    mesh.xBlock = &block;
    model.textureCount = 1;
    model.textures = &skin;
    model.scale = 1.0f;
    model.baseMesh = &mesh;
    record.header.version = version;
    record.flags = flags;
    record.modelCount = 1;
    record.model = &model;
  }
};

class StructureScene : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dev.Create(kWidth, kHeight)) << dev.Error();
    camera = new qvtest::LookAlongZ;
    world = qvtest::OpenWorld(&host, camera);
  }
  void TearDown() override {
    qvtest::CloseWorld(world);
    EXPECT_TRUE(X6XFileStructure::Cache().empty());
    TheTerrain = nullptr;
    TheCollisionServer = nullptr;
    delete TheStructureList;
    TheStructureList = nullptr;
    if (!folder.empty()) {
      SetProgramFolder(previousFolder.c_str());
      qvtest::RemoveTree(folder);
    }
  }
  void Start() {
    ASSERT_EQ(0, world->InitDeviceObjects());
    ASSERT_EQ(0, world->RestoreDeviceObjects());
  }
  std::vector<uint32_t> Frame() {
    t += 0.05f;
    world->Move(t);
    world->Render();
    return dev.ReadBackBuffer();
  }
  void SaveArtefact(const char* name) { EXPECT_TRUE(qvtest::SaveBackBufferArtefact(dev.Device(), name)) << name; }
  // The test plug-in loaded from a model folder of its own, as the program
  // finds it, and its plain wreck placed as the program places it: in the
  // small world with a draw of one half, the first record, where its
  // plug-in seats it, on the floor built before it is asked; then its top
  // joins the floor's answers. *floor: the floor under it.
  X2FileStructure* PlaceWreck(float* floor) {
    folder = qvtest::MakeTempDir("qvstructure");
    CreateDirectoryA((folder + "model").c_str(), nullptr);
    EXPECT_TRUE(qvtest::CopyFileTo(qvtest::TestBinDir() + "plugins\\TestStructures.qvs",
                                   folder + "model\\TestStructures.qvs"));
    previousFolder = GetProgramFolder();
    SetProgramFolder(folder.c_str());
    TheStructureList = new X2StructureList;
    EXPECT_EQ(TheStructureList->Count(), 2);
    X2StructureConfig config;
    config.SetFolder(folder.c_str());
    config.Load("StructureConfig.ini");
    TheTerrain = new X1Terrain;
    world->AddChild(TheTerrain);
    TheCollisionServer = new X1CollisionServer;
    world->AddChild(TheCollisionServer);

    bool floorShaped = false;
    const auto placed = config.PlanPlacements(true, Half, GetHostCallbacks(), nullptr,
                                              [&](const std::vector<D3DXVECTOR3>&) {
                                                TheTerrain->BuildFloor();
                                                floorShaped = true;
                                              });
    EXPECT_TRUE(floorShaped);
    if (placed.size() != 1u) return nullptr;
    auto* wreck = dynamic_cast<X2FileStructure*>(MakeStructureObject(placed[0], world, TheCollisionServer));
    if (!wreck) return nullptr;
    *floor = TheTerrain->GetHeight(0.0f, 0.0f, nullptr, false, true);
    TheTerrain->architecture->Add(wreck);
    TheTerrain->BuildFloor();
    camera->position = D3DXVECTOR3(0.0f, *floor + 4.0f, -14.0f);
    return wreck;
  }

  qvtest::D3DTestDevice dev;
  qvtest::FishSceneHost host{dev, kBackground};
  C3World* world = nullptr;
  qvtest::LookAlongZ* camera = nullptr;
  std::string folder, previousFolder;
  float t = 0.0f;
};

TEST_F(StructureScene, APluginStructureStandsOnTheFloorAndKeepsFishOut) {
  float floor = 0.0f;
  X2FileStructure* wreck = PlaceWreck(&floor);
  ASSERT_NE(wreck, nullptr);
  EXPECT_EQ(wreck->position, D3DXVECTOR3(0.0f, floor, 0.0f));
  ASSERT_EQ(TheCollisionServer->FieldCount(), 1);
  // Its deck tops the floor's answers.
  int onStructure = 0;
  EXPECT_NEAR(GetHostCallbacks()->GetTerrainHeight(0.5f, 0.5f, &onStructure), floor + 6.5f, 0.01f);
  EXPECT_EQ(onStructure, 1);

  Start();
  EXPECT_EQ(wreck->tangentPath, 1);
  EXPECT_NE(wreck->drawVertexBuffer, nullptr);
  ASSERT_EQ(wreck->spheres.size(), 3u);
  std::vector<uint32_t> px = Frame();
  SaveArtefact("structure_wreck");
  // Pillar and deck in view; the footing under the floor left out.
  EXPECT_EQ(wreck->hidden, (std::vector<uint32_t>{0, 0, 1}));
  const int relief = Drawn(px, kWidth / 2 - 20, kWidth / 2 + 20, 0, kHeight / 2);
  EXPECT_GT(relief, 2000) << "the pillar above the horizon";
  wreck->tangentPath = 0;
  px = Frame();
  EXPECT_NEAR(Drawn(px, kWidth / 2 - 20, kWidth / 2 + 20, 0, kHeight / 2), relief, relief / 10)
      << "the plain path draws the same shape";

  // A swimmer heading for the pillar at half its height is turned aside by
  // the shapes and never enters the capsule round it.
  D3DXVECTOR3 p(-8.0f, floor + 3.0f, 0.3f), v(2.0f, 0.0f, 0.0f);
  float closest = 1e9f;
  for (int i = 0; i < 400; ++i) {
    D3DXVECTOR3 force;
    TheCollisionServer->GetForce(&force, p, nullptr, 0.2f, 0.0f);
    v += force * 0.05f;
    D3DXVec3Normalize(&v, &v);
    v *= 2.0f;
    p += v * 0.05f;
    if (p.y > floor && p.y < floor + 6.0f) closest = std::min(closest, std::hypot(p.x, p.z));
  }
  EXPECT_GT(closest, 1.2f) << "inside the pillar's capsule";
  EXPECT_LT(closest, 4.0f) << "it came near";
}

TEST_F(StructureScene, WithoutPixelShadersTheWreckDrawsThroughTheFixedStages) {
  world->vsServer->SetPixelShaderQuery([] { return false; });
  world->sbServer->SetPixelShaderQuery([] { return false; });
  float floor = 0.0f;
  X2FileStructure* wreck = PlaceWreck(&floor);
  ASSERT_NE(wreck, nullptr);
  Start();
  const std::vector<uint32_t> px = Frame();
  SaveArtefact("structure_wreck_fixed");
  EXPECT_EQ(wreck->hidden, (std::vector<uint32_t>{0, 0, 1}));
  EXPECT_GT(Drawn(px, kWidth / 2 - 20, kWidth / 2 + 20, 0, kHeight / 2), 2000);
}

TEST_F(StructureScene, XFileStructuresShareModelsOnlyWithinTheirRecord) {
  XRecord plate(XFileFixtures::kPlate, XFileFixtures::kPlateSize, XFileFixtures::kPlateInflatedSize,
                X2_VERSION_FISH_XFILE, 0);
  XRecord dolphin(XFileFixtures::kDolphin, XFileFixtures::kDolphinSize, XFileFixtures::kDolphinInflatedSize,
                  X2_VERSION_FISH_XFILE, 0);
  X2StructurePlacement p;
  p.record = &plate.record;
  p.position = D3DXVECTOR3(-1.5f, 0.0f, 5.0f);
  auto* a = dynamic_cast<X6XFileStructure*>(MakeStructureObject(p, world, nullptr));
  p.position = D3DXVECTOR3(1.5f, 0.0f, 5.0f);
  auto* b = dynamic_cast<X6XFileStructure*>(MakeStructureObject(p, world, nullptr));
  p.record = &dolphin.record;
  p.position = D3DXVECTOR3(0.0f, 1.2f, 4.0f);
  auto* c = dynamic_cast<X6XFileStructure*>(MakeStructureObject(p, world, nullptr));
  ASSERT_TRUE(a && b && c);
  Start();
  ASSERT_EQ(a->models.size(), 1u);
  ASSERT_EQ(c->models.size(), 1u);
  EXPECT_EQ(a->models[0], b->models[0]) << "one record, one load";
  EXPECT_NE(c->models[0], a->models[0]) << "another record draws its own models";
  Frame();
  SaveArtefact("structure_xfile_cache");
  EXPECT_EQ(a->facesDrawn, 4);
  EXPECT_EQ(b->facesDrawn, 4);
  EXPECT_GT(c->facesDrawn, 700);

  // The first structure lets go of its device objects: the second keeps
  // drawing the shared models, and the first loads them afresh.
  a->InvalidateDeviceObjects();
  a->DeleteDeviceObjects();
  EXPECT_TRUE(a->models.empty());
  Frame();
  EXPECT_EQ(b->facesDrawn, 4);
  ASSERT_EQ(0, a->InitDeviceObjects());
  ASSERT_EQ(0, a->RestoreDeviceObjects());
  ASSERT_EQ(a->models.size(), 1u);
  EXPECT_NE(a->models[0], b->models[0]);
  Frame();
  EXPECT_EQ(a->facesDrawn, 4);
}

TEST_F(StructureScene, TheDolphinKeepsItsAIAndItsFramesThroughADeviceMadeAgain) {
  CountingAI::made = CountingAI::deleted = CountingAI::drawSteps = 0;
  TheCollisionServer = new X1CollisionServer;
  world->AddChild(TheCollisionServer);
  XRecord record(XFileFixtures::kDolphinLarge, XFileFixtures::kDolphinLargeSize,
                 XFileFixtures::kDolphinLargeInflatedSize, X2_VERSION_FISH, X2_FISH_BODY_COLLISION);
  X2HostCallbacks* table = GetHostCallbacks();
  EXPECT_EQ(table->CreateDolphin(nullptr), nullptr);
  X2Object handle = table->CreateDolphin(&record.record);
  auto* dolphin = dynamic_cast<X6Dolphin*>(HostObject(handle));
  ASSERT_NE(dolphin, nullptr);
  ASSERT_NE(dolphin->bodyCollision, nullptr);
  EXPECT_EQ(TheCollisionServer->FieldCount(), 1);
  table->RegisterObject(handle);
  auto* ai = new CountingAI(true);
  table->SetAI(handle, ai);
  table->SetDolphinParam(handle, 17, 0.5f);
  table->SetDolphinParam(handle, 18, 0.5f);
  table->SetDolphinParam(handle, -1, 0.5f);
  EXPECT_FLOAT_EQ(dolphin->boneParameters[17], 0.5f);
  const X2Vec3 at{0.0f, 0.0f, 4.0f};
  table->SetPosition(handle, &at);

  Start();
  const std::vector<uint32_t> px = Frame();
  SaveArtefact("structure_dolphin");
  EXPECT_EQ(CountingAI::made, 2);
  EXPECT_EQ(CountingAI::deleted, 0) << "the AI its step offered is not the host's";
  EXPECT_EQ(dolphin->ai, ai);
  EXPECT_EQ(CountingAI::drawSteps, 1) << "stepped once more before the draw";
  EXPECT_GT(dolphin->facesDrawn, 700);
  // Two units long at four units: a good part of the view.
  const int drawn = Drawn(px, 0, kWidth, 0, kHeight);
  EXPECT_GT(drawn, 8000);
  // The field keeps others off its body.
  D3DXVECTOR3 force;
  TheCollisionServer->GetForce(&force, D3DXVECTOR3(0.0f, 0.05f, 4.0f), nullptr, 0.0f, 0.0f);
  EXPECT_GT(D3DXVec3Length(&force), 0.0f);

  // A plug-in keeps a frame's matrix. The device objects released and made
  // again (a window-mode switch), with freed blocks kept: the dolphin keeps
  // its AI, the matrix stays where it was handed out, with what was written
  // into it, and still moves the skin.
  X2Matrix* spine = table->FindFrameMatrix(handle, "Spine");
  ASSERT_NE(spine, nullptr);
  const D3DXMATRIX rest = *reinterpret_cast<D3DXMATRIX*>(spine);
  qvtest::KeepFreedBlocks();
  world->InvalidateDeviceObjects();
  world->DeleteDeviceObjects();
  EXPECT_EQ(dolphin->ai, ai);
  Start();
  EXPECT_EQ(table->FindFrameMatrix(handle, "Spine"), spine);
  D3DXMATRIX lifted = rest;
  lifted._42 += 100.0f;  // the body's spine far above the view
  std::memcpy(spine, &lifted, sizeof lifted);
  EXPECT_EQ(qvtest::ReleaseFreedBlocks(), 0) << "a freed block was written into";
  const int lessDrawn = Drawn(Frame(), 0, kWidth, 0, kHeight);
  EXPECT_LT(lessDrawn, drawn / 2);
  std::memcpy(spine, &rest, sizeof rest);
  EXPECT_GT(Drawn(Frame(), 0, kWidth, 0, kHeight), 8000);
  EXPECT_EQ(dolphin->ai, ai);
  EXPECT_EQ(CountingAI::deleted, 0);
  EXPECT_EQ(CountingAI::drawSteps, 3);
  EXPECT_GT(dolphin->facesDrawn, 700);

  qvtest::CloseWorld(world);
  EXPECT_EQ(CountingAI::deleted, 2) << "its AI (and the one it kept) went with the dolphin";
}

// Memory running out inside a slot that makes an object, at each of its
// allocations in turn: no exception reaches the plug-in, and the slot gives
// null (or a whole object, where only the body's field was left out).
TEST_F(StructureScene, SlotsThatMakeObjectsGiveNullWhenMemoryRunsOut) {
  TheCollisionServer = new X1CollisionServer;
  world->AddChild(TheCollisionServer);
  XRecord dolphin(XFileFixtures::kDolphinLarge, XFileFixtures::kDolphinLargeSize,
                  XFileFixtures::kDolphinLargeInflatedSize, X2_VERSION_FISH, X2_FISH_BODY_COLLISION);
  int species = 0;
  const X2FishData* fish = GetBuiltinSpecies(&species)[0];
  X2HostCallbacks* table = GetHostCallbacks();
  const std::pair<const char*, std::function<X2Object()>> slots[] = {
      {"CreateDolphin", [&] { return table->CreateDolphin(&dolphin.record); }},
      {"CreateFish", [&] { return table->CreateFish(fish); }},
      {"CreateRenderTexture", [&] { return table->CreateRenderTexture(); }},
  };
  for (const auto& slot : slots) {
    int nulls = 0;
    for (long n = 0; n < 10000; ++n) {
      X2Object made = nullptr;
      bool threw = false;
      qvtest::FailAllocationsFrom(n);
      try {
        made = slot.second();
      } catch (...) {
        threw = true;
      }
      const long asked = qvtest::AllowAllocations();
      ASSERT_FALSE(threw) << slot.first << ", out of memory from allocation " << n;
      nulls += made ? 0 : 1;
      delete HostObject(made);
      if (asked <= n) {
        EXPECT_NE(made, nullptr) << slot.first << ": nothing failed";
        break;
      }
    }
    EXPECT_GT(nulls, 0) << slot.first;
  }
}

}  // namespace
