// Coral on a real device: the Calvesh colonies of a server on a flat floor
// before a camera, drawn with the coral's own shaders: on the floor below
// the horizon, swaying, and not drawn beyond 50 units even without fog.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "ModelSet.h"
#include "SceneTestSupport.h"
#include "common/SettingIds.h"
#include "config/X2ConfigList.h"
#include "coral/CoralLayout.h"
#include "coral/X1CoralServer.h"
#include "coral/X2FileCoral.h"
#include "servers/TextureTable.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const D3DXVECTOR4 kSea(0.0f, 0.25f, 0.5f, 1.0f);

// Density "普通" (8 colonies a cell); no fog (c23.z = 0) once `fog` is off.
class CoralHost : public qvtest::FishSceneHost {
 public:
  using FishSceneHost::FishSceneHost;
  int GetSceneSetting(int pos) override { return pos == kSceneCoralDensity ? 2 : 0; }
  void SetFrameShaderConstants() override {
    FishSceneHost::SetFrameShaderConstants();
    const float clear[4] = {0.0f, 50.0f, 0.0f, 0.0f};
    if (!fog) SetVertexConstants(dev.Device(), 23, clear, 1);
  }
  bool fog = true;
};

// Pixels clearly off the water colour in rows y0 .. y1 - 1.
int Drawn(const std::vector<uint32_t>& px, int y0, int y1) {
  const uint32_t sea = D3DCOLOR_COLORVALUE(kSea.x, kSea.y, kSea.z, 1.0f);
  int n = 0;
  for (int i = y0 * kWidth; i < y1 * kWidth; ++i)
    n += std::abs(qvtest::Red(px[i]) - qvtest::Red(sea)) + std::abs(qvtest::Green(px[i]) - qvtest::Green(sea)) +
             std::abs(qvtest::Blue(px[i]) - qvtest::Blue(sea)) > 24;
  return n;
}

TEST(CoralScene, ColoniesStandOnTheFloorSwayAndStopAtFiftyUnits) {
  srand(3);
  HMODULE module = nullptr;
  X2GetFishDataFn get = qvspecies::LoadFishExport("Calvesh.qvc", &module);
  ASSERT_NE(nullptr, get);
  const X2FishData* record = get(nullptr, nullptr);
  qvtest::D3DTestDevice dev;
  ASSERT_TRUE(dev.Create(kWidth, kHeight)) << dev.Error();
  const ULONG references = qvtest::DeviceReferences(dev.Device());
  CoralHost host(dev, kSea);
  C3World* world = qvtest::OpenWorld(&host, new qvtest::LookAlongZ);
  X2ConfigList config;
  config.AddEntry("calvesh", 1);
  auto* server = new X1CoralServer(nullptr, &config, [record](const char*) { return record; }, nullptr);
  server->ground = [](float, float, int*) { return -2.0f; };
  world->AddChild(server);
  ASSERT_EQ(0, world->InitDeviceObjects());
  ASSERT_EQ(0, world->RestoreDeviceObjects());
  std::vector<X2FileCoral*> pieces;
  for (int c = 0; c < kCoralCells; ++c)
    for (int i = 0; i < server->Cell(c)->count; ++i)
      pieces.push_back(static_cast<X2CoralColony*>(server->Cell(c)->items[i])->Member(0));
  ASSERT_EQ(72u, pieces.size());
  auto frame = [&](float push) {
    for (X2FileCoral* p : pieces) p->position.z += push;
    world->Move(0.05f);
    world->Render();
    return dev.ReadBackBuffer();
  };

  frame(0.0f);  // the server seats the pieces after their first move
  const std::vector<uint32_t> first = frame(0.0f);
  for (X2FileCoral* p : pieces) EXPECT_FLOAT_EQ(-1.8f, p->position.y);
  EXPECT_GT(Drawn(first, kHeight / 2, kHeight), 400);  // on the floor below the eye
  EXPECT_EQ(0, Drawn(first, 0, kHeight / 2 - 40));
  EXPECT_TRUE(qvtest::SaveBackBufferArtefact(dev.Device(), "coral_scene"));
  std::vector<uint32_t> later;
  for (int i = 0; i < 20; ++i) later = frame(0.0f);
  int changed = 0;
  for (size_t i = 0; i < first.size(); ++i) changed += (first[i] & 0xFFFFFF) != (later[i] & 0xFFFFFF);
  EXPECT_GT(changed, 50) << "the coral did not sway";

  // The device objects released and made again (a window-mode switch): the
  // colonies stay in their cells, and their pieces stand and sway as before.
  world->InvalidateDeviceObjects();
  world->DeleteDeviceObjects();
  ASSERT_EQ(0, world->InitDeviceObjects());
  ASSERT_EQ(0, world->RestoreDeviceObjects());
  EXPECT_EQ(72, server->ColonyCount());
  const std::vector<uint32_t> again = frame(0.0f);
  EXPECT_GT(Drawn(again, kHeight / 2, kHeight), 400);
  for (int i = 0; i < 20; ++i) later = frame(0.0f);
  changed = 0;
  for (size_t i = 0; i < again.size(); ++i) changed += (again[i] & 0xFFFFFF) != (later[i] & 0xFFFFFF);
  EXPECT_GT(changed, 50) << "the coral no longer sways";

  // Without fog: pushed 30 units along the view some are still within 50
  // units and show; pushed 100, none is and nothing shows.
  host.fog = false;
  EXPECT_GT(Drawn(frame(30.0f), 0, kHeight), 20);
  EXPECT_EQ(0, Drawn(frame(70.0f), 0, kHeight));
  for (X2FileCoral* p : pieces) EXPECT_GT(p->cameraDistance, kCoralDrawDistance);

  qvtest::CloseWorld(world);
  EXPECT_EQ(0, TextureTable::Instance().LiveCount());
  EXPECT_EQ(references, qvtest::DeviceReferences(dev.Device()));
  FreeLibrary(module);
}

}  // namespace
