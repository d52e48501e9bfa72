// Coral without a device: the density table, the scroll decisions, and a
// server over a stub ground that fills its cells from the configuration,
// scrolls with the camera, seats and hides pieces, and lets go of the
// terrain and the collision fields when its colonies go.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>

#include "collision/X1CollisionServer.h"
#include "collision/X7CoralCollision.h"
#include "common/SceneGlobals.h"
#include "common/SettingIds.h"
#include "config/X2ConfigList.h"
#include "coral/CoralLayout.h"
#include "coral/X1CoralServer.h"
#include "coral/X2FileCoral.h"
#include "frame/C3SceneHost.h"
#include "terrain/X1Terrain.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

TEST(CoralLayout, DensityOutsideTheTableTakesItsNearestEnd) {
  const int cases[][2] = {{-3, 0}, {0, 0}, {1, 4}, {3, 20}, {4, 40}, {5, 40}, {1000, 40}};
  for (const auto& c : cases) EXPECT_EQ(c[1], CoralColoniesPerCell(c[0])) << c[0];
}

TEST(CoralLayout, ScrollsBeyondHalfACellXBeforeZ) {
  const D3DXVECTOR3 centre(100.0f, -5.0f, 50.0f);
  const struct {
    float x, z;
    int dx, dz;
  } cases[] = {{12.5f, 0.0f, 0, 0}, {-12.5f, -12.5f, 0, 0}, {12.6f, 0.0f, 1, 0}, {-12.6f, 30.0f, -1, 0},
               {0.0f, 12.6f, 0, 1}, {3.0f, -13.0f, 0, -1},  {NAN, 40.0f, 0, 1},  {NAN, NAN, 0, 0}};
  for (const auto& c : cases) {
    const CoralScroll s = PlanCoralScroll(centre, centre + D3DXVECTOR3(c.x, 0.0f, c.z));
    EXPECT_EQ(c.dx, s.dx) << c.x << "," << c.z;
    EXPECT_EQ(c.dz, s.dz) << c.x << "," << c.z;
  }
}

class SettingsHost : public C3SceneHost {
 public:
  int GetSceneSetting(int pos) override {
    return pos == kSceneCoralDensity ? density : pos == kSceneCoralNeverOnArch ? neverOnArch : 0;
  }
  int density = 1;
  int neverOnArch = 1;
};

// A one-triangle piece with two key frames; three pieces in a row per colony.
float gVertices[3][8] = {{0, 0, 0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 0, 1, 1, 0}, {0, 1, 0, 0, 0, 1, 0, 1}};
float gFrameVertices[3][6] = {{0, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 1}, {0, 1, 0, 0, 0, 1}};
uint16_t gIndices[3] = {0, 1, 2};
X2FishMesh gBase = {3, gVertices, 1, gIndices, X2_FVF_VERTEX, X2_STRIDE_VERTEX, nullptr, 0, nullptr};
X2FishMesh gFrame = {3, gFrameVertices, 1, gIndices, X2_FVF_MORPH, X2_STRIDE_MORPH, nullptr, 0, nullptr};
X2FishMesh* gFrames[2] = {&gFrame, &gFrame};
X2FishModel gModel = {0, {nullptr}, 1.0f, &gBase, 0, nullptr, 2, 0, 1, 1, gFrames};

int X2_CDECL PlacePiece(int index, float* at, float* scale, float*, float*, float*, X2HostCallbacks*) {
  at[0] = static_cast<float>(index);
  at[2] = 0.5f;
  *scale = 1.0f;
  return 1;
}

X2FishData MakeRecord(uint32_t flags) {
  X2FishData r{};
  r.flags = flags;
  r.modelCount = 1;
  r.model = &gModel;
  r.instanceCount = 3;
  r.PlaceInstance = PlacePiece;
  return r;
}

