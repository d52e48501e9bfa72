// Figures of the simulation: flocks built through the shipped PurselAI
// plug-in on the real host table, then the world's Move without drawing.
// Prints Markdown table rows (tools/bench.sh gathers them). Not a test.
//
//   sim_bench                  build time and cost per fish at 500, 5,000, 30,000 fish,
//                              the camera's share of a step as it travels with them, and
//                              the step at 30,000 fish over a sea floor close under them
//   sim_bench --fish N         the same at about N fish only (for a profiler)
//   sim_bench --endurance H    steps the shipped flock file's flocks through H hours
//                              of scene time at x8 (30 steps a second) and checks for
//                              positions that are not finite, lost fish and memory growth
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "D3DTestDevice.h"
#include "HostCallbacks.h"
#include "SceneTestSupport.h"
#include "Settings.h"
#include "SimWorld.h"
#include "TestSupport.h"
#include "camera/X2HumanCamera.h"
#include "config/X2FlockSet.h"
#include "fish/BuiltinFish.h"
#include "fish/C6Fish.h"
#include "frame/C3SceneHost.h"
#include "world/C3World.h"

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

class Plugin {
 public:
  Plugin() {
    module_ = LoadLibraryA((qvtest::DistDir() + "ai\\PurselAI.qva").c_str());
    auto get = module_ ? reinterpret_cast<X2GetAIDataFn>(GetProcAddress(module_, X2_AI_EXPORT_NAME)) : nullptr;
    record_ = get ? get(nullptr, nullptr) : nullptr;
  }
  ~Plugin() {
    if (module_) FreeLibrary(module_);
  }
  const X2AIData* record() const { return record_; }

 private:
  HMODULE module_ = nullptr;
  X2AIData* record_ = nullptr;
};

const X2FishData* Sardine() {
  int count = 0;
  const X2FishData* const* records = GetBuiltinSpecies(&count);
  return count > 2 ? records[2] : nullptr;
}

// A world holding `flocks` flocks built with `param` and the program's
// camera, without a camera AI (so it travels with the flocks), the fish it
// made and the time building took.
struct Scene {
  C3World* world = nullptr;
  X2Camera* camera = nullptr;
  std::vector<C6Fish*> fish;
  double buildSeconds = 0;
  std::vector<double> flockSeconds;
};

Scene Build(const Plugin& plugin, int flocks, const char* param) {
  Scene s;
  s.world = new C3World;
  TheFlocks.Clear();
  const double start = Now();
  for (int i = 0; i < flocks; ++i) {
    const double t = Now();
    TheFlocks.AddEntry("マイワシ_ハルベノルソフト");
    TheFlocks.BeginFlock();
    plugin.record()->BuildFlock(i, Sardine(), param, GetHostCallbacks(), 2);
    s.flockSeconds.push_back(Now() - t);
  }
  TheFlocks.EndBuilding();
  s.buildSeconds = Now() - start;
  s.camera = new X2HumanCamera(GetHostCallbacks());
  s.world->AddChild(s.camera);
  s.camera->InitDeviceObjects();
  s.world->started = 1;  // past the camera's start pose
  for (int i = 0; i < s.world->children.count; ++i)
    if (auto* f = dynamic_cast<C6Fish*>(s.world->children.items[i])) s.fish.push_back(f);
  return s;
}

void TearDown(Scene& s) {
  s.world->InvalidateDeviceObjects();
  s.world->DeleteDeviceObjects();
  delete s.world;
  s.world = nullptr;
  TheTerrain = nullptr;
  TheCollisionServer = nullptr;
  TheFlocks.Clear();
}

// Seconds of a world step, after settling: five figures, each the mean of
// n steps.
void TimeSteps(Scene& s, int n, std::vector<double>* steps) {
  for (int i = 0; i < 10; ++i) s.world->Move(1.0f / 30.0f);  // settle
  for (int rep = 0; rep < 5; ++rep) {
    const double t = Now();
    for (int i = 0; i < n; ++i) s.world->Move(1.0f / 30.0f);
    steps->push_back((Now() - t) / n);
  }
}

