#include "X2CoralColony.h"

#include "CoralLayout.h"
#include "X2FileCoral.h"
#include "collision/X1CollisionServer.h"
#include "collision/X7CoralCollision.h"
#include "common/SceneGlobals.h"
#include "common/SettingIds.h"
#include "diagnostics/Diagnostics.h"
#include "fish/FishMotion.h"
#include "frame/C3SceneHost.h"
#include "terrain/X1Terrain.h"
#include "world/C3World.h"

CoralGround TerrainGround(X1Terrain* terrain) {
  return [terrain](float x, float z, int* onStructure) {
    return terrain->GetHeight(x, z, onStructure, false, false);
  };
}

X2CoralColony::X2CoralColony(const X2FishData* record, X2HostCallbacks* host) {
  SetClassName("X2CoralColony");
  flags |= kObjAlwaysCulled;
  C3World* world = C3World::Current();
  if (!record || !world || record->modelCount == 0 || !record->model) return;
  for (uint32_t i = 0; i < record->instanceCount; ++i) {
    const int variant = CoralVariantIndex(SceneRandom(), record->modelCount);
    auto* piece = new X2FileCoral(record, variant);
    members.Add(piece);
    world->AddChild(piece);
    if (record->PlaceInstance) {
      float at[3] = {0.0f, 0.0f, 0.0f};
      record->PlaceInstance(static_cast<int>(i), at, &piece->scale, &piece->yAngle, &piece->zAngle,
                            &piece->xAngle, host);
      piece->offset = D3DXVECTOR3(at[0], at[1], at[2]);
    }
  }
  if ((record->flags & X2_FISH_COLONY_COLLISION) && TheCollisionServer) {
    collision = new X7CoralCollision(this, 1.0f);
    TheCollisionServer->AddCollision(collision);
    world->AddChild(collision);
  }
}

X2CoralColony::~X2CoralColony() {
  // The field outlives the colony as a world child: it must not ask a
  // deleted colony where it is.
  if (collision) collision->colony = nullptr;
}

X2FileCoral* X2CoralColony::Member(int i) const {
  if (i < 0 || i >= members.count) return nullptr;
  return static_cast<X2FileCoral*>(members.items[i]);
}

void X2CoralColony::OnTerrainRebuilt(X1Terrain* terrain) {
  if (!terrain || !placed) return;
  Seat(TerrainGround(terrain), GetSceneHost()->GetSceneSetting(kSceneCoralNeverOnArch) != 0);
}

void X2CoralColony::Seat(const CoralGround& ground, bool neverOnArch) {
  if (!ground) return;
  for (int i = 0; i < members.count; ++i) {
    X2FileCoral* piece = Member(i);
    const float x = position.x + piece->offset.x;
    const float z = position.z + piece->offset.z;
    int onStructure = 0;
    const float y = ground(x, z, &onStructure) + kCoralSeatLift;
    piece->position = D3DXVECTOR3(x, y, z);
    if (onStructure && neverOnArch)
      piece->flags |= kObjAlwaysCulled;
    else
      piece->flags &= ~kObjAlwaysCulled;
  }
}
