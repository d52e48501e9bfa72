#pragma once
// A host callback table for tests: fake scene objects, scripted random
// numbers, flocks, and a record of the calls the plug-in code makes.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "X2PluginAbi.h"

namespace aitest {

struct FakeObject {
  int id = 0;
  X2Vec3 position{0, 0, 0};
  X2Vec3 direction{1, 0, 0};
  float pitch = 0, yaw = 0, roll = 0, speed = 0, scale = 1, bodySize = 1;
  X2AIObject* ai = nullptr;
  bool hidden = false;
  bool registered = false;
  bool texture = false;
};

class FakeHost {
 public:
  FakeHost();   // becomes the table the fake slots act on
  ~FakeHost();  // deletes every AI still held by an object
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  X2HostCallbacks* Table() { return &table; }
  FakeObject* Obj(X2Object handle);
  X2Object NewObject();
  static std::string Name(X2Object handle);  // "f<id>", "null"
  // Calls whose name is one of `names`, in order.
  std::vector<std::string> CallsNamed(const std::vector<std::string>& names) const;
  int CountCalls(const std::string& prefix) const;

  X2HostCallbacks table{};
  std::vector<std::string> calls;  // "Name arg arg", objects as f<id>
  std::vector<std::string> logs;   // formatted log lines
  std::deque<float> randoms;       // scripted; defaultRandom when empty
  float defaultRandom = 0.5f;
  std::vector<std::unique_ptr<FakeObject>> objects;
  std::vector<std::vector<X2Object>> flocks;
  std::vector<const char*> flockNames;  // ends with nullptr when filled
  int flockCount = -1;                  // -1: flocks.size()
  bool twinfin = false;
  bool collision = false;
  X2Vec3 collisionForce{0, 0, 0};
  bool terrain = false;
  float terrainHeight = -5.0f;
  X2Object cameraSource = nullptr;
  X2Object building[1] = {nullptr};
  std::vector<X2Object> buildingFlock;
};

FakeHost* CurrentHost();

}  // namespace aitest
