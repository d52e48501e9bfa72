// The collision fields and the current as plug-ins and the engine reach
// them: the host slots' forces (with the extra words as radius and band,
// and the asker left out of its own body field), and the application's
// current and sunlight answers from the scene's servers.
#include <gtest/gtest.h>

#include <d3dx9.h>

#include <cstdlib>

#include "AllocationWatch.h"
#include "HostCallbacks.h"
#include "MyApplication.h"
#include "Settings.h"
#include "collision/X1CollisionServer.h"
#include "collision/X1HeightCollision.h"
#include "collision/X1TerrainCollision.h"
#include "collision/X2FishCollision.h"
#include "collision/X6FileCollision.h"
#include "common/SceneGlobals.h"
#include "current/X7CurrentServer.h"
#include "fish/BuiltinFish.h"
#include "fish/C5PartialMorphCache.h"
#include "fish/X2FileFish.h"
#include "terrain/X1Terrain.h"
#include "world/C3Camera.h"
#include "world/C3Move.h"
#include "world/C3World.h"

namespace {

void ExpectVec(const X2Vec3& v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, 1e-4f);
  EXPECT_NEAR(v.y, y, 1e-4f);
  EXPECT_NEAR(v.z, z, 1e-4f);
}

class CollisionHostTest : public ::testing::Test {
 protected:
  void TearDown() override {
    TheCollisionServer = nullptr;
    TheCurrentServer = nullptr;
    SetMainCamera(nullptr);
  }
};

}  // namespace

TEST_F(CollisionHostTest, SlotsAnswerTheServersForces) {
  X2HostCallbacks* host = GetHostCallbacks();
  X1CollisionServer server;
  X1TerrainCollision floor([](float, float) { return -10.3f; });  // the floor at -10
  C3Move fish;
  fish.boxMin = D3DXVECTOR3(-3, -1, -1);
  fish.boxMax = D3DXVECTOR3(3, 1, 1);
  fish.position = D3DXVECTOR3(0, -10, 0);
  fish.ComposeWorldMatrix(0, 0);
  X2FishCollision body(&fish);
  server.AddCollision(&floor);
  server.AddCollision(&body);
  TheCollisionServer = &server;
  EXPECT_EQ(host->HasCollisionServer(), 1);

  X2Vec3 r{9, 9, 9};
  // At the floor, beside the fish (3 units along x: 1.5 body units, half).
  EXPECT_EQ(host->GetCollisionForce(&r, 3, -10, 0, nullptr), &r);
  ExpectVec(r, 10, 50, 0);
  // The fish asking for itself feels only the floor.
  host->GetCollisionForce(&r, 3, -10, 0, HostHandle(&fish));
  ExpectVec(r, 0, 50, 0);
  // Slot 100: the extra words are the asker's radius and the band.
  host->GetCollisionForceEx(&r, 30, -8, 0, nullptr, 1, 4);  // 2 up, radius 1: depth 1 of 4
  ExpectVec(r, 0, 37.5f, 0);
  host->GetCollisionForceEx(&r, 30, -8, 0, nullptr, 0, 0);  // the default band of 2
  ExpectVec(r, 0, 0, 0);
  host->GetCollisionForceEx(&r, 30, -9, 0, nullptr, 0, 0);
  ExpectVec(r, 0, 25, 0);

  TheCollisionServer = nullptr;
  EXPECT_EQ(host->HasCollisionServer(), 0);
  host->GetCollisionForce(&r, 3, -10, 0, nullptr);
  ExpectVec(r, 0, 0, 0);
}

namespace {

// A post standing up from (0, 0, 0.5) with radius 0.2.
const X6CollisionCapsule kPost[] = {{{0, 0, 0.5f}, {0, 5, 0.5f}, 0.2f}};
const X6CollisionShapes kPostShapes = {kPost, 1, nullptr, 0, nullptr, 0};

}  // namespace

