// The shipped AI plug-ins against the real host table: a PurselAI flock made
// of real fish in a world on a real device, swum for ten seconds and torn
// down; a Forelens look-at AI stepped on a carrier object.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "AppHooks.h"
#include "D3DTestDevice.h"
#include "HostCallbacks.h"
#include "SceneTestSupport.h"
#include "Settings.h"
#include "TestSupport.h"
#include "clones/C4RenderTexture.h"
#include "config/X2FlockSet.h"
#include "fish/BuiltinFish.h"
#include "fish/C6Fish.h"
#include "fish/FishMotion.h"
#include "frame/C3SceneHost.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

// The product's shader constants, with the fog object's register standing
// in for the fog (from 20 to 50 units).
class DeviceHost : public qvtest::DeviceSceneHost {
 public:
  using DeviceSceneHost::DeviceSceneHost;
  D3DXVECTOR4 GetFogColor() override { return ::GetFogColor(nullptr); }
  D3DXVECTOR3 GetLightDirection() override { return ::GetLightDirection(nullptr); }
  void SetMatrixShaderConstants(C4VertexObject* o) override {
    const C4ShaderMatrices& m = o->Shading();
    WriteMatrixShaderConstants(dev.Device(), o->world, m.worldViewProjectionT, m.worldViewT, m.viewT);
  }
  void SetFrameShaderConstants() override {
    const float fog[4] = {0.0f, 50.0f, 1.0f / 30.0f, 0.0f};
    dev.Device()->SetVertexShaderConstantF(23, fog, 1);
    FrameShaderInputs in;
    in.lightDirection = GetLightDirection();
    in.lights = 0;
    if (C3Camera* camera = GetMainCamera()) camera->GetPosition(&in.cameraPosition);
    in.fogColour = GetFogColor();
    WriteFrameShaderConstants(dev.Device(), in);
  }
  int GetLightsSetting() override { return 0; }
};

using qvtest::LookAlongZ;

class AIPlugin {
 public:
  explicit AIPlugin(const char* file) {
    module_ = LoadLibraryA((qvtest::DistDir() + "ai\\" + file).c_str());
    if (!module_) return;
    auto get = reinterpret_cast<X2GetAIDataFn>(GetProcAddress(module_, X2_AI_EXPORT_NAME));
    if (get) record_ = get(nullptr, nullptr);
  }
  ~AIPlugin() {
    if (module_) FreeLibrary(module_);
  }
  const X2AIData* Record() const { return record_; }

 private:
  HMODULE module_ = nullptr;
  X2AIData* record_ = nullptr;
};

const X2FishData* Sardine() {
  int count = 0;
  const X2FishData* const* records = GetBuiltinSpecies(&count);
  return count > 2 ? records[2] : nullptr;
}

bool Finite(const D3DXVECTOR3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

struct FlockRun {
  int fish = 0, hidden = 0, textures = 0, withAI = 0;
  int moved = 0, swimming = 0, finite = 0, inRange = 0;
  // After the device objects were released and made again (a window-mode
  // switch): fish still under their AI, and fish that moved on since.
  int aisKept = -1, movedAfter = -1;
  int flockMembers = 0;
  int litPixels = 0;  // of the last frame, the camera following the flock
};

// Centre of the fish that are drawn.
D3DXVECTOR3 ShownCentre(const std::vector<C6Fish*>& fish) {
  D3DXVECTOR3 sum(0, 0, 0);
  int n = 0;
  for (C6Fish* f : fish) {
    if (f->HasFlag(kObjAlwaysCulled)) continue;
    sum += f->position;
    ++n;
  }
  return n ? sum / static_cast<float>(n) : sum;
}

// Builds flock 0 through the plug-in as flock building does, registers the
// camera, runs `frames` frames of the world and tears it down.
FlockRun RunFlock(const AIPlugin& plugin, const char* param, int frames) {
  FlockRun run;
  qvtest::D3DTestDevice dev;
  if (!dev.Create(320, 240)) {
    ADD_FAILURE() << dev.Error();
    return run;
  }
  DeviceHost sceneHost(dev);
  SetSceneHost(&sceneHost);
  auto* world = new C3World;
  auto* camera = new LookAlongZ;
  camera->position = D3DXVECTOR3(0.0f, -3.0f, -20.0f);
  SetMainCamera(camera);
  world->AddChild(camera);

  TheFlocks.Clear();
  TheFlocks.AddEntry("マイワシ_ハルベノルソフト");
  TheFlocks.BeginFlock();
  plugin.Record()->BuildFlock(0, Sardine(), param, GetHostCallbacks(), 2);
  TheFlocks.EndBuilding();
  run.flockMembers = TheFlocks.Size(0);

  std::vector<C6Fish*> fish;
  std::vector<D3DXVECTOR3> start;
  for (int i = 0; i < world->children.count; ++i) {
    C3Object* child = world->children.items[i];
    if (auto* f = dynamic_cast<C6Fish*>(child)) {
      fish.push_back(f);
      start.push_back(f->position);
      run.hidden += f->HasFlag(kObjAlwaysCulled) ? 1 : 0;
      run.withAI += f->ai ? 1 : 0;
    }
    if (dynamic_cast<C4RenderTexture*>(child)) ++run.textures;
  }
  run.fish = static_cast<int>(fish.size());

  world->InitDeviceObjects();
  EXPECT_EQ(world->RestoreDeviceObjects(), 0);
  for (int frame = 0; frame < frames; ++frame) {
    camera->position = ShownCentre(fish) + D3DXVECTOR3(0.0f, 0.0f, -5.0f);
    world->Move(1.0f / 30.0f);
    camera->C3Camera::Move(0, 0);
    world->PreRender();
    world->Render();
  }
  const uint32_t background = PackFogColor(sceneHost.GetFogColor()) & 0xFFFFFF;
  for (uint32_t p : dev.ReadBackBuffer()) run.litPixels += (p & 0xFFFFFF) != background ? 1 : 0;
  for (size_t i = 0; i < fish.size(); ++i) {
    const D3DXVECTOR3 p = fish[i]->position;
    const D3DXVECTOR3 d = p - start[i];
    run.finite += Finite(p) ? 1 : 0;
    run.inRange += std::fabs(p.x) < 200.0f && std::fabs(p.y) < 200.0f && std::fabs(p.z) < 200.0f;
    run.moved += D3DXVec3Length(&d) > 0.5f ? 1 : 0;
    run.swimming += fish[i]->swim.swimPhase > 0.0f ? 1 : 0;
  }

  // A device made again finds every fish under its AI, and the flock swims
  // on; deleting the world deletes each AI inside the plug-in, before the
  // plug-in goes.
  world->InvalidateDeviceObjects();
  world->DeleteDeviceObjects();
  world->InitDeviceObjects();
  EXPECT_EQ(world->RestoreDeviceObjects(), 0);
  for (size_t i = 0; i < fish.size(); ++i) start[i] = fish[i]->position;
  for (int frame = 0; frame < 30; ++frame) world->Move(1.0f / 30.0f);
  run.aisKept = run.movedAfter = 0;
  for (size_t i = 0; i < fish.size(); ++i) {
    const D3DXVECTOR3 d = fish[i]->position - start[i];
    run.aisKept += fish[i]->ai ? 1 : 0;
    run.movedAfter += D3DXVec3Length(&d) > 0.1f ? 1 : 0;
  }
  world->InvalidateDeviceObjects();
  world->DeleteDeviceObjects();
  delete world;
  TheFlocks.Clear();
  SetMainCamera(nullptr);
  SetSceneHost(nullptr);
  return run;
}

}  // namespace