class CoralServer : public ::testing::Test {
 protected:
  void SetUp() override {
    srand(5);
    SetSceneHost(&host);
    world = new C3World;
    TheCollisionServer = new X1CollisionServer;
    world->AddChild(TheCollisionServer);
    records["fence_a"] = &fenced;
    records["open_b"] = &open;
  }
  void TearDown() override {
    delete world;
    TheCollisionServer = nullptr;
    SetSceneHost(nullptr);
  }
  // On the stub ground (flat at -10, a structure top at -4 beyond x =
  // archFrom) unless a terrain is given.
  // Registered with the world unless `registered` is false (the test then
  // deletes it).
  X1CoralServer* MakeServer(X1Terrain* terrain = nullptr, bool registered = true) {
    auto lookup = [this](const char* key) -> const X2FishData* {
      auto it = records.find(key);
      return it == records.end() ? nullptr : it->second;
    };
    auto* server = new X1CoralServer(terrain, &config, lookup, nullptr);
    if (registered) world->AddChild(server);
    if (!terrain)
      server->ground = [this](float x, float, int* onStructure) {
        *onStructure = x > archFrom;
        return x > archFrom ? -4.0f : -10.0f;
      };
    return server;
  }
  template <typename F>
  void ForEachPiece(X1CoralServer* s, F f) {
    for (int c = 0; c < kCoralCells; ++c)
      for (int i = 0; i < s->Cell(c)->count; ++i) {
        auto* colony = static_cast<X2CoralColony*>(s->Cell(c)->items[i]);
        for (int m = 0; m < colony->members.count; ++m) f(c, colony, m, colony->Member(m));
      }
  }
  // Every colony lies in its cell's square, its pieces on the ground beside it.
  void ExpectInTheirCells(X1CoralServer* s) {
    ForEachPiece(s, [&](int c, X2CoralColony* colony, int m, X2FileCoral* piece) {
      const D3DXVECTOR3 cell = s->position + CoralCellOffset(c);
      EXPECT_LE(std::fabs(colony->position.x - cell.x), 12.5f) << "cell " << c;
      EXPECT_LE(std::fabs(colony->position.z - cell.z), 12.5f) << "cell " << c;
      EXPECT_EQ(D3DXVECTOR3(colony->position.x + m, piece->position.x > archFrom ? -3.8f : -9.8f,
                            colony->position.z + 0.5f),
                piece->position);
    });
  }

  SettingsHost host;
  C3World* world = nullptr;
  X2FishData fenced = MakeRecord(X2_FISH_COLONY_COLLISION), open = MakeRecord(0);
  std::map<std::string, const X2FishData*> records;
  X2ConfigList config;
  float archFrom = 40.0f;
};

TEST_F(CoralServer, FillsTheCellsFromEnabledInstalledEntriesOnly) {
  config.AddEntry("fence_a", 1);
  config.AddEntry("not_installed", 1);
  config.AddEntry("open_b", 0);
  host.density = 9;  // beyond the table: as many as the last level
  X1CoralServer* s = MakeServer();
  int colonies = 0;
  for (int c = 0; c < kCoralCells; ++c) {
    EXPECT_LE(s->Cell(c)->count, 40);
    colonies += s->Cell(c)->count;
  }
  EXPECT_GT(colonies, 9 * 40 / 3 - 30);  // about a third of the draws
  EXPECT_EQ(colonies, TheCollisionServer->FieldCount());  // one field per colony
  ForEachPiece(s, [](int, X2CoralColony* colony, int, X2FileCoral* piece) {
    EXPECT_EQ(3, colony->members.count);
    EXPECT_EQ(colony, colony->collision->colony);
    EXPECT_TRUE(piece->HasMorph());
  });
}

