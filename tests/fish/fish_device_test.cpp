// The fish on a real device: one fish of every species in a world with a
// camera, drawn through the servers with the fish's own shaders; frames
// read back and checked per fish, animation, device reset, far meshes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "D3DTestDevice.h"
#include "SceneTestSupport.h"
#include "SwimmingFish.h"
#include "TestSupport.h"
#include "fish/C5PartialMorphCache.h"
#include "fish/C6FishTables.h"
#include "fish/FishDraw.h"
#include "fish/X2FileFish.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/TextureTable.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const D3DXVECTOR4 kBackground(0.0f, 0.25f, 0.5f, 1.0f);

D3DCOLOR BackgroundColour() { return D3DCOLOR_COLORVALUE(kBackground.x, kBackground.y, kBackground.z, 1.0f); }

struct Region {
  int x0, y0, x1, y1;
};

bool NoPixelShaders() { return false; }

class FishScene : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SwimmingSpecies().size(), 8u);
    ASSERT_TRUE(dev.Create(kWidth, kHeight)) << dev.Error();
    IDirect3DDevice9* d = dev.Device();
    for (DWORD s = 0; s < 4; ++s) {
      d->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
      d->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    }
    deviceReferences = qvtest::DeviceReferences(d);
    C5PartialMorphCache::Destroy();
    camera = new qvtest::LookAlongZ;
    world = qvtest::OpenWorld(&host, camera);
  }
  void TearDown() override {
    qvtest::CloseWorld(world);
    EXPECT_EQ(nullptr, C5PartialMorphCache::Shared(false));
    EXPECT_EQ(0, TextureTable::Instance().LiveCount());
    if (dev.Device()) {
      EXPECT_EQ(deviceReferences, qvtest::DeviceReferences(dev.Device()));
    }
  }

  // The species' noses point along -x, the engine's direction of travel, so
  // an unturned fish shows its side to the camera looking along +z.
  X2FileFish* AddFish(const X2FishData* record, D3DXVECTOR3 at) {
    auto* fish = new X2FileFish(record);
    fish->position = at;
    fish->rotY = 0.0f;
    world->AddChild(fish);
    return fish;
  }
  // One fish of every species: the small ones in two rows nearFish the camera,
  // the big one further off above them.
  void AddEverySpecies() {
    const auto& species = SwimmingSpecies();
    for (size_t i = 0; i < species.size(); ++i) {
      D3DXVECTOR3 at(-0.9f + 0.6f * static_cast<float>(i % 4), i < 4 ? -0.1f : -0.6f, 1.6f);
      if (species[i].tag == "vassop") at = D3DXVECTOR3(0.0f, 5.5f, 20.0f);
      fish.push_back(AddFish(species[i].record, at));
      tags.push_back(species[i].tag);
    }
  }
  void Start() {
    ASSERT_EQ(0, world->InitDeviceObjects());
    ASSERT_EQ(0, world->RestoreDeviceObjects());
  }
  void Frame(float elapsed = 0.05f) {
    world->Move(elapsed);
    world->Render();
  }

  // The screen rectangle of a fish's box.
  Region RegionOf(const C4VertexObject& o) {
    D3DXMATRIX view, viewProjection;
    camera->GetViewMatrix(&view);
    viewProjection = view * camera->projection;
    Region r{kWidth, kHeight, -1, -1};
    for (int k = 0; k < 8; ++k) {
      D3DXVECTOR3 corner((k & 1) ? o.boxMax.x : o.boxMin.x, (k & 2) ? o.boxMax.y : o.boxMin.y,
                         (k & 4) ? o.boxMax.z : o.boxMin.z);
      D3DXVECTOR3 worldPoint, screen;
      D3DXVec3TransformCoord(&worldPoint, &corner, &o.world);
      D3DXVec3TransformCoord(&screen, &worldPoint, &viewProjection);
      int x = static_cast<int>((screen.x * 0.5f + 0.5f) * kWidth);
      int y = static_cast<int>((0.5f - screen.y * 0.5f) * kHeight);
      r.x0 = std::min(r.x0, x);
      r.y0 = std::min(r.y0, y);
      r.x1 = std::max(r.x1, x);
      r.y1 = std::max(r.y1, y);
    }
    r.x0 = std::max(r.x0, 0);
    r.y0 = std::max(r.y0, 0);
    r.x1 = std::min(r.x1, kWidth - 1);
    r.y1 = std::min(r.y1, kHeight - 1);
    return r;
  }
  static int CountIf(const std::vector<uint32_t>& px, const Region& r,
                     const std::function<bool(int)>& test) {
    int n = 0;
    for (int y = r.y0; y <= r.y1; ++y)
      for (int x = r.x0; x <= r.x1; ++x) n += test(y * kWidth + x) ? 1 : 0;
    return n;
  }
  int FishPixels(const std::vector<uint32_t>& px, const C4VertexObject& o) {
    const uint32_t background = BackgroundColour() & 0xFFFFFF;
    return CountIf(px, RegionOf(o), [&](int i) {
      uint32_t p = px[i] & 0xFFFFFF;
      return std::abs(qvtest::Red(p) - qvtest::Red(background)) + std::abs(qvtest::Green(p) - qvtest::Green(background)) +
                 std::abs(qvtest::Blue(p) - qvtest::Blue(background)) > 24;
    });
  }
  int ChangedPixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, const C4VertexObject& o) {
    return CountIf(a, RegionOf(o), [&](int i) { return (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF); });
  }
  void ExpectEveryFishDrawn(const std::vector<uint32_t>& px) {
    ASSERT_EQ(px.size(), static_cast<size_t>(kWidth * kHeight));
    for (size_t i = 0; i < fish.size(); ++i) {
      SCOPED_TRACE(tags[i]);
      EXPECT_FALSE(fish[i]->HasFlag(kObjCulled));
      EXPECT_GT(FishPixels(px, *fish[i]), 20);
    }
  }
  void SaveArtefact(const char* name) { EXPECT_TRUE(qvtest::SaveBackBufferArtefact(dev.Device(), name)) << name; }

  qvtest::D3DTestDevice dev;
  qvtest::FishSceneHost host{dev, kBackground};
  ULONG deviceReferences = 0;
  C3World* world = nullptr;
  qvtest::LookAlongZ* camera = nullptr;
  std::vector<X2FileFish*> fish;
  std::vector<std::string> tags;
};

