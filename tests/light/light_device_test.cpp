// The light effects on a real device: each object registered in a world and
// drawn through the servers with its own shaders and pictures, with and
// without pixel shaders; the caustic loop on a fish; the whole set across
// device resets; screenshots of the scene kept as artefacts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "D3DTestDevice.h"
#include "SceneTestSupport.h"
#include "TestSupport.h"
#include "common/SceneGlobals.h"
#include "common/SettingIds.h"
#include "fish/BuiltinFish.h"
#include "fish/X2FileFish.h"
#include "light/C3Gamma.h"
#include "light/C3LightTower.h"
#include "light/C6Caustic.h"
#include "light/C6Flare.h"
#include "light/C6Light.h"
#include "light/C6Skydome.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/TextureTable.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "status/C3Logo.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const D3DXVECTOR4 kSea(0.02f, 0.22f, 0.38f, 1.0f);
const D3DXVECTOR3 kSun(0.0f, -0.70710599f, 0.70710599f);

// The product's constants with the default sun, Lights 0, Waterity 1.
class LightHost : public qvtest::FishSceneHost {
 public:
  using FishSceneHost::FishSceneHost;
  int GetSceneSetting(int pos) override {
    switch (pos) {
      case kSceneLights: return 0;
      case kSceneWaterity: return 1;
      default: return 0;
    }
  }
  D3DXVECTOR3 GetLightDirection() override { return kSun; }
  float GetSunVisibility() override { return sunVisibility; }
  bool IsMultiSurface() override { return glare; }
  float sunVisibility = 1.0f;
  bool glare = false;
};

// Looks from its position at a target point.
class LookAt : public C3Camera {
 public:
  D3DXVECTOR3* GetTarget(D3DXVECTOR3* out) override {
    *out = target;
    return out;
  }
  D3DXVECTOR3 target{0.0f, 0.0f, 1.0f};
};

bool NoPixelShaders() { return false; }

int Difference(uint32_t a, uint32_t b) {
  return std::abs(qvtest::Red(a) - qvtest::Red(b)) + std::abs(qvtest::Green(a) - qvtest::Green(b)) +
         std::abs(qvtest::Blue(a) - qvtest::Blue(b));
}

int CountChanged(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int threshold) {
  int n = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += Difference(a[i], b[i]) > threshold ? 1 : 0;
  return n;
}

long Brightness(const std::vector<uint32_t>& px) {
  long sum = 0;
  for (uint32_t p : px) sum += qvtest::Red(p) + qvtest::Green(p) + qvtest::Blue(p);
  return sum;
}

class LightScene : public ::testing::TestWithParam<bool> {
 public:
  void SetUp() override {
    ASSERT_TRUE(dev.Create(kWidth, kHeight)) << dev.Error();
    IDirect3DDevice9* d = dev.Device();
    deviceReferences = qvtest::DeviceReferences(d);
    camera = new LookAt;
    world = qvtest::OpenWorld(&host, camera);
    if (!GetParam()) {
      world->vsServer->SetPixelShaderQuery(NoPixelShaders);
      world->sbServer->SetPixelShaderQuery(NoPixelShaders);
    }
  }
  void TearDown() override {
    TheCaustic = nullptr;
    for (C6Light*& light : TheFishLights) light = nullptr;
    qvtest::CloseWorld(world);
    EXPECT_EQ(0, TextureTable::Instance().LiveCount());
    if (dev.Device()) {
      EXPECT_EQ(deviceReferences, qvtest::DeviceReferences(dev.Device()));
    }
  }

