// The sea floor on a real device: drawn through the servers with its own
// shaders on both paths, across device resets, and rebuilt round a
// travelling camera without a seam. Frames are kept as artefacts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "D3DTestDevice.h"
#include "SceneTestSupport.h"
#include "TestSupport.h"
#include "common/SettingIds.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/TextureTable.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "terrain/X1Terrain.h"
#include "terrain/X1TerrainTables.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const D3DXVECTOR4 kSea(0.05f, 0.25f, 0.45f, 1.0f);

bool NoPixelShaders() { return false; }

// Looks ahead and down, 30 degrees below the horizon.
class LookDown : public C3Camera {
 public:
  D3DXVECTOR3* GetTarget(D3DXVECTOR3* out) override {
    *out = position + D3DXVECTOR3(0.0f, -0.577f, 1.0f);
    return out;
  }
};

// The fish's constants with fog from 10 to 90 units.
class FloorHost : public qvtest::FishSceneHost {
 public:
  using FishSceneHost::FishSceneHost;
  void SetFrameShaderConstants() override {
    FishSceneHost::SetFrameShaderConstants();
    const float fog[4] = {0.0f, 90.0f, 1.0f / 80.0f, 0.0f};
    SetVertexConstants(dev.Device(), 23, fog, 1);
  }
  int GetSceneSetting(int pos) override { return pos == kSceneFloorMaterial ? floorMaterial : 0; }
  int floorMaterial = 0;
};

class TerrainScene : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dev.Create(kWidth, kHeight)) << dev.Error();
    SetFilters();
    deviceReferences = qvtest::DeviceReferences(dev.Device());
    camera = new LookDown;
    world = qvtest::OpenWorld(&host, camera);
  }
  void TearDown() override {
    qvtest::CloseWorld(world);
    EXPECT_EQ(0, TextureTable::Instance().LiveCount());
    if (dev.Device()) {
      EXPECT_EQ(deviceReferences, qvtest::DeviceReferences(dev.Device()));
    }
  }

  // Linear filters, as the program sets them after every device reset.
  void SetFilters() {
    for (DWORD s = 0; s < 4; ++s) {
      dev.Device()->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
      dev.Device()->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
      dev.Device()->SetSamplerState(s, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    }
  }
  void Start() {
    srand(1234);
    terrain = new X1Terrain;
    world->AddChild(terrain);
    ASSERT_EQ(0, world->InitDeviceObjects());
    ASSERT_EQ(0, world->RestoreDeviceObjects());
    ASSERT_TRUE(terrain->IsBuilt());
    // Eye 20 units over the floor at the centre.
    camera->position = D3DXVECTOR3(0.0f, terrain->GetHeight(0.0f, 0.0f, nullptr, false, true) + 20.0f, 0.0f);
  }
  void Frame() {
    world->Move(0.05f);
    world->Render();
  }
  // Pixels of the rows from y0 down that are not the cleared sea.
  static int FloorPixels(const std::vector<uint32_t>& px, int y0) {
    const D3DCOLOR sea = D3DCOLOR_COLORVALUE(kSea.x, kSea.y, kSea.z, 1.0f);
    int n = 0;
    for (int y = y0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const uint32_t p = px[y * kWidth + x];
        n += std::abs(qvtest::Red(p) - qvtest::Red(sea)) + std::abs(qvtest::Green(p) - qvtest::Green(sea)) +
                     std::abs(qvtest::Blue(p) - qvtest::Blue(sea)) > 24;
      }
    return n;
  }
  void ExpectFloorFillsTheLowerHalf(const std::vector<uint32_t>& px) {
    ASSERT_EQ(px.size(), static_cast<size_t>(kWidth * kHeight));
    EXPECT_GT(FloorPixels(px, kHeight / 2), kWidth * kHeight / 2 * 9 / 10);
  }
  void ExpectBuffersHoldTheFloor() {
    ASSERT_NE(terrain->VertexBuffer(), nullptr);
    ASSERT_NE(terrain->IndexBuffer(), nullptr);
    const TerrainMesh& mesh = terrain->Mesh();
    void* data = nullptr;
    ASSERT_EQ(D3D_OK, terrain->VertexBuffer()->Lock(0, 0, &data, D3DLOCK_READONLY));
    EXPECT_EQ(0, std::memcmp(data, mesh.vertices.data(), mesh.vertices.size() * sizeof(TerrainVertex)));
    terrain->VertexBuffer()->Unlock();
    ASSERT_EQ(D3D_OK, terrain->IndexBuffer()->Lock(0, 0, &data, D3DLOCK_READONLY));
    EXPECT_EQ(0, std::memcmp(data, mesh.indices.data(), mesh.indices.size() * sizeof(uint16_t)));
    terrain->IndexBuffer()->Unlock();
  }
  void SaveArtefact(const char* name) { EXPECT_TRUE(qvtest::SaveBackBufferArtefact(dev.Device(), name)) << name; }

  qvtest::D3DTestDevice dev;
  FloorHost host{dev, kSea};
  ULONG deviceReferences = 0;
  C3World* world = nullptr;
  LookDown* camera = nullptr;
  X1Terrain* terrain = nullptr;
};

}  // namespace