TEST_F(FishScene, EverySpeciesSwimsOnScreen) {
  AddEverySpecies();
  X2FileFish* empty = AddFish(nullptr, D3DXVECTOR3(-1.0f, 0.7f, 1.6f));
  Start();
  for (X2FileFish* f : fish) {
    ASSERT_TRUE(f->HasDeviceObjects());
    ASSERT_EQ(f->vertexShaders.size(), 6u);
    for (int s = 0; s < 6; ++s) EXPECT_NE(f->vertexShaders[s], nullptr) << s;
  }
  EXPECT_EQ(fish[0]->vertexShaders[kFishMorphVs], fish[7]->vertexShaders[kFishMorphVs]);
  EXPECT_TRUE(fish[7]->HasFlag(kObjInsideNoCull));  // the big one
  EXPECT_FALSE(fish[0]->HasFlag(kObjInsideNoCull));

  Frame();
  std::vector<uint32_t> first = dev.ReadBackBuffer();
  ExpectEveryFishDrawn(first);
  EXPECT_EQ(FishPixels(first, *empty), 0);  // the empty fish drew nothing
  for (int i = 0; i < 30; ++i) Frame();
  std::vector<uint32_t> later = dev.ReadBackBuffer();
  ExpectEveryFishDrawn(later);
  SaveArtefact("fish_scene");
  // Swimming: every fish's picture moved.
  for (size_t i = 0; i < fish.size(); ++i) {
    SCOPED_TRACE(tags[i]);
    EXPECT_GT(ChangedPixels(first, later, *fish[i]), 5);
    EXPECT_GT(fish[i]->swim.shownSwim, 0.0f);
  }
}

TEST_F(FishScene, ResetKeepsThemDrawnAndSwimming) {
  AddEverySpecies();
  Start();
  for (int i = 0; i < 3; ++i) Frame();
  for (int r = 0; r < 3; ++r) {
    world->InvalidateDeviceObjects();
    for (X2FileFish* f : fish) EXPECT_FALSE(f->HasDeviceObjects());
    ASSERT_EQ(D3D_OK, dev.Reset());
    ASSERT_EQ(0, world->RestoreDeviceObjects());
    Frame();
  }
  for (X2FileFish* f : fish) EXPECT_EQ(f->vertexShaders.size(), 6u);
  std::vector<uint32_t> before = dev.ReadBackBuffer();
  ExpectEveryFishDrawn(before);
  for (int i = 0; i < 20; ++i) Frame();
  std::vector<uint32_t> after = dev.ReadBackBuffer();
  ExpectEveryFishDrawn(after);
  for (size_t i = 0; i < fish.size(); ++i) {
    SCOPED_TRACE(tags[i]);
    EXPECT_GT(ChangedPixels(before, after, *fish[i]), 5);
  }
}