TEST_F(CollisionHostTest, CurrentAndSunlightFromTheServers) {
  MyApplication app;
  C3SceneHost* scene = GetSceneHost();

  // The current server's vector, wherever it is asked.
  X7CurrentServer current;
  current.state.vector = D3DXVECTOR3(0.3f, 0, -0.2f);
  TheCurrentServer = &current;
  EXPECT_EQ(scene->GetWaterCurrent(1.0f, D3DXVECTOR3(100, -20, 5)), D3DXVECTOR3(0.3f, 0, -0.2f));
  TheCurrentServer = nullptr;
  EXPECT_EQ(scene->GetWaterCurrent(1.0f, D3DXVECTOR3(100, -20, 5)), D3DXVECTOR3(0, 0, 0));

  // Sunlight: the clearance from the camera towards the sun (up and back,
  // against the default light direction). A post in that way blocks it.
  C3Move wreck;
  wreck.ComposeWorldMatrix(0, 0);
  X6FileCollision post(&kPostShapes, &wreck);
  X1CollisionServer server;
  server.AddCollision(&post);
  TheCollisionServer = &server;
  EXPECT_FLOAT_EQ(scene->GetSunVisibility(), 1.0f);  // no camera yet
  C3Camera camera;
  camera.position = D3DXVECTOR3(0, 0, 1);
  SetMainCamera(&camera);
  EXPECT_FLOAT_EQ(scene->GetSunVisibility(), 0.0f);
  camera.position = D3DXVECTOR3(0, 0, -1);  // the post is behind the camera
  EXPECT_FLOAT_EQ(scene->GetSunVisibility(), 1.0f);
  wreck.farCulled = 1;
  camera.position = D3DXVECTOR3(0, 0, 1);
  EXPECT_FLOAT_EQ(scene->GetSunVisibility(), 1.0f);

  // The world takes it as its light value each frame.
  wreck.farCulled = 0;
  app.World()->Move(0.1f);
  EXPECT_FLOAT_EQ(app.World()->lightValue, 0.0f);
  TheCollisionServer = nullptr;
  EXPECT_FLOAT_EQ(scene->GetSunVisibility(), 1.0f);
}

TEST_F(CollisionHostTest, FishOfABodyFieldSpeciesKeepOthersOff) {
  int count = 0;
  const X2FishData* const* species = GetBuiltinSpecies(&count);
  ASSERT_GT(count, 0);
  X2FishData record = *species[0];
  record.flags |= X2_FISH_BODY_COLLISION;

  // Outside a scene (no server, no world) the fish gets no field.
  {
    X2FileFish alone(&record);
    EXPECT_EQ(alone.bodyCollision, nullptr);
  }
  X1CollisionServer server;
  TheCollisionServer = &server;
  {
    C3World world;
    X2FishData plain = *species[0];
    plain.flags &= ~X2_FISH_BODY_COLLISION;
    X2FileFish without(&plain);
    EXPECT_EQ(without.bodyCollision, nullptr);
    EXPECT_EQ(server.FieldCount(), 0);

    // The field is listed by the server and owned by the world.
    auto* fish = new X2FileFish(&record);
    ASSERT_NE(fish->bodyCollision, nullptr);
    EXPECT_EQ(fish->bodyCollision->body, fish);
    EXPECT_EQ(server.FieldCount(), 1);
    ASSERT_EQ(world.children.count, 1);
    EXPECT_EQ(world.children.items[0], fish->bodyCollision);
    world.AddChild(fish);
    fish->ComputeBounds();
    fish->position = D3DXVECTOR3(0, -10, 0);
    fish->ComposeWorldMatrix(0, 0);

    // At the tip of its box a neighbour is pushed off; the fish itself is not.
    X2HostCallbacks* host = GetHostCallbacks();
    const D3DXVECTOR3 nose(fish->boxMax.x * fish->scale, -10, 0);
    X2Vec3 r{0, 0, 0};
    host->GetCollisionForce(&r, nose.x, nose.y, nose.z, nullptr);
    EXPECT_GT(r.x, 1.0f);
    host->GetCollisionForce(&r, nose.x, nose.y, nose.z, HostHandle(fish));
    ExpectVec(r, 0, 0, 0);
    // The world deletes the fish first, then its field.
  }
  C5PartialMorphCache::Destroy();
}