TEST_F(TerrainScene, FloorIsDrawnWithItsShadersAndSurvivesResets) {
  Start();
  ASSERT_EQ(terrain->vertexShaders.size(), static_cast<size_t>(kTerrainShaderCount));
  for (int s = 0; s < kTerrainShaderCount; ++s) EXPECT_NE(terrain->vertexShaders[s], nullptr) << s;
  ExpectBuffersHoldTheFloor();
  Frame();
  const std::vector<uint32_t> first = dev.ReadBackBuffer();
  ExpectFloorFillsTheLowerHalf(first);
  SaveArtefact("terrain_floor");
  // What the draw bound and set.
  EXPECT_EQ(world->vsServer->CurrentVertexShader(), terrain->vertexShaders[kTerrainReliefVs]);
  EXPECT_EQ(world->vsServer->CurrentPixelShader(), terrain->vertexShaders[kTerrainPlainPs]);  // no caustic
  EXPECT_EQ(world->vbServer->CurrentIB(), terrain->IndexBuffer());
  EXPECT_EQ(world->sbServer->Current(), terrain->stateBlock);
  EXPECT_FLOAT_EQ(VertexConstantCopy(38)[3], 10.0f);  // FloorMaterial 0
  EXPECT_FLOAT_EQ(PixelConstantCopy(1)[0], 0.4f);     // Lights 0 (the host's default setting)

  for (int r = 0; r < 2; ++r) {
    world->InvalidateDeviceObjects();
    EXPECT_EQ(terrain->VertexBuffer(), nullptr);
    EXPECT_EQ(terrain->IndexBuffer(), nullptr);
    ASSERT_EQ(D3D_OK, dev.Reset());
    SetFilters();
    ASSERT_EQ(0, world->RestoreDeviceObjects());
    ExpectBuffersHoldTheFloor();
    Frame();
  }
  const std::vector<uint32_t> after = dev.ReadBackBuffer();
  ExpectFloorFillsTheLowerHalf(after);
  SaveArtefact("terrain_after_reset");
  EXPECT_EQ(first, after);  // the same floor, the same frame
}

TEST_F(TerrainScene, FixedStagesDrawTheVertexLitFloor) {
  world->vsServer->SetPixelShaderQuery(NoPixelShaders);
  world->sbServer->SetPixelShaderQuery(NoPixelShaders);
  Start();
  Frame();
  ExpectFloorFillsTheLowerHalf(dev.ReadBackBuffer());
  EXPECT_EQ(world->vsServer->CurrentVertexShader(), terrain->vertexShaders[kTerrainLitVs]);
  SaveArtefact("terrain_fixed_stages");
}

TEST_F(TerrainScene, SiltFloorWithItsGentleRelief) {
  host.floorMaterial = 1;
  Start();
  Frame();
  const std::vector<uint32_t> silt = dev.ReadBackBuffer();
  ExpectFloorFillsTheLowerHalf(silt);
  EXPECT_FLOAT_EQ(VertexConstantCopy(38)[3], 0.2f);
  SaveArtefact("terrain_silt");
}

TEST_F(TerrainScene, TravellingCameraRebuildsTheFloorWithoutASeam) {
  Start();
  const float eyeY = camera->position.y;
  // Just short of a rebuild: the old patch.
  camera->position = D3DXVECTOR3(29.0f, eyeY, 0.0f);
  Frame();
  EXPECT_FALSE(terrain->IsRebuilding());
  const std::vector<uint32_t> oldPatch = dev.ReadBackBuffer();
  const float oldCentre = terrain->position.x;

  // On past 30 units: asked, rebuilt the next frame round the camera.
  camera->position.x = 31.0f;
  Frame();
  Frame();
  EXPECT_NE(terrain->position.x, oldCentre);
  ExpectBuffersHoldTheFloor();
  while (terrain->IsRebuilding()) Frame();
  // Back to the first view (no new rebuild: within 30 units of the new
  // centre). Near the camera both patches lie on the same floor.
  camera->position.x = 29.0f;
  Frame();
  EXPECT_FALSE(terrain->IsRebuilding());
  const std::vector<uint32_t> newPatch = dev.ReadBackBuffer();
  ExpectFloorFillsTheLowerHalf(newPatch);
  SaveArtefact("terrain_rebuilt");
  int same = 0, total = 0;
  for (int y = kHeight / 2; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      ++total;
      const uint32_t a = oldPatch[y * kWidth + x], b = newPatch[y * kWidth + x];
      same += std::abs(qvtest::Red(a) - qvtest::Red(b)) + std::abs(qvtest::Green(a) - qvtest::Green(b)) +
                  std::abs(qvtest::Blue(a) - qvtest::Blue(b)) <= 6;
    }
  EXPECT_GT(same, total * 98 / 100);
}