TEST_F(FishScene, FarFishDrawTheirFarMesh) {
  const auto& species = SwimmingSpecies();
  X2FileFish* nearFish = AddFish(species[3].record, D3DXVECTOR3(-0.2f, 0.0f, 1.2f));
  X2FileFish* farFish = AddFish(species[3].record, D3DXVECTOR3(0.4f, 0.0f, 12.0f));
  farFish->scale = 6.0f;  // big enough to see at that distance
  Start();
  Frame();
  EXPECT_EQ(nearFish->lodState & 1, 0u);
  ASSERT_EQ(farFish->lodState & 1, 1u);
  const int farIndex = farFish->HasLod();
  ASSERT_GT(farIndex, 0);
  std::vector<uint32_t> px = dev.ReadBackBuffer();
  EXPECT_GT(FishPixels(px, *nearFish), 20);
  EXPECT_GT(FishPixels(px, *farFish), 20);

  // Drawn on their own: the farFish fish binds its farFish mesh and the static shader,
  // the nearFish one the rest mesh with the morph and the parts.
  IDirect3DDevice9* d = dev.Device();
  D3DXMATRIX view;
  camera->GetViewMatrix(&view);
  ASSERT_EQ(D3D_OK, d->BeginScene());
  host.SetFrameShaderConstants();
  farFish->SetViewProjection(&view, &camera->projection);
  farFish->Render();
  EXPECT_EQ(world->vbServer->CurrentIB(), farFish->meshes[farIndex]->indexBuffer);
  EXPECT_EQ(world->vsServer->CurrentVertexShader(), farFish->vertexShaders[kFishStaticVs]);
  nearFish->SetViewProjection(&view, &camera->projection);
  nearFish->Render();
  EXPECT_EQ(world->vbServer->CurrentIB(), nearFish->meshes[0]->indexBuffer);
  EXPECT_EQ(world->vsServer->CurrentVertexShader(), nearFish->vertexShaders[kFishPartialPsVs]);
  EXPECT_EQ(world->sbServer->Current(), nearFish->stateBlock);
  // Caustic scale, Lights level (0) and the morph weights as the shaders read them.
  EXPECT_FLOAT_EQ(VertexConstantCopy(44)[0], FishCausticScale(nearFish->scale, nearFish->bodySize));
  EXPECT_FLOAT_EQ(VertexConstantCopy(44)[3], 1.0f);
  EXPECT_FLOAT_EQ(PixelConstantCopy(0)[0], 0.4f);
  for (int k = 0; k < 3; ++k) EXPECT_FLOAT_EQ(VertexConstantCopy(37)[k], nearFish->morph->Weights()[k]);
  // Drawn into a render texture: the state block without blending.
  nearFish->drawingIntoTexture = 1;
  nearFish->Render();
  EXPECT_EQ(world->sbServer->Current(), nearFish->captureStateBlock);
  EXPECT_NE(nearFish->captureStateBlock, nearFish->stateBlock);
  nearFish->drawingIntoTexture = 0;
  d->EndScene();
}

TEST_F(FishScene, LateFishClonesAndTheFixedStages) {
  const auto& species = SwimmingSpecies();
  world->vsServer->SetPixelShaderQuery(NoPixelShaders);
  world->sbServer->SetPixelShaderQuery(NoPixelShaders);
  X2FileFish* early = AddFish(species[1].record, D3DXVECTOR3(-0.5f, 0.0f, 1.4f));
  X2FileFish* clone = AddFish(species[4].record, D3DXVECTOR3(0.5f, -0.4f, 1.4f));
  clone->cloneMode = kCloneCopy;  // drawn by its render texture, not here
  Start();
  // Registered after the device objects were made: the world makes its
  // device objects as it registers it.
  X2FileFish* late = AddFish(species[0].record, D3DXVECTOR3(0.5f, 0.3f, 1.4f));
  EXPECT_TRUE(late->HasDeviceObjects());
  Frame();
  EXPECT_TRUE(late->HasDeviceObjects());
  std::vector<uint32_t> px = dev.ReadBackBuffer();
  EXPECT_GT(FishPixels(px, *early), 20);
  EXPECT_GT(FishPixels(px, *late), 20);
  EXPECT_EQ(FishPixels(px, *clone), 0);
  clone->drawAsMesh = 1;  // close to the camera: drawn as itself
  Frame();
  EXPECT_GT(FishPixels(dev.ReadBackBuffer(), *clone), 20);
  SaveArtefact("fish_fixed_stages");
}

}  // namespace