  // Sampler states as the product sets them after every restore.
  void SamplerStates() {
    IDirect3DDevice9* d = dev.Device();
    for (DWORD s = 0; s < 6; ++s) {
      d->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
      d->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
      if (s < 4) d->SetSamplerState(s, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    }
  }
  void Start() {
    ASSERT_EQ(0, world->InitDeviceObjects());
    ASSERT_EQ(0, world->RestoreDeviceObjects());
    SamplerStates();
  }
  void Frame(float elapsed = 0.05f) {
    world->Move(elapsed);
    world->Render();
  }
  void Reset() {
    world->InvalidateDeviceObjects();
    ASSERT_EQ(D3D_OK, dev.Reset());
    ASSERT_EQ(0, world->RestoreDeviceObjects());
    SamplerStates();
  }
  // A new, empty world on the same device.
  void Reopen() {
    TheCaustic = nullptr;
    qvtest::CloseWorld(world);
    camera = new LookAt;
    world = qvtest::OpenWorld(&host, camera);
    if (!GetParam()) {
      world->vsServer->SetPixelShaderQuery(NoPixelShaders);
      world->sbServer->SetPixelShaderQuery(NoPixelShaders);
    }
  }
  void Look(const D3DXVECTOR3& from, const D3DXVECTOR3& at) {
    camera->position = from;
    camera->target = at;
  }
  // The frame without the object: the same camera over the bare sea.
  std::vector<uint32_t> BareFrame() {
    IDirect3DDevice9* d = dev.Device();
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_COLORVALUE(kSea.x, kSea.y, kSea.z, 1.0f),
             1.0f, 0);
    return dev.ReadBackBuffer();
  }
  void SaveArtefact(const std::string& name) {
    const std::string folder = qvtest::TestBinDir() + "..\\..\\artefacts\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(D3D_OK, dev.Device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back));
    const std::string suffix = GetParam() ? "" : "_fixed";
    EXPECT_EQ(D3D_OK, D3DXSaveSurfaceToFileA((folder + name + suffix + ".png").c_str(), D3DXIFF_PNG, back,
                                             nullptr, nullptr));
    back->Release();
  }
  X2FileFish* AddFish(int species, const D3DXVECTOR3& at, float scale) {
    int count = 0;
    const X2FishData* const* records = GetBuiltinSpecies(&count);
    auto* fish = new X2FileFish(records[species % count]);
    fish->position = at;
    fish->scale *= scale;
    world->AddChild(fish);
    return fish;
  }
  // The scene set-up's ring of 30 shafts around the point under the sun.
  std::vector<C3LightTower*> AddTowers() {
    std::vector<C3LightTower*> towers;
    std::srand(5);
    for (int k = 0; k < 30; ++k) {
      const float u = static_cast<float>(std::rand()) / 32767.0f;
      const float v = static_cast<float>(std::rand()) / 32767.0f;
      const float angle = 0.5f * k + u * 0.5f;
      const float radius = 0.3f + 0.1f * k + v * 0.1f;
      auto* tower = new C3LightTower;
      tower->offsetX = radius * std::cos(angle);
      tower->offsetZ = radius * std::sin(angle);
      world->AddChild(tower);
      world->glareSources.Add(tower);
      towers.push_back(tower);
    }
    return towers;
  }
  C6Caustic* AddCaustic() {
    auto* caustic = new C6Caustic;
    world->AddChild(caustic);
    TheCaustic = caustic;
    return caustic;
  }

  qvtest::D3DTestDevice dev;
  LightHost host{dev, kSea};
  ULONG deviceReferences = 0;
  C3World* world = nullptr;
  LookAt* camera = nullptr;
};

// Where the camera stands and looks for each object, and how many pixels
// it must change at least.
struct ObjectCase {
  const char* name;
  std::function<C3Object*(LightScene*)> add;
  D3DXVECTOR3 from, at;
  int minimumChanged;
};

TEST_P(LightScene, EachObjectDraws) {
  const ObjectCase cases[] = {
      {"C3LightTower",
       [](LightScene* s) -> C3Object* { return s->AddTowers().front(); },
       {0.0f, -6.0f, 0.0f}, {0.0f, -3.0f, -10.0f}, 4000},
      {"C3Logo",
       [](LightScene* s) -> C3Object* {
         auto* logo = new C3Logo;
         logo->position = D3DXVECTOR3(0.0f, -3.0f, -20.0f);
         s->world->AddChild(logo);
         return logo;
       },
       {0.0f, -3.0f, -11.0f}, {0.0f, -3.0f, -20.0f}, 8000},
      {"C6Flare",
       [](LightScene* s) -> C3Object* {
         auto* flare = new C6Flare;
         s->world->AddChild(flare);
         return flare;
       },
       {0.0f, -6.0f, 0.0f}, {0.0f, -5.0f, -1.0f}, 3000},
      {"C6Skydome",
       [](LightScene* s) -> C3Object* {
         auto* sky = new C6Skydome;
         s->world->AddChild(sky);
         return sky;
       },
       {3.0f, -6.0f, 4.0f}, {3.0f, 4.0f, -6.0f}, 60000},
  };
  for (const ObjectCase& c : cases) {
    SCOPED_TRACE(c.name);
    Reopen();
    Look(c.from, c.at);
    C3Object* object = c.add(this);
    EXPECT_STREQ(object->className, c.name);
    Start();
    Frame();
    const std::vector<uint32_t> drawn = dev.ReadBackBuffer();
    SaveArtefact(c.name);
    const std::vector<uint32_t> bare = BareFrame();
    EXPECT_GT(CountChanged(drawn, bare, 12), c.minimumChanged);
  }
}

