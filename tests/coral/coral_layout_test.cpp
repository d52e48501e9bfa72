// The coral without a device: the density table, the scroll decisions, and
// a server over a stub ground that fills its cells from the configuration,
// scrolls with the camera, seats and hides pieces, and lets go of the
// terrain and the collision fields when its colonies go.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

#include "C3Camera.h"
#include "C3SceneHost.h"
#include "C3World.h"
#include "CoralLayout.h"
#include "SceneGlobals.h"
#include "SettingIds.h"
#include "X1CollisionServer.h"
#include "X1CoralServer.h"
#include "X1Terrain.h"
#include "X2ConfigList.h"
#include "X2FileCoral.h"
#include "X7CoralCollision.h"

namespace {

TEST(CoralLayout, DensityOutsideTheTableTakesItsNearestEnd) {
  const struct {
    int density, perCell;
    bool known;
  } cases[] = {{-3, 0, false}, {0, 0, true}, {1, 4, true}, {2, 8, true},
               {3, 20, true},  {4, 40, true}, {5, 40, false}, {1000, 40, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.perCell, CoralColoniesPerCell(c.density)) << c.density;
    EXPECT_EQ(c.known, IsCoralDensityKnown(c.density)) << c.density;
  }
}

TEST(CoralLayout, DrawsPickEntriesAndVariantsInRange) {
  EXPECT_EQ(-1, CoralEntryIndex(0.5f, 0));
  EXPECT_EQ(10, CoralEntryIndex(1.0f, 20));  // only the first eleven entries
  EXPECT_EQ(1, CoralEntryIndex(1.0f, 3));
  EXPECT_EQ(0, CoralEntryIndex(NAN, 3));
  EXPECT_EQ(-1, CoralVariantIndex(0.5f, 0));
  EXPECT_EQ(2, CoralVariantIndex(0.5f, 3));  // 50 mod 3
}

TEST(CoralLayout, ScrollsBeyondHalfACellXBeforeZ) {
  const D3DXVECTOR3 centre(100.0f, -5.0f, 50.0f);
  const struct {
    float x, z;
    int dx, dz;
  } cases[] = {{12.5f, 0.0f, 0, 0},   {-12.5f, -12.5f, 0, 0}, {12.6f, 0.0f, 1, 0}, {-12.6f, 30.0f, -1, 0},
               {0.0f, 12.6f, 0, 1},   {3.0f, -13.0f, 0, -1},  {NAN, 40.0f, 0, 1},  {NAN, NAN, 0, 0}};
  for (const auto& c : cases) {
    const CoralScroll s = PlanCoralScroll(centre, centre + D3DXVECTOR3(c.x, 0.0f, c.z));
    EXPECT_EQ(c.dx, s.dx) << c.x << "," << c.z;
    EXPECT_EQ(c.dz, s.dz) << c.x << "," << c.z;
  }
}

// Every cell after a step holds the colonies of the cell that was at the
// same world place, except the row or column that came round, which is the
// one left behind and the only one scattered.
TEST(CoralLayout, CellsKeepTheirWorldPlaceExceptTheOneThatComesRound) {
  const D3DXVECTOR3 centre(0.0f, 0.0f, 0.0f);
  for (const CoralScroll step : {CoralScroll{1, 0}, CoralScroll{-1, 0}, CoralScroll{0, 1}, CoralScroll{0, -1}}) {
    const D3DXVECTOR3 moved = ScrolledCoralCentre(centre, step);
    int scattered = 0, sources = 0;
    for (int c = 0; c < kCoralCells; ++c) {
      const int from = CoralCellSource(step, c);
      sources |= 1 << from;
      const D3DXVECTOR3 now = moved + CoralCellOffset(c);
      const D3DXVECTOR3 before = centre + CoralCellOffset(from);
      const bool samePlace = now == before;
      EXPECT_NE(samePlace, IsCoralCellScattered(step, c)) << step.dx << step.dz << " cell " << c;
      if (!samePlace) {
        ++scattered;
        // The one left behind: the far side of the old grid.
        EXPECT_EQ(25.0f * 3, std::fabs(now.x - before.x) + std::fabs(now.z - before.z));
      }
    }
    EXPECT_EQ(3, scattered);
    EXPECT_EQ(0x1FF, sources);
  }
}

TEST(CoralLayout, SwayStepsForwardOnlyAndWrapsTheFrameRing) {
  CoralSway s = StepCoralSway(0.0f, 0.25f, 2.0f, 1.5f, 10);
  EXPECT_FLOAT_EQ(0.5f, s.phase);
  EXPECT_FLOAT_EQ(1.5f, s.framePosition);
  s = StepCoralSway(1.0f, 0.0f, 2.0f, 1.5f, 10);  // sin(1) > 0.5: three times as fast
  EXPECT_FLOAT_EQ(2.5f, s.phase);
  s = StepCoralSway(3.0f, 0.0f, 1.0f, 2.0f, 10);  // the clock went back
  EXPECT_FLOAT_EQ(3.0f, s.phase);
  s = StepCoralSway(49.0f, 2.0f, 0.0f, 0.0f, 10);
  EXPECT_FLOAT_EQ(std::fmod(57.0f, 10.0f), s.framePosition);
  for (float t : {0.0f, 1.0f, 7.3f, 100.0f}) {
    s = StepCoralSway(0.0f, 0.7f, t, t, 10);
    EXPECT_GE(s.amount, 0.0f);
    EXPECT_LE(s.amount, 1.0f);
  }
}

TEST(CoralLayout, StretchLengthensOnlyTheUpright) {
  D3DXMATRIX rotation, world;
  ComposeCoralMatrices(0.0f, 0.0f, 0.0f, 2.0f, 1.5f, D3DXVECTOR3(1, 2, 3), &rotation, &world);
  const D3DXVECTOR3 up(0, 1, 0), across(1, 0, 0);
  D3DXVECTOR3 top, side;
  D3DXVec3TransformCoord(&top, &up, &world);
  D3DXVec3TransformCoord(&side, &across, &world);
  EXPECT_FLOAT_EQ(5.0f, top.y);
  EXPECT_FLOAT_EQ(3.0f, side.x);
}

// ---- the server over a stub ground -----------------------------------------

class SettingsHost : public C3SceneHost {
 public:
  int GetSceneSetting(int pos) override {
    if (pos == kSceneCoralDensity) return density;
    if (pos == kSceneCoralNeverOnArch) return neverOnArch;
    return 0;
  }
  int density = 1;
  int neverOnArch = 1;
};

// A one-triangle piece with two key frames and a colony field.
float gVertices[3][8] = {{0, 0, 0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 0, 1, 1, 0}, {0, 1, 0, 0, 0, 1, 0, 1}};
float gFrameVertices[3][6] = {{0, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 1}, {0, 1, 0, 0, 0, 1}};
uint16_t gIndices[3] = {0, 1, 2};
X2FishMesh gBase = {3, gVertices, 1, gIndices, X2_FVF_VERTEX, X2_STRIDE_VERTEX, nullptr, 0, nullptr};
X2FishMesh gFrame = {3, gFrameVertices, 1, gIndices, X2_FVF_MORPH, X2_STRIDE_MORPH, nullptr, 0, nullptr};
X2FishMesh* gFrames[2] = {&gFrame, &gFrame};
int gPlaced = 0;

int X2_CDECL PlacePiece(int index, float* at, float* scale, float* yaw, float*, float*, X2HostCallbacks*) {
  ++gPlaced;
  at[0] = static_cast<float>(index);  // pieces in a row along x
  at[2] = 0.5f;
  *scale = 1.0f;
  *yaw = 0.25f;
  return 1;
}

X2FishData MakeRecord(X2FishModel* model, uint32_t flags) {
  X2FishData r{};
  r.flags = flags;
  r.modelCount = 1;
  r.model = model;
  r.instanceCount = 3;
  r.PlaceInstance = PlacePiece;
  return r;
}

class CoralServer : public ::testing::Test {
 protected:
  void SetUp() override {
    srand(5);
    gPlaced = 0;
    SetSceneHost(&host);
    world = new C3World;
    TheCollisionServer = new X1CollisionServer;
    world->AddChild(TheCollisionServer);
    camera = new C3Camera;
    world->AddChild(camera);
    SetMainCamera(camera);
    model.baseMesh = &gBase;
    model.frameCount = 2;
    model.frames = gFrames;
    fenced = MakeRecord(&model, X2_FISH_COLONY_COLLISION);
    open = MakeRecord(&model, 0);
    records["fence_a"] = &fenced;
    records["open_b"] = &open;
  }
  void TearDown() override {
    SetMainCamera(nullptr);
    delete world;
    TheCollisionServer = nullptr;
    SetSceneHost(nullptr);
  }
  X1CoralServer* MakeServer(X1Terrain* terrain = nullptr) {
    auto lookup = [this](const char* key) -> const X2FishData* {
      auto it = records.find(key);
      return it == records.end() ? nullptr : it->second;
    };
    auto* server = new X1CoralServer(terrain, &config, lookup, nullptr);
    world->AddChild(server);
    // Flat sea floor at -10; a structure top at -4 on the +x side of x = 40.
    if (!terrain)
      server->ground = [this](float x, float, int* onStructure) {
        if (x > archFrom) {
          *onStructure = 1;
          return -4.0f;
        }
        return -10.0f;
      };
    return server;
  }
  template <typename F>
  void ForEachColony(X1CoralServer* s, F f) {
    for (int c = 0; c < kCoralCells; ++c)
      for (int i = 0; i < s->Cell(c)->count; ++i) f(c, static_cast<X2CoralColony*>(s->Cell(c)->items[i]));
  }
  // Every colony lies in its cell's square, and every piece stands on the
  // stub ground beside it.
  void ExpectColoniesInTheirCells(X1CoralServer* s) {
    ForEachColony(s, [&](int c, X2CoralColony* colony) {
      const D3DXVECTOR3 cell = s->position + CoralCellOffset(c);
      EXPECT_LE(std::fabs(colony->position.x - cell.x), 12.5f) << "cell " << c;
      EXPECT_LE(std::fabs(colony->position.z - cell.z), 12.5f) << "cell " << c;
      for (int m = 0; m < colony->members.count; ++m) {
        const X2FileCoral* piece = colony->Member(m);
        EXPECT_FLOAT_EQ(colony->position.x + m, piece->position.x);
        EXPECT_FLOAT_EQ(colony->position.z + 0.5f, piece->position.z);
        EXPECT_FLOAT_EQ(piece->position.x > archFrom ? -3.8f : -9.8f, piece->position.y);
      }
    });
  }

