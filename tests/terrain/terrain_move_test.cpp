// The terrain following the camera: when a rebuild starts, how long the scene
// stands still, who is told; its life through device loss and a window-mode
// switch; and what plug-ins read through the host table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "HostCallbacks.h"
#include "MyApplication.h"
#include "collision/X1ArchitectureHeight.h"
#include "common/SceneGlobals.h"
#include "frame/C3SceneHost.h"
#include "terrain/X1MetaTerrain.h"
#include "terrain/X1Terrain.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

// Counts the terrain's calls and reads the floor near the new centre while
// being told, as coral and bubbles seat themselves then.
class Follower : public C3Object {
 public:
  void OnTerrainRebuilt(X1Terrain* terrain) override {
    ++calls;
    seen = terrain;
    at = D3DXVECTOR3(terrain->position.x + 5.0f, 0.0f, terrain->position.z - 7.0f);
    fine = terrain->GetHeight(at.x, at.z, nullptr, false, false);
    coarse = terrain->GetHeight(at.x, at.z, nullptr, true, false);
  }
  int calls = 0;
  X1Terrain* seen = nullptr;
  D3DXVECTOR3 at{0.0f, 0.0f, 0.0f};
  float fine = 0.0f, coarse = 0.0f;
};

void ExpectToldTheNewFloor(const Follower& f, const X1Terrain& terrain) {
  EXPECT_NE(f.fine, X1Terrain::kStartHeight);
  EXPECT_EQ(f.fine, terrain.GetHeight(f.at.x, f.at.z, nullptr, false, false));
  EXPECT_EQ(f.coarse, terrain.GetHeight(f.at.x, f.at.z, nullptr, true, false));
}

class TerrainMove : public ::testing::Test {
 protected:
  void SetUp() override {
    srand(21);
    world = new C3World;  // no device: the terrain's parts become children
    terrain = new X1Terrain;
    world->AddChild(terrain);
    follower = new Follower;
    world->AddChild(follower);
    terrain->followers.Add(follower);
    camera = new C3Camera;
    world->AddChild(camera);
    SetMainCamera(camera);
    terrain->BuildFloor();
  }
  void TearDown() override {
    SetMainCamera(nullptr);
    delete world;
  }
  // One frame of the terrain (the world's order: terrain before camera).
  void Step() {
    terrain->Move(t + 0.05f, t);
    t += 0.05f;
  }

  C3World* world = nullptr;
  X1Terrain* terrain = nullptr;
  Follower* follower = nullptr;
  C3Camera* camera = nullptr;
  float t = 0.0f;
};

}  // namespace

TEST_F(TerrainMove, PartsAreWorldChildrenAndFollowersAreToldAtTheBuild) {
  ASSERT_GE(world->children.count, 3);
  EXPECT_EQ(world->children.items[0], terrain->meta);
  EXPECT_EQ(world->children.items[1], terrain->architecture);
  EXPECT_STREQ(terrain->className, "X1Terrain");
  EXPECT_STREQ(terrain->meta->className, "X1MetaTerrain");
  EXPECT_STREQ(terrain->architecture->className, "X1ArchitectureHeight");
  EXPECT_EQ(follower->calls, 1);
  EXPECT_EQ(follower->seen, terrain);
  ExpectToldTheNewFloor(*follower, *terrain);
}

TEST_F(TerrainMove, ThirtyUnitsIsNotARebuildAndMoreIsOneWithThreeStillFrames) {
  const float cx = terrain->position.x, cz = terrain->position.z;
  camera->position = D3DXVECTOR3(cx + 30.0f, -10.0f, cz - 30.0f);
  for (int i = 0; i < 4; ++i) Step();
  EXPECT_FALSE(terrain->IsRebuilding());
  EXPECT_EQ(terrain->position.x, cx);
  EXPECT_EQ(follower->calls, 1);

  camera->position.x = cx + 30.01f;
  Step();  // asks
  EXPECT_TRUE(terrain->IsRebuilding());
  EXPECT_EQ(terrain->position.x, cx);  // not yet
  int stillFrames = 1;
  Step();  // rebuilds round the camera
  EXPECT_NEAR(terrain->position.x, camera->position.x, 2.0f);
  EXPECT_NEAR(terrain->position.z, camera->position.z, 2.0f);
  EXPECT_EQ(follower->calls, 2);
  ExpectToldTheNewFloor(*follower, *terrain);
  while (terrain->IsRebuilding()) {
    ++stillFrames;
    Step();
  }
  EXPECT_EQ(stillFrames, 3);
  EXPECT_EQ(follower->calls, 2);
}

