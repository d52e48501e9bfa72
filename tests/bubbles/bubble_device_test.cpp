// The bubbles on a real device over the real floor: seated by the floor's
// first build before their own buffer exists, uploaded by their restore,
// drawn as light added over the scene, again after device resets, and with
// their glare frames in the glare pass. Frames are kept as artefacts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "D3DTestDevice.h"
#include "SceneTestSupport.h"
#include "TestSupport.h"
#include "common/SceneGlobals.h"
#include "current/X7Bubbles.h"
#include "servers/TextureTable.h"
#include "terrain/X1Terrain.h"
#include "world/C3World.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const D3DXVECTOR4 kSea(0.0f, 0.3f, 0.6f, 1.0f);

int Brightness(uint32_t p) { return qvtest::Red(p) + qvtest::Green(p) + qvtest::Blue(p); }

// Pixels of `a` clearly brighter than the same pixel of `b`.
int Brighter(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  int n = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += Brightness(a[i]) > Brightness(b[i]) + 40 ? 1 : 0;
  return n;
}

class BubbleScene : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dev.Create(kWidth, kHeight)) << dev.Error();
    deviceReferences = qvtest::DeviceReferences(dev.Device());
    camera = new qvtest::LookAlongZ;
    world = qvtest::OpenWorld(&host, camera);
    srand(4321);
    terrain = new X1Terrain;
    world->AddChild(terrain);
    TheTerrain = terrain;
    bubbles = new X7Bubbles;
    world->AddChild(bubbles);
    terrain->followers.Add(bubbles);
    world->glareSources.Add(bubbles);
  }
  void TearDown() override {
    qvtest::CloseWorld(world);
    TheTerrain = nullptr;
    EXPECT_EQ(0, TextureTable::Instance().LiveCount());
    if (dev.Device()) {
      EXPECT_EQ(deviceReferences, qvtest::DeviceReferences(dev.Device()));
    }
  }
  void Frame(float elapsed) {
    world->Move(elapsed);
    world->Render();
  }
  // The bubbles alone on black, as the glare buffer draws its sources.
  std::vector<uint32_t> BubblesAlone(bool glare) {
    IDirect3DDevice9* d = dev.Device();
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    d->BeginScene();
    if (glare) bubbles->flags |= kObjGlarePass;
    bubbles->SetViewProjection(&camera->view, &camera->projection);
    bubbles->Render();
    bubbles->flags &= ~kObjGlarePass;
    d->EndScene();
    return dev.ReadBackBuffer();
  }
  void SaveArtefact(const char* name) { EXPECT_TRUE(qvtest::SaveBackBufferArtefact(dev.Device(), name)) << name; }

  qvtest::D3DTestDevice dev;
  qvtest::FishSceneHost host{dev, kSea};
  ULONG deviceReferences = 0;
  C3World* world = nullptr;
  qvtest::LookAlongZ* camera = nullptr;
  X1Terrain* terrain = nullptr;
  X7Bubbles* bubbles = nullptr;
};

}  // namespace

TEST_F(BubbleScene, ColumnsRiseFromTheFloorAndSurviveResets) {
  ASSERT_EQ(0, world->InitDeviceObjects());
  ASSERT_EQ(0, world->RestoreDeviceObjects());
  ASSERT_NE(bubbles->VertexBuffer(), nullptr);
  EXPECT_EQ(bubbles->position.y, terrain->GetHeight(0.0f, 0.0f, nullptr, false, false));
  camera->position = D3DXVECTOR3(0.0f, bubbles->position.y + 4.0f, 0.0f);  // looking level
  // Twenty seconds: some forty layers, the oldest four units up; each
  // reset after that gives the bubbles a new buffer with fresh vents.
  for (int i = 0; i < 40; ++i) Frame(0.5f);
  SaveArtefact("bubbles_columns");
  int lit = 0;
  for (int r = 0; r < 3; ++r) {
    SCOPED_TRACE(r);
    if (r > 0) {
      world->InvalidateDeviceObjects();
      EXPECT_EQ(bubbles->VertexBuffer(), nullptr);
      ASSERT_EQ(D3D_OK, dev.Reset());
      ASSERT_EQ(0, world->RestoreDeviceObjects());
    }
    world->Render();
    const std::vector<uint32_t> with = dev.ReadBackBuffer();
    const std::vector<X7BubbleEmitter> kept = bubbles->layers;
    for (X7BubbleEmitter& layer : bubbles->layers) layer.alive = 0;
    world->Render();
    const std::vector<uint32_t> without = dev.ReadBackBuffer();
    bubbles->layers = kept;
    EXPECT_EQ(Brighter(without, with), 0);
    if (r == 0) lit = Brighter(with, without);
    EXPECT_GT(Brighter(with, without), r == 0 ? 400 : lit / 3);
  }
  // The glare pass takes the glare frames: the highlights only, less light.
  const std::vector<uint32_t> plain = BubblesAlone(false), glare = BubblesAlone(true);
  long plainLight = 0, glareLight = 0;
  for (size_t i = 0; i < plain.size(); ++i) {
    plainLight += Brightness(plain[i]);
    glareLight += Brightness(glare[i]);
  }
  EXPECT_GT(glareLight, 0);
  EXPECT_LT(glareLight, plainLight / 2);
}