  SettingsHost host;
  C3World* world = nullptr;
  C3Camera* camera = nullptr;
  X2FishModel model{};
  X2FishData fenced{}, open{};
  std::map<std::string, const X2FishData*> records;
  X2ConfigList config;
  float archFrom = 40.0f;
};

TEST_F(CoralServer, FillsEveryCellFromTheEnabledEntries) {
  config.AddEntry("fence_a", 1);
  for (int density : {0, 1, 3, 9}) {
    SCOPED_TRACE(density);
    host.density = density;
    const int fields = TheCollisionServer->FieldCount();
    X1CoralServer* s = MakeServer();
    const int perCell = CoralColoniesPerCell(density);
    for (int c = 0; c < kCoralCells; ++c) EXPECT_EQ(perCell, s->Cell(c)->count);
    // Three pieces per colony, each placed by the record; one field each.
    EXPECT_EQ(9 * perCell * 3, gPlaced);
    EXPECT_EQ(9 * perCell, TheCollisionServer->FieldCount() - fields);
    ForEachColony(s, [](int, X2CoralColony* colony) {
      EXPECT_EQ(3, colony->members.count);
      ASSERT_NE(nullptr, colony->collision);
      EXPECT_EQ(colony, colony->collision->colony);
      EXPECT_TRUE(colony->Member(0)->HasMorph());
      EXPECT_FLOAT_EQ(0.25f, colony->Member(0)->yAngle);
    });
    gPlaced = 0;
  }
}

TEST_F(CoralServer, DisabledOrUninstalledEntriesGiveNoColonies) {
  config.AddEntry("fence_a", 0);
  config.AddEntry("not_installed", 1);
  X1CoralServer* s = MakeServer();
  EXPECT_EQ(0, s->ColonyCount());
  EXPECT_EQ(0, gPlaced);

  // Mixed: only the open entry's colonies, and they carry no field.
  config.Clear();
  config.AddEntry("fence_a", 0);
  config.AddEntry("open_b", 1);
  s = MakeServer();
  EXPECT_GT(s->ColonyCount(), 0);
  ForEachColony(s, [](int, X2CoralColony* colony) { EXPECT_EQ(nullptr, colony->collision); });
}

TEST_F(CoralServer, ScrollsWithTheCameraOneCellAFrame) {
  config.AddEntry("open_b", 1);
  X1CoralServer* s = MakeServer();
  camera->position = D3DXVECTOR3(3.0f, 7.0f, -4.0f);
  s->Move(0.05f, 0.0f);  // the first frame centres the grid on the camera
  EXPECT_EQ(camera->position, s->position);
  ExpectColoniesInTheirCells(s);

  // Exactly half a cell away: nothing moves.
  std::map<const X2CoralColony*, D3DXVECTOR3> before;
  ForEachColony(s, [&](int, X2CoralColony* c) { before[c] = c->position; });
  camera->position = s->position + D3DXVECTOR3(12.5f, 0.0f, -12.5f);
  EXPECT_FALSE(s->Follow(camera->position).Moves());
  ForEachColony(s, [&](int, X2CoralColony* c) { EXPECT_EQ(before[c], c->position); });

  // Diagonally past it: x this frame, z the next; only the cells that came
  // round were scattered, the rest kept their colonies where they were.
  const D3DXVECTOR3 start = s->position;
  camera->position = start + D3DXVECTOR3(13.0f, 0.0f, 20.0f);
  CoralScroll step = s->Follow(camera->position);
  EXPECT_EQ(1, step.dx);
  EXPECT_EQ(0, step.dz);
  EXPECT_EQ(start + D3DXVECTOR3(25.0f, 0.0f, 0.0f), s->position);
  ForEachColony(s, [&](int cell, X2CoralColony* c) {
    if (!IsCoralCellScattered(step, cell)) {
      EXPECT_EQ(before[c], c->position) << cell;
    }
  });
  ExpectColoniesInTheirCells(s);
  step = s->Follow(camera->position);
  EXPECT_EQ(0, step.dx);
  EXPECT_EQ(1, step.dz);
  ExpectColoniesInTheirCells(s);
  EXPECT_FALSE(s->Follow(camera->position).Moves());

  // A long trip the other way keeps the same colonies round the camera.
  const int colonies = s->ColonyCount();
  for (int i = 0; i < 40; ++i) {
    camera->position += D3DXVECTOR3(-7.0f, 0.0f, -3.0f);
    s->Follow(camera->position);
    ExpectColoniesInTheirCells(s);
  }
  EXPECT_LE(std::fabs(camera->position.x - s->position.x), 12.5f + 7.0f);
  EXPECT_EQ(colonies, s->ColonyCount());
}

TEST_F(CoralServer, PiecesOnAStructureHideWhileNeverOnArchIsOn) {
  config.AddEntry("open_b", 1);
  X1CoralServer* s = MakeServer();
  archFrom = -1000.0f;  // everything is on the structure
  s->Follow(D3DXVECTOR3(0, 0, 0));
  ForEachColony(s, [](int, X2CoralColony* c) {
    for (int m = 0; m < c->members.count; ++m) EXPECT_TRUE(c->Member(m)->HasFlag(kObjAlwaysCulled));
  });
  archFrom = 1000.0f;  // the structure is gone: seated again, shown again
  ForEachColony(s, [&](int, X2CoralColony* c) { c->Seat(s->ground, true); });
  ForEachColony(s, [](int, X2CoralColony* c) {
    for (int m = 0; m < c->members.count; ++m) EXPECT_FALSE(c->Member(m)->HasFlag(kObjAlwaysCulled));
  });
  archFrom = -1000.0f;
  host.neverOnArch = 0;  // allowed on structures
  for (int c = 0; c < kCoralCells; ++c) s->PlaceCell(c);
  ForEachColony(s, [](int, X2CoralColony* c) {
    EXPECT_FLOAT_EQ(-3.8f, c->Member(0)->position.y);
    EXPECT_FALSE(c->Member(0)->HasFlag(kObjAlwaysCulled));
  });
}

// On the real terrain: colonies follow it and are seated after its build;
// deleting the server's device objects lets go of them in the terrain's
// list and in their fields.
TEST_F(CoralServer, FollowsTheTerrainAndLetsGoOfIt) {
  config.AddEntry("fence_a", 1);
  auto* terrain = new X1Terrain;
  world->AddChild(terrain);
  const int followersBefore = terrain->followers.count;
  X1CoralServer* s = MakeServer(terrain);
  const int colonies = s->ColonyCount();
  ASSERT_EQ(36, colonies);
  EXPECT_EQ(followersBefore + colonies, terrain->followers.count);
  s->Follow(D3DXVECTOR3(0, 0, 0));
  terrain->BuildFloor();
  X2CoralColony* first = static_cast<X2CoralColony*>(s->Cell(4)->items[0]);
  const X2FileCoral* piece = first->Member(0);
  EXPECT_FLOAT_EQ(terrain->GetHeight(piece->position.x, piece->position.z, nullptr, false, false) + 0.2f,
                  piece->position.y);
  X7CoralCollision* field = first->collision;
  s->DeleteDeviceObjects();
  EXPECT_EQ(0, s->ColonyCount());
  EXPECT_EQ(followersBefore, terrain->followers.count);
  EXPECT_EQ(nullptr, field->colony);
  D3DXVECTOR3 force;
  field->GetForce(&force, D3DXVECTOR3(0, 0, 0), nullptr, 0.0f, 0.0f);
  EXPECT_EQ(D3DXVECTOR3(0, 0, 0), force);
  terrain->BuildFloor();  // tells no deleted colony
}

}  // namespace