TEST_P(LightScene, LogoOnlyForTheFirstTwentySeconds) {
  auto* logo = new C3Logo;
  logo->position = D3DXVECTOR3(0.0f, -3.0f, -20.0f);
  world->AddChild(logo);
  Look(D3DXVECTOR3(0.0f, -3.0f, -11.0f), D3DXVECTOR3(0.0f, -3.0f, -20.0f));
  Start();
  Frame();
  const std::vector<uint32_t> first = dev.ReadBackBuffer();
  const std::vector<uint32_t> bare = BareFrame();
  EXPECT_GT(CountChanged(first, bare, 12), 8000);
  for (int i = 0; i < 5; ++i) Frame(0.2f);
  EXPECT_GT(CountChanged(dev.ReadBackBuffer(), first, 12), 500);  // it turns
  for (int i = 0; i < 24; ++i) Frame(1.0f);
  ASSERT_EQ(world->settled, 1);
  EXPECT_LT(CountChanged(dev.ReadBackBuffer(), bare, 12), 10);
}

TEST_P(LightScene, FlareNeedsTheSun) {
  auto* flare = new C6Flare;
  world->AddChild(flare);
  Look(D3DXVECTOR3(0.0f, -6.0f, 0.0f), D3DXVECTOR3(0.0f, -5.0f, -1.0f));
  Start();
  Frame();
  const std::vector<uint32_t> drawn = dev.ReadBackBuffer();
  const std::vector<uint32_t> bare = BareFrame();
  EXPECT_GT(CountChanged(drawn, bare, 12), 3000);
  host.sunVisibility = 0.0f;  // the sun hidden: nothing
  Frame();
  EXPECT_EQ(CountChanged(dev.ReadBackBuffer(), bare, 12), 0);
  host.sunVisibility = 1.0f;  // looking away: the sun point is off screen, culled
  Look(D3DXVECTOR3(0.0f, -6.0f, 0.0f), D3DXVECTOR3(0.0f, -7.0f, 1.0f));
  Frame();
  EXPECT_EQ(CountChanged(dev.ReadBackBuffer(), bare, 12), 0);
}

// With glare buffers the shafts and the flare are drawn a second time into
// the glare image, which adds a glow round the sun.
TEST_P(LightScene, ShaftsAndFlareFeedTheGlare) {
  if (!GetParam()) GTEST_SKIP() << "the glare needs pixel shaders";
  long brightness[2] = {0, 0};
  for (int glare = 0; glare < 2; ++glare) {
    host.glare = glare != 0;
    Reopen();
    AddTowers();
    auto* flare = new C6Flare;
    world->AddChild(flare);
    world->glareSources.Add(flare);
    Look(D3DXVECTOR3(0.0f, -6.0f, 0.0f), D3DXVECTOR3(0.0f, -4.5f, -1.0f));
    Start();
    ASSERT_EQ(world->glareBuffers[0] != nullptr, glare != 0);
    for (int i = 0; i < 3; ++i) Frame();
    brightness[glare] = Brightness(dev.ReadBackBuffer());
    if (glare) SaveArtefact("light_glare");
    EXPECT_FALSE(flare->HasFlag(kObjGlarePass));
  }
  host.glare = false;
  EXPECT_GT(brightness[1], brightness[0] + 100000);
}

