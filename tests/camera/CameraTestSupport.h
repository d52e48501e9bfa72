#pragma once
// Shared by the camera tests: a scene host with the camera settings, a
// scripted random source and a test camera AI with records to list it.
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "X2PluginAbi.h"
#include "common/SettingIds.h"
#include "frame/C3SceneHost.h"
#include "world/C3Object.h"

namespace camtest {

// 640 x 480; HumanCamera off; Stability 18, Trackability 26, MaxZoom 3.
class SettingsHost : public C3SceneHost {
 public:
  SettingsHost() {
    settings[kSceneCameraAIStability] = 18;
    settings[kSceneCameraAITrackability] = 26;
    settings[kSceneCameraMaxZoom] = 3;
  }
  int GetSceneSetting(int pos) override { return pos >= 0 && pos < kSceneSettingCount ? settings[pos] : 0; }
  int settings[kSceneSettingCount] = {};
};

// The scripted draws in order, then `rest` for ever; counts every draw.
struct ScriptedRandom {
  std::vector<float> draws;
  float rest = 0.5f;
  size_t taken = 0;
  std::function<float()> Source() {
    return [this] { return taken < draws.size() ? draws[taken++] : (++taken, rest); };
  }
};

// Puts the object it steers at (speed x now + offset, 0, 0), from the
// parameter string "offset speed".
class TestCameraAI : public X2AIObjectImpl<TestCameraAI> {
 public:
  explicit TestCameraAI(const char* param) {
    if (param) sscanf(param, "%f %f", &offset, &speed);
    ++live;
  }
  ~TestCameraAI() { --live; }
  X2AIObject* X2_THISCALL Step(float now, float, X2Object self) override {
    static_cast<C3Object*>(self)->position = D3DXVECTOR3(speed * now + offset, 0.0f, 0.0f);
    return nullptr;
  }
  float offset = 0.0f, speed = 0.0f;
  static inline int live = 0;
};

// A camera AI record with the key "<name>_maker".
inline X2AIData MakeRecord(const char* name, X2CreateInstanceFn create, uint32_t capabilities) {
  X2AIData r;
  std::memset(&r, 0, sizeof r);
  r.header.version = X2_VERSION_AI;
  std::strcpy(r.header.name, name);
  std::strcpy(r.header.maker, "maker");
  r.capabilities = capabilities;
  r.CreateInstance = create;
  return r;
}

}  // namespace camtest