TEST_F(TerrainMove, TheWorldClocksStandStillWhileTheTerrainRebuilds) {
  MyApplication app;  // the product's hooks, its own (empty) world
  TheTerrain = terrain;
  C3World* clocks = app.World();
  ASSERT_NE(clocks, nullptr);
  EXPECT_FALSE(GetSceneHost()->IsScenePaused());
  camera->position.x = terrain->position.x + 45.0f;
  std::vector<float> times;
  for (int i = 0; i < 6; ++i) {
    clocks->Move(0.1f);
    times.push_back(clocks->clockB.GetCurrent());
    Step();
  }
  // Asked in frame 0; frames 1 .. 3 stand still.
  EXPECT_GT(times[0], 0.0f);
  EXPECT_EQ(times[1], times[0]);
  EXPECT_EQ(times[3], times[0]);
  EXPECT_GT(times[4], times[3]);
  TheTerrain = nullptr;
  EXPECT_FALSE(GetSceneHost()->IsScenePaused());
}

TEST_F(TerrainMove, DeviceLossAndAWindowModeSwitchKeepFloorAndFollowers) {
  const float h = terrain->GetHeight(7.0f, 9.0f, nullptr, false, false);
  const float hc = terrain->GetHeight(7.0f, 9.0f, nullptr, true, false);
  world->InvalidateDeviceObjects();
  // Lost device: the floor still answers.
  EXPECT_EQ(terrain->GetHeight(7.0f, 9.0f, nullptr, false, false), h);
  EXPECT_EQ(terrain->GetHeight(7.0f, 9.0f, nullptr, true, false), hc);
  // Window-mode switch: device objects deleted and made again.
  world->DeleteDeviceObjects();
  EXPECT_EQ(terrain->followers.count, 1);
  EXPECT_EQ(terrain->GetHeight(7.0f, 9.0f, nullptr, false, false), h);
  world->InitDeviceObjects();
  world->RestoreDeviceObjects();
  EXPECT_EQ(terrain->GetHeight(7.0f, 9.0f, nullptr, false, false), h);
  EXPECT_EQ(terrain->Mesh().VertexCount(), 3169);
  // The followers are still told after the next rebuild.
  camera->position.z = terrain->position.z + 31.0f;
  Step();
  Step();
  EXPECT_EQ(follower->calls, 2);
}

TEST_F(TerrainMove, HostSlotsAnswerTheExactFloorAndStructureTops) {
  X2HostCallbacks* host = GetHostCallbacks();
  ASSERT_EQ(TheTerrain, nullptr);
  EXPECT_EQ(host->HasTerrain(), 0);
  srand(4);
  auto* unbuilt = new X1Terrain;
  world->AddChild(unbuilt);
  TheTerrain = unbuilt;
  EXPECT_EQ(host->HasTerrain(), 0);
  int onStructure = 7;
  EXPECT_EQ(host->GetTerrainHeight(1.0f, 2.0f, &onStructure), -5.0f);
  EXPECT_EQ(onStructure, 7);

  TheTerrain = terrain;
  EXPECT_EQ(host->HasTerrain(), 1);
  for (float x : {-30.0f, 0.0f, 12.5f})
    for (float z : {-21.0f, 3.0f, 40.0f}) {
      EXPECT_EQ(host->GetTerrainHeight(x, z, &onStructure), terrain->GetHeight(x, z, nullptr, false, false));
      EXPECT_EQ(host->GetTerrainHeight(x, z, nullptr), terrain->GetHeight(x, z, nullptr, false, false));
    }
  EXPECT_EQ(onStructure, 7);
  // A structure top over the ground: answered and reported.
  terrain->architecture->MarkPoint(D3DXVECTOR3(12.0f, 40.0f, 12.0f));
  EXPECT_EQ(host->GetTerrainHeight(12.0f, 12.0f, &onStructure), 40.0f);
  EXPECT_EQ(onStructure, 1);
  EXPECT_EQ(host->GetTerrainHeight(12.0f, 12.0f, nullptr), 40.0f);

  // The deleted terrain is no longer answered for.
  TheTerrain = unbuilt;
  SetMainCamera(nullptr);
  delete world;
  world = nullptr;
  EXPECT_EQ(TheTerrain, nullptr);
  EXPECT_EQ(host->HasTerrain(), 0);
  EXPECT_EQ(host->GetTerrainHeight(1.0f, 2.0f, nullptr), -5.0f);
}