// A body and its field go in any order (the world closes last-registered
// first, and the field is registered from inside the body's constructor)
// and neither writes into the other once it is freed.
TEST_F(CollisionHostTest, ABodyAndItsFieldNeverTouchEachOtherOnceFreed) {
  int count = 0;
  X2FishData record = *GetBuiltinSpecies(&count)[0];
  record.flags |= X2_FISH_BODY_COLLISION;
  enum Order { kWorldCloses, kFishFirst, kFieldFirst };
  for (Order order : {kWorldCloses, kFishFirst, kFieldFirst}) {
    SCOPED_TRACE(order);
    X1CollisionServer server;
    TheCollisionServer = &server;
    auto* world = new C3World;
    auto* fish = new X2FileFish(&record);
    X2FishCollision* field = fish->bodyCollision;
    ASSERT_NE(field, nullptr);
    world->AddChild(fish);
    ASSERT_EQ(world->children.items[0], field);
    if (order != kWorldCloses) world->children.ClearKeepStorage();  // the test deletes both

    qvtest::KeepFreedBlocks();
    if (order == kWorldCloses) {
      delete world;
      world = nullptr;
    } else if (order == kFishFirst) {
      delete fish;
      EXPECT_EQ(field->body, nullptr);
      delete field;
    } else {
      delete field;
      EXPECT_EQ(fish->bodyCollision, nullptr);
      delete fish;
    }
    EXPECT_EQ(qvtest::ReleaseFreedBlocks(), 0) << "a freed block was written into";
    delete world;
    TheCollisionServer = nullptr;
  }
  C5PartialMorphCache::Destroy();
}

TEST_F(CollisionHostTest, FloorAndCeilingOverTheSceneTerrain) {
  srand(21);
  C3World world;  // no device: the terrain's parts become children
  auto* terrain = new X1Terrain;
  world.AddChild(terrain);
  terrain->BuildFloor();
  // Wired as the scene set-up wires them.
  auto* floor = new X1TerrainCollision(
      [terrain](float x, float z) { return terrain->GetHeight(x, z, nullptr, true, false); });
  world.AddChild(floor);
  terrain->followers.Add(floor);
  auto* ceiling = new X1HeightCollision(0.0f, terrain);
  world.AddChild(ceiling);

  for (const D3DXVECTOR2& at : {D3DXVECTOR2(0, 0), D3DXVECTOR2(17.5f, -31), D3DXVECTOR2(-44, 12)}) {
    const float ground = terrain->GetHeight(at.x, at.y, nullptr, true, false) + 0.3f;
    ASSERT_LT(ground, 0.0f);
    D3DXVECTOR3 f;
    floor->GetForce(&f, D3DXVECTOR3(at.x, ground, at.y), nullptr, 0, 0);
    EXPECT_FLOAT_EQ(f.y, 50.0f);
    floor->GetForce(&f, D3DXVECTOR3(at.x, ground + 1.0f, at.y), nullptr, 0, 0);
    EXPECT_NEAR(f.y, 25.0f, 1e-3f);
    floor->GetForce(&f, D3DXVECTOR3(at.x, ground + 2.0f, at.y), nullptr, 0, 0);
    EXPECT_NEAR(f.y, 0.0f, 1e-3f);
  }
  // The waves stand over the floor's centre.
  terrain->Recentre(64, -32);
  const D3DXVECTOR3 centre(terrain->position.x, -1.0f, terrain->position.z);
  D3DXVECTOR3 f;
  ceiling->GetForce(&f, centre, nullptr, 0, 0);
  EXPECT_NEAR(f.y, -25.0f, 1e-3f);  // wave 0 at time 0 over the centre, one unit below
}
