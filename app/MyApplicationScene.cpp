// The one-time scene set-up: every scene object is made here once, before
// the device exists, and registered with the world in a fixed order, which
// is the order of their moves and of the first draw pass. Objects that other
// parts reach are kept in the scene globals.
#include <cmath>
#include <cstdlib>
#include <vector>

#include "HostCallbacks.h"
#include "MyApplication.h"
#include "Settings.h"
#include "camera/X1RingWander.h"
#include "camera/X2HumanCamera.h"
#include "collision/X1ArchitectureHeight.h"
#include "collision/X1CollisionServer.h"
#include "collision/X1HeightCollision.h"
#include "collision/X1TerrainCollision.h"
#include "common/SceneGlobals.h"
#include "config/X2FlockConfig.h"
#include "config/X2FlockSet.h"
#include "config/X2StructureConfig.h"
#include "coral/X1CoralServer.h"
#include "current/X7Bubbles.h"
#include "current/X7CurrentServer.h"
#include "diagnostics/Diagnostics.h"
#include "fish/C6Fish.h"
#include "fish/FishMotion.h"
#include "fog/X1Halation.h"
#include "fog/X6Fog.h"
#include "fog/X7SoftFog.h"
#include "light/C3Gamma.h"
#include "light/C3LightTower.h"
#include "light/C6Caustic.h"
#include "light/C6Flare.h"
#include "light/C6Light.h"
#include "light/C6Skydome.h"
#include "light/C9SunLight.h"
#include "panels/C7TexturePanel.h"
#include "pluginlists/X2AIList.h"
#include "pluginlists/X2FishList.h"
#include "seaface/C6unionSeaface.h"
#include "status/C3Logo.h"
#include "status/C9DisplayInfo.h"
#include "structures/StructureObjects.h"
#include "terrain/X1MetaTerrain.h"
#include "terrain/X1Terrain.h"
#include "world/C3World.h"

namespace {

// The AI that steers the four lone fish that carry the fish lights.
const char kLoneFishAI[] = "ハイキング(群)_ハルベノルソフト";
const char kLoneFishParam[] = "depth:all,speed:20.0";
constexpr float kLoneFishScale = 2.0f;

int DrawRand() { return rand(); }

}  // namespace

void MyApplication::MakeLoneFish() {
  const X2AIData* ai = TheFlockAIList ? TheFlockAIList->GetData(kLoneFishAI) : nullptr;
  for (int slot = 0; slot < kLoneFishLightCount; ++slot) {
    TheFishLights[slot] = nullptr;
    if (!ai || !ai->CreateInstance) continue;
    X2AIObject* steer = ai->CreateInstance(kLoneFishParam, GetHostCallbacks());
    if (!steer) {
      LogPrint("scene: lone fish %d: the AI made no object\n", slot);
      continue;
    }
    auto* fish = new C6Fish();
    fish->ai = steer;
    fish->flags |= kObjAlwaysCulled;
    fish->scale = kLoneFishScale;
    m_world->AddChild(fish);
    TheFishLights[slot] = new C6Light(fish);
    m_world->AddChild(TheFishLights[slot]);
  }
  if (!ai) LogPrint("scene: no lone fish (AI %s not installed)\n", kLoneFishAI);
}

// Thirty light shafts on a widening spiral around the camera, each one a
// glare source.
void MyApplication::MakeLightTowers() {
  constexpr int kTowers = 30;
  for (int k = 0; k < kTowers; ++k) {
    const float u = SceneRandom();
    const float v = SceneRandom();
    const float angle = 0.5f * static_cast<float>(k) + u * 0.5f;
    const float radius = 0.3f + 0.1f * static_cast<float>(k) + v * 0.1f;
    auto* tower = new C3LightTower();
    tower->offsetX = radius * std::cos(angle);
    tower->offsetZ = radius * std::sin(angle);
    m_world->AddChild(tower);
    m_world->glareSources.Add(tower);
  }
}

void MyApplication::PlaceStructures() {
  const bool smallWorld = ::GetSceneSetting(kSceneSmallWorld) != 0;
  std::vector<D3DXVECTOR3> centres;
  // The floor is shaped round the layout before the plug-ins place their
  // structures, so that the heights they ask for are the floor's.
  auto shapeFloor = [](const std::vector<D3DXVECTOR3>& layout) {
    if (!TheTerrain) return;
    if (!layout.empty()) TheTerrain->meta->PlaceFeatures(layout.data(), static_cast<int>(layout.size()));
    TheTerrain->BuildFloor();
  };
  const auto placed =
      TheStructureConfig->PlanPlacements(smallWorld, SceneRandom, GetHostCallbacks(), &centres, shapeFloor);
  for (const X2StructurePlacement& p : placed) {
    X1Collision* field = nullptr;
    C4VertexObject* structure = MakeStructureObject(p, m_world, TheCollisionServer, &field);
    if (!structure) continue;
    if (field && TheCamera) TheCamera->AddObstacle(field);
    if (!smallWorld && TheRingWander && p.record->rallyPoints)
      TheRingWander->AddRallyPoints(static_cast<const X2RallyRecord*>(p.record->rallyPoints), structure->world);
    if (TheTerrain) TheTerrain->architecture->Add(structure);
  }
  // The structure tops join the floor's height answers.
  if (TheTerrain && !placed.empty()) TheTerrain->BuildFloor();
}

