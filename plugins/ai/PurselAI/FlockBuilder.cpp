#include "FlockBuilder.h"

#include "C4FlockController.h"
#include "C4FlyingBar.h"
#include "C4GroupAI.h"
#include "C4PurselAI.h"
#include "PurselTables.h"

float FlockFishSize(int sizeVarie, float r) {
  switch (sizeVarie) {
    case 1: return 1.0f + r;         // X1-X2
    case 2: return 1.0f + 2.0f * r;  // X1-X3
    case 3: return 2.0f + r;         // X2-X3
    default: return 1.0f;            // X1, and anything unknown
  }
}

namespace {

X2Object CreateFlockFish(const X2Host& host, const FlockRecipe& recipe) {
  X2Object fish = host.CreateFish(recipe.fish);
  host.SetScale(fish, FlockFishSize(recipe.sizeVarie, host.Random()));
  host.SetPosition(fish, FlockStartPoint(recipe.flockIndex));
  return fish;
}

// Hands ai to fish and registers the fish. When the fish is missing or the
// host cannot take the AI, the AI is deleted here instead of being lost.
bool GiveAI(const X2Host& host, X2Object fish, X2AIObject* ai) {
  if (!fish || !host.SetAI(fish, ai)) {
    ai->Destroy(1);
    return false;
  }
  return true;
}

}  // namespace

C4FlockController* BuildFormationFlock(const X2Host& host, const FlockRecipe& recipe,
                                       FlockRowList& rows) {
  auto* controller = new C4FlockController(host, recipe.flockIndex, recipe.character);

  X2Object carrier1 = CreateFlockFish(host, recipe);
  host.SetHiddenFlag(carrier1);
  if (!GiveAI(host, carrier1, controller)) {
    host.Log("BuildFlock : no carrier for the flock controller\n");
    return nullptr;
  }
  host.RegisterObject(carrier1);

  X2Object carrier2 = CreateFlockFish(host, recipe);
  host.SetHiddenFlag(carrier2);
  if (!carrier2) {
    host.Log("BuildFlock : no carrier for the formation leader\n");
    return nullptr;
  }

  auto* leader = new C4FlyingBar(host, recipe.lanes, recipe.rows);
  leader->SetController(controller);
  controller->SetLeader(leader);
  leader->SetMaxSpeed(4.0f);
  leader->SetDepth(recipe.depth);
  leader->SetStartPoint(FlockStartPoint(recipe.flockIndex));
  leader->SetFlockIndex(recipe.flockIndex);
  leader->SetFollowedFlock(ClampFlockID(recipe.followedFlock, host.GetFlockCount()));
  leader->SetMemberChoice(recipe.memberChoice);
  leader->SetOwnFish(carrier2);
  if (!GiveAI(host, carrier2, leader)) {
    controller->SetLeader(nullptr);
    host.Log("BuildFlock : the formation leader was not taken\n");
    return controller;
  }
  host.RegisterObject(carrier2);

  for (int row = 0; row < recipe.rows; ++row) {
    rows.push_back(std::make_unique<FlockRow>());
    FlockRow& members = *rows.back();
    members.reserve(10);
    for (int lane = 0; lane < recipe.lanes; ++lane) {
      // A full formation takes no more fish; make none that would be lost.
      if (!leader->HasFreeSlot()) break;
      X2Object fish = CreateFlockFish(host, recipe);
      auto* ai = new C4PurselAI(host);
      if (!leader->Attach(ai, fish)) {
        ai->Destroy(1);
        continue;
      }
      ai->SetFlockIndex(recipe.flockIndex);
      if (!GiveAI(host, fish, ai)) continue;
      if (members.empty()) host.AddToBuildingFlock(fish);
      host.RegisterObject(fish);
      members.push_back(fish);

      for (int h = 0; h < recipe.hangers; ++h) {
        X2Object hanger = CreateFlockFish(host, recipe);
        auto* groupAI = new C4GroupAI(host, fish);
        groupAI->SetFlockIndex(recipe.flockIndex);
        if (!GiveAI(host, hanger, groupAI)) continue;
        host.RegisterObject(hanger);
      }
    }

    if (host.IsTwinfinTech() && recipe.character == 0 && !members.empty()) {
      X2Object texture = host.CreateRenderTexture();
      if (texture) {
        host.RegisterObject(texture);
        host.SetCloneSource(texture, members[0]);
        for (size_t i = 1; i < members.size(); ++i) host.AddClone(texture, members[i]);
      }
    }
  }
  return controller;
}