TEST(PluginsOnTheRealHost, PurselFlockSwimsAndIsReleased) {
  AIPlugin pursel("PurselAI.qva");
  ASSERT_NE(pursel.Record(), nullptr);
  ASSERT_NE(Sardine(), nullptr);
  LoadSettings(0);
  TechSettings.SetValue(kTechTwinfinTech, 0);
  // Scale 少ない at the middle multiplier: 4 rows of 3 with 2 hangers-on each.
  const FlockRun run = RunFlock(pursel, "Scale:少ない", 300);
  EXPECT_EQ(run.fish, 2 + 36);
  EXPECT_EQ(run.hidden, 2);  // the controller's and the leader's carriers
  EXPECT_EQ(run.withAI, run.fish);
  EXPECT_EQ(run.flockMembers, 4);  // the first fish of every row
  EXPECT_EQ(run.textures, 0);
  EXPECT_EQ(run.finite, run.fish);
  EXPECT_EQ(run.inRange, run.fish);
  EXPECT_GE(run.moved, 36);
  EXPECT_EQ(run.swimming, run.fish);
  EXPECT_GT(run.litPixels, 200);  // the flock is on screen
  EXPECT_EQ(run.aisKept, run.fish);
  EXPECT_GE(run.movedAfter, 36);
}

TEST(PluginsOnTheRealHost, PurselRowsDrawnFromRenderTexturesWithTwinfinTech) {
  AIPlugin pursel("PurselAI.qva");
  ASSERT_NE(pursel.Record(), nullptr);
  LoadSettings(0);
  TechSettings.SetValue(kTechTwinfinTech, 1);
  const FlockRun run = RunFlock(pursel, "Scale:少ない,Character:おとなしい", 60);
  LoadSettings(0);
  EXPECT_EQ(run.textures, 4);  // one per row
  EXPECT_EQ(run.fish, 2 + 36);
  EXPECT_EQ(run.finite, run.fish);
  EXPECT_EQ(run.aisKept, run.fish);
}

TEST(PluginsOnTheRealHost, ForelensLookAtStepsOnACarrier) {
  AIPlugin forelens("Forelens.qve");
  ASSERT_NE(forelens.Record(), nullptr);
  ASSERT_NE(forelens.Record()->CreateInstance, nullptr);
  X2AIObject* ai = forelens.Record()->CreateInstance("Forelens:進行方向と逆", GetHostCallbacks());
  ASSERT_NE(ai, nullptr);
  C3Move carrier;
  X2Object self = HostHandle(&carrier);
  GetHostCallbacks()->SetAI(self, ai);
  for (int frame = 1; frame <= 30; ++frame) {
    StepFishAI(carrier.ai, frame / 30.0f, (frame - 1) / 30.0f, self);
    ASSERT_TRUE(Finite(carrier.position)) << frame;
  }
  EXPECT_EQ(carrier.ai, ai);
  X2DeleteAIObject(carrier.ai);
  carrier.ai = nullptr;
}