TEST_F(CoralServer, ScrollsWithTheCameraOneCellAFrame) {
  config.AddEntry("open_b", 1);
  X1CoralServer* s = MakeServer();
  auto* camera = new C3Camera;
  world->AddChild(camera);
  SetMainCamera(camera);
  camera->position = D3DXVECTOR3(3.0f, 7.0f, -4.0f);
  ForEachPiece(s, [](int, X2CoralColony*, int, X2FileCoral* p) { EXPECT_TRUE(p->HasFlag(kObjAlwaysCulled)); });
  s->Move(0.05f, 0.0f);  // the first frame centres the grid on the camera
  SetMainCamera(nullptr);
  EXPECT_EQ(camera->position, s->position);
  ExpectInTheirCells(s);

  // Diagonally past half a cell: x this frame, z the next; only the cells
  // that came round were scattered.
  std::map<const C3Object*, D3DXVECTOR3> before;
  ForEachPiece(s, [&](int, X2CoralColony* c, int, X2FileCoral*) { before[c] = c->position; });
  const D3DXVECTOR3 start = s->position;
  CoralScroll step = s->Follow(start + D3DXVECTOR3(13.0f, 0.0f, 20.0f));
  EXPECT_EQ(1, step.dx);
  EXPECT_EQ(0, step.dz);
  EXPECT_EQ(start + D3DXVECTOR3(25.0f, 0.0f, 0.0f), s->position);
  ForEachPiece(s, [&](int cell, X2CoralColony* c, int, X2FileCoral*) {
    EXPECT_EQ(!IsCoralCellScattered(step, cell), before[c] == c->position) << cell;
  });
  ExpectInTheirCells(s);
  step = s->Follow(start + D3DXVECTOR3(13.0f, 0.0f, 20.0f));
  EXPECT_EQ(1, step.dz);

  // A long trip the other way keeps every colony round the camera.
  D3DXVECTOR3 eye = start;
  for (int i = 0; i < 40; ++i) {
    eye += D3DXVECTOR3(-7.0f, 0.0f, -3.0f);
    s->Follow(eye);
    ExpectInTheirCells(s);
  }
  EXPECT_EQ(36, s->ColonyCount());
}

TEST_F(CoralServer, PiecesOnAStructureHideWhileNeverOnArchIsOn) {
  config.AddEntry("open_b", 1);
  X1CoralServer* s = MakeServer();
  archFrom = -1000.0f;  // everywhere a structure
  s->Follow(D3DXVECTOR3(0, 0, 0));
  ForEachPiece(s, [](int, X2CoralColony*, int, X2FileCoral* p) { EXPECT_TRUE(p->HasFlag(kObjAlwaysCulled)); });
  archFrom = 1000.0f;  // seated again on the ground: shown again
  for (int c = 0; c < kCoralCells; ++c) s->PlaceCell(c);
  ForEachPiece(s, [](int, X2CoralColony*, int, X2FileCoral* p) { EXPECT_FALSE(p->HasFlag(kObjAlwaysCulled)); });
  archFrom = -1000.0f;
  host.neverOnArch = 0;
  for (int c = 0; c < kCoralCells; ++c) s->PlaceCell(c);
  ForEachPiece(s, [](int, X2CoralColony*, int, X2FileCoral* p) { EXPECT_FALSE(p->HasFlag(kObjAlwaysCulled)); });
}

// On the real terrain: seated after its build; the colonies outlive the
// device objects, and once the server goes, neither the terrain nor a field
// reaches a deleted colony.
TEST_F(CoralServer, FollowsTheTerrainAndLetsGoOfIt) {
  config.AddEntry("fence_a", 1);
  auto* terrain = new X1Terrain;
  world->AddChild(terrain);
  const int followers = terrain->followers.count;
  X1CoralServer* s = MakeServer(terrain, false);
  EXPECT_EQ(followers + 36, terrain->followers.count);
  s->Follow(D3DXVECTOR3(0, 0, 0));
  terrain->BuildFloor();
  auto* colony = static_cast<X2CoralColony*>(s->Cell(4)->items[0]);
  const D3DXVECTOR3 at = colony->Member(0)->position;
  EXPECT_FLOAT_EQ(terrain->GetHeight(at.x, at.z, nullptr, false, false) + 0.2f, at.y);
  X7CoralCollision* field = colony->collision;
  s->DeleteDeviceObjects();
  EXPECT_EQ(36, s->ColonyCount());
  EXPECT_EQ(followers + 36, terrain->followers.count);
  EXPECT_EQ(colony, field->colony);
  delete s;
  EXPECT_EQ(followers, terrain->followers.count);
  D3DXVECTOR3 force(1, 1, 1);
  field->GetForce(&force, D3DXVECTOR3(0, 0, 0), nullptr, 0.0f, 0.0f);
  EXPECT_EQ(D3DXVECTOR3(0, 0, 0), force);
}

}  // namespace