TEST_P(LightScene, CausticLightsTheFishAndMoves) {
  C6Caustic* caustic = AddCaustic();
  X2FileFish* fish = AddFish(3, D3DXVECTOR3(0.0f, 0.0f, 1.6f), 2.5f);
  Look(D3DXVECTOR3(0.0f, 0.0f, 0.0f), D3DXVECTOR3(0.0f, 0.0f, 1.0f));
  Start();
  ASSERT_NE(TheCaustic->GetTexture(), nullptr);
  ASSERT_EQ(TheCaustic->textures.size(), 32u);
  for (IDirect3DTexture9* t : TheCaustic->textures) {
    ASSERT_NE(t, nullptr);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(D3D_OK, t->GetLevelDesc(0, &desc));
    EXPECT_EQ(desc.Width, 64u);
  }
  Frame();
  // The same frame drawn with and without the caustic light.
  world->Render();
  const std::vector<uint32_t> lit = dev.ReadBackBuffer();
  SaveArtefact("caustic_fish");
  TheCaustic = nullptr;
  world->Render();
  const std::vector<uint32_t> plain = dev.ReadBackBuffer();
  TheCaustic = caustic;
  EXPECT_GT(Brightness(lit), Brightness(plain) + 20000);
  EXPECT_GT(CountChanged(lit, plain, 12), 2000);
  // A tenth of a second later the fish hangs still but the light has moved on.
  fish->speed = 0.0f;
  const int frame = TheCaustic->frame;
  Frame(0.1f);
  EXPECT_NE(TheCaustic->frame, frame);
  EXPECT_EQ(TheCaustic->GetTexture(), TheCaustic->textures[TheCaustic->frame]);
}

TEST_P(LightScene, FishLightColoursFollowTheirFish) {
  X2FileFish* fish = AddFish(0, D3DXVECTOR3(1.0f, -2.0f, 3.0f), 1.0f);
  auto* light = new C6Light(fish);
  world->AddChild(light);
  TheFishLights[2] = light;
  Start();
  Frame();
  EXPECT_NEAR(light->colour.x, 0.55f * 3.0f, 1e-5f);  // Lights 0: level 3
  EXPECT_GT(light->colour.y, 0.45f * 3.0f - 1e-5f);
  EXPECT_LT(light->colour.y, 0.95f * 3.0f + 1e-5f);
}

TEST_P(LightScene, EverythingAcrossResets) {
  world->AddChild(new C3Gamma);
  AddCaustic();
  auto* sky = new C6Skydome;
  world->AddChild(sky);
  std::vector<X2FileFish*> fish = {AddFish(1, D3DXVECTOR3(-1.2f, -4.2f, -5.0f), 1.4f),
                                   AddFish(3, D3DXVECTOR3(1.5f, -3.0f, -7.0f), 2.0f),
                                   AddFish(0, D3DXVECTOR3(0.2f, -5.2f, -3.6f), 1.2f)};
  for (X2FileFish* f : fish) f->rotY = 0.4f;
  auto* logo = new C3Logo;
  logo->position = D3DXVECTOR3(0.0f, -3.0f, -20.0f);
  world->AddChild(logo);
  const std::vector<C3LightTower*> towers = AddTowers();
  auto* flare = new C6Flare;
  world->AddChild(flare);
  world->glareSources.Add(flare);
  // Looking up towards the sun, the logo below the middle.
  Look(D3DXVECTOR3(0.0f, -5.0f, 0.0f), D3DXVECTOR3(0.0f, -1.0f, -10.0f));
  Start();
  for (int i = 0; i < 4; ++i) Frame();
  const std::vector<uint32_t> bare = BareFrame();
  Frame();
  const std::vector<uint32_t> before = dev.ReadBackBuffer();
  SaveArtefact("light_scene");
  EXPECT_GT(CountChanged(before, bare, 12), 100000);
  for (int r = 0; r < 2; ++r) {
    Reset();
    for (C3LightTower* t : towers) EXPECT_NE(t->VertexBuffer(), nullptr);
    EXPECT_NE(flare->VertexBuffer(), nullptr);
    EXPECT_NE(sky->vertexBuffer, nullptr);
    EXPECT_EQ(logo->cube != nullptr, GetParam());
    Frame();
  }
  const std::vector<uint32_t> after = dev.ReadBackBuffer();
  SaveArtefact("light_scene_after_reset");
  EXPECT_GT(CountChanged(after, bare, 12), 100000);
  // Small changes only: the scene moved on by a few frames.
  EXPECT_LT(CountChanged(before, after, 60), kWidth * kHeight / 4);
  // Once the device objects are gone nothing holds the device any more, so
  // it can be released (or replaced) while the objects live on.
  world->InvalidateDeviceObjects();
  world->DeleteDeviceObjects();
  EXPECT_EQ(deviceReferences, qvtest::DeviceReferences(dev.Device()));
  EXPECT_EQ(TheCaustic->GetTexture(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Paths, LightScene, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("PixelShaders") : std::string("FixedStages");
                         });

}  // namespace