int Bench(const Plugin& plugin, const std::vector<int>& targets) {
  // "Scale:巨大" is the largest formation: 300 fish and 2 carriers a flock at
  // the middle multiplier.
  const char* param = "Scale:巨大";
  const int perFlock = plugin.record()->CountFish(0, param, GetHostCallbacks(), 2);
  std::printf("| fish | flocks | build ms | build ms of the last flock / first | step ms | us per fish | camera us a "
              "step |\n");
  std::printf("|---:|---:|---:|---:|---:|---:|---:|\n");
  const size_t sizes = targets.size();
  std::vector<double> perFish(sizes), stepMs(sizes);
  std::vector<int> fishCount(sizes);
  for (size_t k = 0; k < sizes; ++k) {
    const int flocks = std::min(X2FlockSet::kMaxFlocks, (targets[k] + perFlock - 1) / perFlock);
    std::vector<double> builds, steps, ratios, cameraSteps;
    int fish = 0;
    for (int run = 0; run < 3; ++run) {
      Scene s = Build(plugin, flocks, param);
      fish = static_cast<int>(s.fish.size());
      builds.push_back(s.buildSeconds);
      ratios.push_back(s.flockSeconds.back() / std::max(1e-9, s.flockSeconds.front()));
      TimeSteps(s, targets[k] >= 30000 ? 10 : 30, &steps);
      // The camera's own share: its move alone, on the clock's next steps.
      const float now = s.world->clockA.GetCurrent();
      const double t = Now();
      for (int i = 1; i <= 1000; ++i) s.camera->Move(now + i / 30.0f, now + (i - 1) / 30.0f);
      cameraSteps.push_back((Now() - t) / 1000);
      TearDown(s);
    }
    const double step = Median(steps);
    perFish[k] = step * 1e6 / fish;
    stepMs[k] = step * 1e3;
    fishCount[k] = fish;
    std::printf("| %d | %d | %.1f | %.2f | %.3f | %.3f | %.1f |\n", fish, flocks, Median(builds) * 1e3,
                Median(ratios), step * 1e3, perFish[k], Median(cameraSteps) * 1e6);
  }
  // The same flocks over a ridge of the sea floor a few units under their
  // start points: every fish asks the floor's field for its push and is
  // stopped over the ground, many of them close to it.
  {
    const int flocks = std::min(X2FlockSet::kMaxFlocks, (targets.back() + perFlock - 1) / perFlock);
    std::vector<double> steps;
    int fish = 0;
    for (int run = 0; run < 3; ++run) {
      Scene s = Build(plugin, flocks, param);
      AddRidgeFloor(s.world);
      fish = static_cast<int>(s.fish.size());
      TimeSteps(s, targets.back() >= 30000 ? 10 : 30, &steps);
      TearDown(s);
    }
    const double step = Median(steps);
    std::printf("\nOver the sea floor: step %.3f ms at %d fish, %.3f us per fish\n", step * 1e3, fish,
                step * 1e6 / fish);
  }
  if (sizes < 3) return 0;
  std::printf("\nStep cost ratios: cost(%d)/cost(%d) = %.2f (linear %.2f), cost(%d)/cost(%d) = %.2f (linear %.2f)\n",
              fishCount[1], fishCount[0], stepMs[1] / stepMs[0], double(fishCount[1]) / fishCount[0], fishCount[2],
              fishCount[1], stepMs[2] / stepMs[1], double(fishCount[2]) / fishCount[1]);
  return 0;
}

int Endurance(double hours) {
  SimWorld w;
  if (!w.BuildDefaultFlocks()) {
    std::printf("the shipped flock file built no fish\n");
    return 2;
  }
  const EnduranceResult r = RunEndurance(w, hours, [](long long step, long long steps) {
    if (step % 100000 == 0) std::fprintf(stderr, "%lld / %lld steps\n", step, steps);
  });
  std::printf("| scene time | steps (x8, 30 per second) | fish at start / end | positions not finite | "
              "private bytes after warm-up / at end | wall time |\n|---|---:|---:|---:|---:|---:|\n");
  std::printf("| %.1f h | %lld | %d / %d | %d | %zu / %zu | %.0f s |\n", hours, r.steps, r.fishAtStart, r.fishAtEnd,
              r.notFinite, r.memoryAfterWarmUp, r.memoryAtEnd, r.wallSeconds);
  return r.Sound() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  qvtest::D3DTestDevice dev;
  if (!dev.Create(64, 64)) {
    std::printf("no device: %s\n", dev.Error().c_str());
    return 2;
  }
  qvtest::DeviceSceneHost host(dev);
  SetSceneHost(&host);
  LoadSettings(0);
  TechSettings.SetValue(kTechTwinfinTech, 0);
  Plugin plugin;
  if (!plugin.record() || !Sardine()) {
    std::printf("PurselAI.qva or the built-in sardine missing\n");
    return 2;
  }
  int rc = 0;
  if (argc >= 3 && std::strcmp(argv[1], "--endurance") == 0)
    rc = Endurance(std::atof(argv[2]));
  else if (argc >= 3 && std::strcmp(argv[1], "--fish") == 0)
    rc = Bench(plugin, {std::max(1, std::atoi(argv[2]))});
  else
    rc = Bench(plugin, {500, 5000, 30000});
  SetSceneHost(nullptr);
  return rc;
}
