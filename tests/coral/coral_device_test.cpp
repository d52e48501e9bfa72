// Coral on a real device: the Calvesh colonies of a server on a flat floor
// in front of a camera, drawn through the servers with the coral's own
// shaders; frames read back, the sway seen, and pieces far off not drawn.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "C3World.h"
#include "CoralLayout.h"
#include "D3DTestDevice.h"
#include "ModelSet.h"
#include "SceneTestSupport.h"
#include "SettingIds.h"
#include "TextureTable.h"
#include "X1CoralServer.h"
#include "X2ConfigList.h"
#include "X2FileCoral.h"
#include "X2FileCoralTables.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const D3DXVECTOR4 kBackground(0.0f, 0.25f, 0.5f, 1.0f);
constexpr float kFloor = -2.0f;

class CoralHost : public qvtest::FishSceneHost {
 public:
  using FishSceneHost::FishSceneHost;
  int GetSceneSetting(int pos) override { return pos == kSceneCoralDensity ? 2 : 0; }
  // Optionally no fog (c23.z = 0), so that distance alone decides what shows.
  void SetFrameShaderConstants() override {
    FishSceneHost::SetFrameShaderConstants();
    if (!fog) {
      const float clear[4] = {0.0f, 50.0f, 0.0f, 0.0f};
      SetVertexConstants(dev.Device(), 23, clear, 1);
    }
  }
  bool fog = true;
};

class CoralScene : public ::testing::Test {
 protected:
  void SetUp() override {
    srand(3);
    HMODULE module = nullptr;
    X2GetFishDataFn get = qvspecies::LoadFishExport("Calvesh.qvc", &module);
    module_ = module;
    ASSERT_NE(nullptr, get) << "Calvesh.qvc";
    record = get(nullptr, nullptr);
    ASSERT_NE(nullptr, record);
    ASSERT_TRUE(dev.Create(kWidth, kHeight)) << dev.Error();
    deviceReferences = qvtest::DeviceReferences(dev.Device());
    camera = new qvtest::LookAlongZ;
    camera->position = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    world = qvtest::OpenWorld(&host, camera);
    config.AddEntry("calvesh", 1);
    server = new X1CoralServer(nullptr, &config, [this](const char*) { return record; }, nullptr);
    server->ground = [](float, float, int*) { return kFloor; };
    world->AddChild(server);
    ASSERT_EQ(0, world->InitDeviceObjects());
    ASSERT_EQ(0, world->RestoreDeviceObjects());
  }
  void TearDown() override {
    qvtest::CloseWorld(world);
    EXPECT_EQ(0, TextureTable::Instance().LiveCount());
    if (dev.Device()) EXPECT_EQ(deviceReferences, qvtest::DeviceReferences(dev.Device()));
    if (module_) FreeLibrary(module_);
  }
  void Frame(float elapsed = 0.05f) {
    world->Move(elapsed);
    world->Render();
  }
  // Pixels clearly off the water colour in the rows from y0 to y1.
  static int Drawn(const std::vector<uint32_t>& px, int y0, int y1) {
    const uint32_t sea = D3DCOLOR_COLORVALUE(kBackground.x, kBackground.y, kBackground.z, 1.0f);
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const uint32_t p = px[y * kWidth + x];
        n += std::abs(qvtest::Red(p) - qvtest::Red(sea)) + std::abs(qvtest::Green(p) - qvtest::Green(sea)) +
                 std::abs(qvtest::Blue(p) - qvtest::Blue(sea)) > 24;
      }
    return n;
  }
  std::vector<X2FileCoral*> Pieces() {
    std::vector<X2FileCoral*> out;
    for (int c = 0; c < kCoralCells; ++c)
      for (int i = 0; i < server->Cell(c)->count; ++i) {
        auto* colony = static_cast<X2CoralColony*>(server->Cell(c)->items[i]);
        for (int m = 0; m < colony->members.count; ++m) out.push_back(colony->Member(m));
      }
    return out;
  }

  qvtest::D3DTestDevice dev;
  CoralHost host{dev, kBackground};
  HMODULE module_ = nullptr;
  const X2FishData* record = nullptr;
  ULONG deviceReferences = 0;
  C3World* world = nullptr;
  qvtest::LookAlongZ* camera = nullptr;
  X2ConfigList config;
  X1CoralServer* server = nullptr;
};

TEST_F(CoralScene, ColoniesStandOnTheFloorAndSway) {
  ASSERT_EQ(72, server->ColonyCount());  // "普通": 8 per cell
  const std::vector<X2FileCoral*> pieces = Pieces();
  ASSERT_FALSE(pieces.empty());
  for (X2FileCoral* p : pieces) {
    ASSERT_EQ(2u, p->vertexShaders.size());
    EXPECT_NE(nullptr, p->vertexShaders[kCoralMorphVs]);
    EXPECT_TRUE(p->HasMorph());
  }
  Frame();
  Frame();
  int inView = 0;
  for (X2FileCoral* p : pieces) {
    EXPECT_FLOAT_EQ(kFloor + 0.2f, p->position.y);
    inView += !p->HasFlag(kObjCulled) && p->cameraDistance <= kCoralDrawDistance;
  }
  ASSERT_GT(inView, 0);
  const std::vector<uint32_t> first = dev.ReadBackBuffer();
  // Standing on the floor below the eye: drawn below the horizon, nothing above.
  EXPECT_GT(Drawn(first, kHeight / 2, kHeight), 400);
  EXPECT_EQ(0, Drawn(first, 0, kHeight / 2 - 40));
  EXPECT_TRUE(qvtest::SaveBackBufferArtefact(dev.Device(), "coral_scene"));

  for (int i = 0; i < 20; ++i) Frame();
  const std::vector<uint32_t> later = dev.ReadBackBuffer();
  int changed = 0;
  for (size_t i = 0; i < first.size(); ++i) changed += (first[i] & 0xFFFFFF) != (later[i] & 0xFFFFFF);
  EXPECT_GT(changed, 50) << "the coral did not sway";
}

TEST_F(CoralScene, PiecesFartherThanFiftyUnitsAreNotDrawn) {
  host.fog = false;
  Frame();
  auto push = [this](float dz) {
    for (X2FileCoral* p : Pieces()) p->position.z += dz;
    Frame();
    int within = 0;
    for (X2FileCoral* p : Pieces()) within += p->cameraDistance <= kCoralDrawDistance && !p->HasFlag(kObjCulled);
    return within;
  };
  // Pushed 30 units away along the view, some pieces are still within 50
  // units of the eye; pushed 100, none is, and nothing shows though the
  // water has no fog.
  EXPECT_GT(push(30.0f), 0);
  EXPECT_GT(Drawn(dev.ReadBackBuffer(), 0, kHeight), 20);
  EXPECT_EQ(0, push(70.0f));
  EXPECT_EQ(0, Drawn(dev.ReadBackBuffer(), 0, kHeight));
}

}  // namespace