HRESULT MyApplication::OneTimeSceneInit() {
  LogPrint("one time scene init.\n");
  C3World* world = m_world;
  if (!world) return 0;

  ResolveRandomSceneSettings(DrawRand);
  LogPrint("scene: Waterity %d Lights %d UpsDowns %d FloorMaterial %d\n", ::GetSceneSetting(kSceneWaterity),
           ::GetSceneSetting(kSceneLights), ::GetSceneSetting(kSceneUpsDowns),
           ::GetSceneSetting(kSceneFloorMaterial));

  world->AddChild(new C3Gamma());
  TheRingWander = new X1RingWander();
  world->AddChild(TheRingWander);
  TheFog = new X6Fog();
  world->AddChild(TheFog);
  TheCurrentServer = new X7CurrentServer();
  world->AddChild(TheCurrentServer);
  TheCamera = new X2HumanCamera(GetHostCallbacks());
  TheCamera->position = D3DXVECTOR3(0.0f, 0.0f, -2.0f);
  SetMainCamera(TheCamera);
  world->AddChild(TheCamera);
  TheCaustic = new C6Caustic();
  world->AddChild(TheCaustic);
  if (::GetSceneSetting(kSceneHalation)) TheHalation = new X1Halation();  // registered after the fish
  MakeLoneFish();
  world->AddChild(new X7SoftFog());
  TheSunLight = new C9SunLight();
  world->AddChild(TheSunLight);
  TheTerrain = new X1Terrain();
  world->AddChild(TheTerrain);
  TheCollisionServer = new X1CollisionServer();
  world->AddChild(TheCollisionServer);
  if (TheTerrain) {
    X1Terrain* terrain = TheTerrain;
    auto* floor = new X1TerrainCollision(
        [terrain](float x, float z) { return terrain->GetHeight(x, z, nullptr, true, false); });
    TheCollisionServer->AddCollision(floor);
    world->AddChild(floor);
    TheTerrain->followers.Add(floor);
  }
  if (::GetSceneSetting(kSceneSeaface)) {
    TheWaveCeiling = new X1HeightCollision(0.0f, TheTerrain);  // the waves over the floor's centre
    TheCollisionServer->AddCollision(TheWaveCeiling);
    world->AddChild(TheWaveCeiling);
  }
  if (TheStructureConfig) PlaceStructures();
  world->AddChild(MakeCoralServer(TheTerrain, GetHostCallbacks()));
  if (::GetSceneSetting(kSceneSeaface)) {
    if (::GetSceneSetting(kSceneSkydome)) {
      TheSkydome = new C6Skydome();
      world->AddChild(TheSkydome);
    }
    TheSeaface = new C6unionSeaface();
    world->AddChild(TheSeaface);
  }

  if (TheFlockConfig)
    TheFlockConfig->BuildFlocks(TheFishList, TheFlockAIList, GetHostCallbacks(), &TheFlocks);

  TheLogo = new C3Logo();
  TheLogo->position = D3DXVECTOR3(0.0f, -3.0f, -20.0f);
  world->AddChild(TheLogo);
  if (::GetSceneSetting(kSceneBubble)) {
    auto* bubbles = new X7Bubbles();
    world->AddChild(bubbles);
    if (TheTerrain) TheTerrain->followers.Add(bubbles);
    world->glareSources.Add(bubbles);
  }
  if (::GetSceneSetting(kSceneLightTower)) MakeLightTowers();
  // After every fish: they report their glints before the halation builds
  // its quads.
  if (TheHalation) {
    world->AddChild(TheHalation);
    world->glareSources.Add(TheHalation);
  }
  if (::GetSceneSetting(kSceneFlare)) {
    auto* flare = new C6Flare();
    world->AddChild(flare);
    world->glareSources.Add(flare);
  }

  for (int i = 0; i < kTextPanelCount; ++i) {
    const float left = i <= 23 ? -0.9f : 0.4f;
    ThePanels[i] = new C7TexturePanel(left, 0.3f - 0.035f * static_cast<float>(i), 0.025f, 0.2f);
    world->AddChild(ThePanels[i]);
  }
  TheDisplayInfo = new C9DisplayInfo(ThePanels, kTextPanelCount);
  world->AddChild(TheDisplayInfo);
  return 0;
}
