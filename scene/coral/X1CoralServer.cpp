#include "X1CoralServer.h"

#include "common/SceneGlobals.h"
#include "common/SettingIds.h"
#include "config/X2ConfigList.h"
#include "config/X2CoralConfig.h"
#include "diagnostics/Diagnostics.h"
#include "fish/FishMotion.h"
#include "frame/C3SceneHost.h"
#include "pluginlists/X2CoralList.h"
#include "status/C9DisplayInfo.h"
#include "terrain/X1Terrain.h"
#include "world/C3Camera.h"

namespace {

void RemoveFollower(X1Terrain* terrain, const C3Object* object) {
  if (!terrain) return;
  C4Collection& list = terrain->followers;
  int kept = 0;
  for (int i = 0; i < list.count; ++i)
    if (list.items[i] != object) list.items[kept++] = list.items[i];
  list.count = kept;
}

}  // namespace

X1CoralServer::X1CoralServer(X1Terrain* floor, const X2ConfigList* config, const CoralRecordLookup& lookup,
                             X2HostCallbacks* host)
    : terrain(floor) {
  SetClassName("X1CoralServer");
  if (terrain) ground = TerrainGround(terrain);
  const int density = GetSceneHost()->GetSceneSetting(kSceneCoralDensity);
  if (!IsCoralDensityKnown(density))
    LogPrint("KWEX CoralDensity %d out of range: %d used\n", density,
             density < 0 ? 0 : kCoralDensityLevels - 1);
  const int perCell = CoralColoniesPerCell(density);
  const int entries = config ? config->Count() : 0;
  for (int c = 0; c < kCoralCells; ++c) {
    cells[c] = new C4Collection(10, 10);
    if (entries == 0) continue;
    for (int k = 0; k < perCell; ++k) {
      const X2ConfigEntry* entry = config->Entry(CoralEntryIndex(SceneRandom(), entries));
      if (!entry || !entry->enable || !entry->Name() || !lookup) continue;
      const X2FishData* record = lookup(entry->Name());
      if (!record) continue;
      auto* colony = new X2CoralColony(record, host);
      cells[c]->Add(colony);
      if (terrain) terrain->followers.Add(colony);
    }
  }
  LogPrint("coral: %d colonies in %d cells (density %d)\n", ColonyCount(), kCoralCells, density);
}

// The colonies are the scene's, not the device's: a device made again finds
// them in their cells.
X1CoralServer::~X1CoralServer() { DeleteColonies(); }

void X1CoralServer::DeleteColonies() {
  for (C4Collection*& cell : cells) {
    if (!cell) continue;
    for (int i = 0; i < cell->count; ++i) {
      C3Object* colony = cell->items[i];
      RemoveFollower(terrain, colony);
      colony->DeleteDeviceObjects();
      colony->FinalCleanUp();
      delete colony;
    }
    delete cell;
    cell = nullptr;
  }
}

int X1CoralServer::ColonyCount() const {
  int n = 0;
  for (const C4Collection* cell : cells)
    if (cell) n += cell->count;
  return n;
}

C4Collection* X1CoralServer::Cell(int cell) const {
  return cell >= 0 && cell < kCoralCells ? cells[cell] : nullptr;
}

HRESULT X1CoralServer::Move(float, float) {
  if (TheDisplayInfo) TheDisplayInfo->activity.SetCoralColonies(ColonyCount());
  C3Camera* camera = GetMainCamera();
  if (!camera) return 0;
  D3DXVECTOR3 eye;
  camera->GetPosition(&eye);
  Follow(eye);
  return 0;
}

CoralScroll X1CoralServer::Follow(const D3DXVECTOR3& camera) {
  CoralScroll step;
  if (reset) {
    position = camera;
    reset = 0;
    for (int c = 0; c < kCoralCells; ++c) PlaceCell(c);
    return step;
  }
  step = PlanCoralScroll(position, camera);
  if (!step.Moves()) return step;
  std::array<C4Collection*, kCoralCells> shifted{};
  for (int c = 0; c < kCoralCells; ++c) shifted[c] = cells[CoralCellSource(step, c)];
  cells = shifted;
  position = ScrolledCoralCentre(position, step);
  for (int c = 0; c < kCoralCells; ++c)
    if (IsCoralCellScattered(step, c)) PlaceCell(c);
  return step;
}

void X1CoralServer::PlaceCell(int cell) {
  C4Collection* list = Cell(cell);
  if (!list) return;
  const bool neverOnArch = GetSceneHost()->GetSceneSetting(kSceneCoralNeverOnArch) != 0;
  for (int i = 0; i < list->count; ++i) {
    auto* colony = static_cast<X2CoralColony*>(list->items[i]);
    const float u = SceneRandom();
    const float v = SceneRandom();
    colony->position = CoralColonySpot(position, cell, u, v);
    colony->placed = true;
    colony->Seat(ground, neverOnArch);
  }
}

X1CoralServer* MakeCoralServer(X1Terrain* terrain, X2HostCallbacks* host) {
  const CoralRecordLookup lookup = [](const char* key) -> const X2FishData* {
    return TheCoralList ? TheCoralList->GetData(key) : nullptr;
  };
  return new X1CoralServer(terrain, TheCoralConfig, lookup, host);
}
