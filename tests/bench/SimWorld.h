#pragma once
// A world without drawing that holds the flocks of the shipped flock file,
// built through the shipped plug-ins on the real host table, and a long run
// of its Move at x8 that watches for positions that are not finite, fish
// that go missing and memory that grows; and a sea floor with a ridge under
// the flocks for such a world. Used by the endurance test and by sim_bench.
// Header only; needs a scene host set.
#include <windows.h>
#include <psapi.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "HostCallbacks.h"
#include "TestSupport.h"
#include "collision/X1CollisionServer.h"
#include "collision/X1TerrainCollision.h"
#include "common/SceneGlobals.h"
#include "config/X2FlockConfig.h"
#include "config/X2FlockSet.h"
#include "diagnostics/Diagnostics.h"
#include "fish/C6Fish.h"
#include "pluginlists/X2AIList.h"
#include "pluginlists/X2FishList.h"
#include "terrain/X1MetaTerrain.h"
#include "terrain/X1Terrain.h"
#include "world/C3World.h"

inline size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  // Wine leaves PrivateUsage 0; PagefileUsage is the same commit charge.
  return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

// The sea floor of `world` (built without a device, never rebuilt without a
// camera) with its collision field steering the fish, as the program makes
// them; a double ridge along x lifts the ground under the flocks' start points
// (x and z within 2 of the origin, y -2 to -4) to about 8 under the surface,
// the depth at which some random floors put fish through the ground.
inline X1Terrain* AddRidgeFloor(C3World* world) {
  TheTerrain = new X1Terrain;
  world->AddChild(TheTerrain);
  TheTerrain->meta->features = {TerrainFeature{{-40, 0, 0}, {40, 0, 0}, 20.0f, 10.0f},
                                TerrainFeature{{-40, 0, 1}, {40, 0, 1}, 20.0f, 10.0f}};
  TheCollisionServer = new X1CollisionServer;
  world->AddChild(TheCollisionServer);
  X1Terrain* terrain = TheTerrain;
  auto* floor =
      new X1TerrainCollision([terrain](float x, float z) { return terrain->GetHeight(x, z, nullptr, true, false); });
  TheCollisionServer->AddCollision(floor);
  world->AddChild(floor);
  terrain->followers.Add(floor);
  terrain->BuildFloor();
  return terrain;
}

class SimWorld {
 public:
  SimWorld() : folder_(GetProgramFolder()) { world = new C3World; }
  ~SimWorld() {
    world->InvalidateDeviceObjects();
    world->DeleteDeviceObjects();
    delete world;
    TheTerrain = nullptr;
    TheCollisionServer = nullptr;
    TheFlocks.Clear();
    config_.reset();
    ai_.reset();  // unloads the plug-ins after their objects are gone
    fishList_.reset();
    SetProgramFolder(folder_.c_str());
  }
  SimWorld(const SimWorld&) = delete;
  SimWorld& operator=(const SimWorld&) = delete;

  // The plug-in folders and FlockConfig.ini of the distributable folder.
  bool BuildDefaultFlocks() {
    const std::string dist = qvtest::DistDir();
    SetProgramFolder(dist.c_str());
    fishList_ = std::make_unique<X2FishList>();
    ai_ = std::make_unique<X2AIList>();
    config_ = std::make_unique<X2FlockConfig>();
    config_->SetFolder(dist.c_str());
    config_->Load("FlockConfig.ini");
    config_->BuildFlocks(fishList_.get(), ai_.get(), GetHostCallbacks(), &TheFlocks);
    for (int i = 0; i < world->children.count; ++i)
      if (auto* f = dynamic_cast<C6Fish*>(world->children.items[i])) fish.push_back(f);
    return !fish.empty();
  }

  C3World* world = nullptr;
  std::vector<C6Fish*> fish;

 private:
  std::string folder_;
  std::unique_ptr<X2FishList> fishList_;
  std::unique_ptr<X2AIList> ai_;
  std::unique_ptr<X2FlockConfig> config_;
};

struct EnduranceResult {
  long long steps = 0;
  int fishAtStart = 0, fishAtEnd = 0, notFinite = 0;
  size_t memoryAfterWarmUp = 0, memoryAtEnd = 0;
  double wallSeconds = 0;
  // No position lost, every fish still in the world, at most 1 MB more
  // private memory than after the first few thousand steps.
  bool Sound() const {
    return notFinite == 0 && fishAtEnd == fishAtStart && memoryAtEnd <= memoryAfterWarmUp + (1u << 20);
  }
};

// Steps the world at speed x8, 30 frames a second, for `hours` of scene time.
inline EnduranceResult RunEndurance(SimWorld& w, double hours,
                                    const std::function<void(long long, long long)>& progress = nullptr) {
  EnduranceResult r;
  r.fishAtStart = static_cast<int>(w.fish.size());
  w.world->SetSpeedFactor(8.0f);
  const float frame = 1.0f / 30.0f;
  r.steps = static_cast<long long>(hours * 3600.0 / (8.0 * frame));
  const DWORD start = GetTickCount();
  for (long long i = 0; i < r.steps; ++i) {
    w.world->Move(frame);
    if (i == 3000) r.memoryAfterWarmUp = PrivateBytes();
    if (i % 5000 == 0 || i + 1 == r.steps) {
      for (C6Fish* f : w.fish)
        r.notFinite += !(std::isfinite(f->position.x) && std::isfinite(f->position.y) && std::isfinite(f->position.z));
      if (r.notFinite) break;
      if (progress) progress(i, r.steps);
    }
  }
  if (!r.memoryAfterWarmUp) r.memoryAfterWarmUp = PrivateBytes();
  r.memoryAtEnd = PrivateBytes();
  for (int i = 0; i < w.world->children.count; ++i)
    r.fishAtEnd += dynamic_cast<C6Fish*>(w.world->children.items[i]) != nullptr;
  r.wallSeconds = (GetTickCount() - start) / 1000.0;
  return r;
}
