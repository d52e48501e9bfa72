#include "FakeHost.h"

#include <cstdarg>
#include <cstdio>

namespace aitest {
namespace {

FakeHost* g_host = nullptr;

FakeObject* O(X2Object h) { return g_host->Obj(h); }
void Call(const std::string& text) { g_host->calls.push_back(text); }
std::string N(X2Object h) { return FakeHost::Name(h); }

X2Vec3* X2_CDECL GetPosition(X2Vec3* r, X2Object h) {
  FakeObject* o = O(h);
  *r = o ? o->position : X2Vec3{0, 0, 0};
  return r;
}
float X2_CDECL GetPitch(X2Object h) { return O(h) ? O(h)->pitch : 0; }
float X2_CDECL GetYaw(X2Object h) { return O(h) ? O(h)->yaw : 0; }
float X2_CDECL GetRoll(X2Object h) { return O(h) ? O(h)->roll : 0; }
float* X2_CDECL SetPosition(X2Object h, const X2Vec3* p) {
  Call("SetPosition " + N(h));
  FakeObject* o = O(h);
  if (!o) return nullptr;
  o->position = *p;
  return &o->position.x;
}
X2Object X2_CDECL SetPitch(X2Object h, float v) {
  if (O(h)) O(h)->pitch = v;
  return h;
}
X2Object X2_CDECL SetYaw(X2Object h, float v) {
  if (O(h)) O(h)->yaw = v;
  return h;
}
X2Object X2_CDECL SetRoll(X2Object h, float v) {
  if (O(h)) O(h)->roll = v;
  return h;
}
float X2_CDECL GetSpeed(X2Object h) { return O(h) ? O(h)->speed : 0; }
X2Object X2_CDECL SetSpeed(X2Object h, float v) {
  if (O(h)) O(h)->speed = v;
  return h;
}
float X2_CDECL Random() {
  Call("Random");
  if (g_host->randoms.empty()) return g_host->defaultRandom;
  float r = g_host->randoms.front();
  g_host->randoms.pop_front();
  return r;
}
X2Vec3* X2_CDECL GetDirection(X2Vec3* r, X2Object h) {
  *r = O(h) ? O(h)->direction : X2Vec3{1, 0, 0};
  return r;
}
X2AIObject* X2_CDECL GetAI(X2Object h) { return O(h) ? O(h)->ai : nullptr; }
void X2_CDECL SetAI(X2Object h, X2AIObject* ai) {
  Call("SetAI " + N(h));
  if (FakeObject* o = O(h)) {
    o->ai = ai;
    if (ai) ai->owner = h;
  }
}
float X2_CDECL GetScale(X2Object h) { return O(h) ? O(h)->scale : 0; }
X2Object X2_CDECL SetScale(X2Object h, float v) {
  char text[64];
  std::snprintf(text, sizeof text, "SetScale %s %g", N(h).c_str(), v);
  Call(text);
  if (O(h)) O(h)->scale = v;
  return h;
}
float X2_CDECL GetBodySize(X2Object h) { return O(h) ? O(h)->bodySize : 1.0f; }
X2Object X2_CDECL GetCameraSourceObject() { return g_host->cameraSource; }

X2Object X2_CDECL CreateFish(const X2FishData*) {
  X2Object h = g_host->NewObject();
  Call("CreateFish " + N(h));
  return h;
}
void X2_CDECL RegisterObject(X2Object h) {
  Call("RegisterObject " + N(h));
  if (O(h)) O(h)->registered = true;
}
X2Object X2_CDECL SetHiddenFlag(X2Object h) {
  Call("SetHiddenFlag " + N(h));
  if (O(h)) O(h)->hidden = true;
  return h;
}
void X2_CDECL AddToBuildingFlock(X2Object h) {
  Call("AddToBuildingFlock " + N(h));
  g_host->buildingFlock.push_back(h);
}
int FlockCountNow() {
  return g_host->flockCount >= 0 ? g_host->flockCount : static_cast<int>(g_host->flocks.size());
}
int ClampFlock(int flock) {
  int n = static_cast<int>(g_host->flocks.size());
  return (flock < 0 || flock >= n) ? n - 1 : flock;
}
X2Object X2_CDECL GetFlockMember(int flock, int member) {
  Call("GetFlockMember " + std::to_string(flock) + " " + std::to_string(member));
  if (g_host->flocks.empty()) return nullptr;
  auto& f = g_host->flocks[ClampFlock(flock)];
  return member >= 0 && member < static_cast<int>(f.size()) ? f[member] : nullptr;
}
int X2_CDECL GetFlockSize(int flock) {
  if (g_host->flocks.empty()) return 0;
  return static_cast<int>(g_host->flocks[ClampFlock(flock)].size());
}
const char** X2_CDECL GetFlockNames() {
  Call("GetFlockNames");
  return g_host->flockNames.empty() ? nullptr : g_host->flockNames.data();
}
int X2_CDECL GetFlockCount() {
  Call("GetFlockCount");
  return FlockCountNow();
}
X2Object X2_CDECL CreateRenderTexture() {
  X2Object h = g_host->NewObject();
  O(h)->texture = true;
  Call("CreateRenderTexture " + N(h));
  return h;
}
void X2_CDECL SetCloneSource(X2Object t, X2Object f) { Call("SetCloneSource " + N(t) + " " + N(f)); }
void X2_CDECL AddClone(X2Object t, X2Object f) { Call("AddClone " + N(t) + " " + N(f)); }
int X2_CDECL IsTwinfinTech() {
  Call("IsTwinfinTech");
  return g_host->twinfin ? 1 : 0;
}
int X2_CDECL HasCollisionServer() { return g_host->collision ? 1 : 0; }
X2Vec3* X2_CDECL GetCollisionForce(X2Vec3* r, float, float, float, X2Object) {
  Call("GetCollisionForce");
  *r = g_host->collisionForce;
  return r;
}
X2Vec3* X2_CDECL GetCollisionForceEx(X2Vec3* r, float, float, float, X2Object, int a, int b) {
  Call("GetCollisionForceEx " + std::to_string(a) + " " + std::to_string(b));
  *r = g_host->collisionForce;
  return r;
}
int X2_CDECL HasTerrain() { return g_host->terrain ? 1 : 0; }
float X2_CDECL GetTerrainHeight(float, float, int*) { return g_host->terrain ? g_host->terrainHeight : -5.0f; }
void X2_CDECL AddHaloAnchor(float, float, float) {}
void X2_CDECL AddDebugLine(float, float, float, float, float, float) {}
void X2_CDECL LogPrint(const char* format, ...) {
  char text[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  g_host->logs.push_back(text);
  Call(std::string("LogPrint ") + text);
}

}  // namespace

FakeHost* CurrentHost() { return g_host; }

FakeHost::FakeHost() {
  g_host = this;
  table.GetPosition = GetPosition;
  table.GetPitch = GetPitch;
  table.GetYaw = GetYaw;
  table.GetRoll = GetRoll;
  table.SetPosition = SetPosition;
  table.SetPitch = SetPitch;
  table.SetYaw = SetYaw;
  table.SetRoll = SetRoll;
  table.GetSpeed = GetSpeed;
  table.SetSpeed = SetSpeed;
  table.Random = Random;
  table.GetDirection = GetDirection;
  table.GetAI = GetAI;
  table.SetAI = SetAI;
  table.GetScale = GetScale;
  table.SetScale = SetScale;
  table.GetBodySize = GetBodySize;
  table.GetCameraSourceObject = GetCameraSourceObject;
  table.CreateFish = CreateFish;
  table.RegisterObject = RegisterObject;
  table.SetHiddenFlag = SetHiddenFlag;
  table.AddToBuildingFlock = AddToBuildingFlock;
  table.GetFlockMember = GetFlockMember;
  table.GetFlockSize = GetFlockSize;
  table.GetFlockNames = GetFlockNames;
  table.GetFlockCount = GetFlockCount;
  table.CreateRenderTexture = CreateRenderTexture;
  table.SetCloneSource = SetCloneSource;
  table.AddClone = AddClone;
  table.IsTwinfinTech = IsTwinfinTech;
  table.HasCollisionServer = HasCollisionServer;
  table.GetCollisionForce = GetCollisionForce;
  table.GetCollisionForceEx = GetCollisionForceEx;
  table.HasTerrain = HasTerrain;
  table.GetTerrainHeight = GetTerrainHeight;
  table.AddHaloAnchor = AddHaloAnchor;
  table.LogPrint = LogPrint;
  table.AddDebugLine = AddDebugLine;
}

FakeHost::~FakeHost() {
  for (auto& o : objects) {
    if (o->ai) o->ai->Destroy(1);
    o->ai = nullptr;
  }
  if (g_host == this) g_host = nullptr;
}

FakeObject* FakeHost::Obj(X2Object handle) {
  for (auto& o : objects)
    if (o.get() == handle) return o.get();
  return nullptr;
}

X2Object FakeHost::NewObject() {
  objects.push_back(std::make_unique<FakeObject>());
  objects.back()->id = static_cast<int>(objects.size());
  return objects.back().get();
}

std::string FakeHost::Name(X2Object handle) {
  if (!handle) return "null";
  return "f" + std::to_string(static_cast<FakeObject*>(handle)->id);
}

std::vector<std::string> FakeHost::CallsNamed(const std::vector<std::string>& names) const {
  std::vector<std::string> out;
  for (const std::string& c : calls) {
    std::string head = c.substr(0, c.find(' '));
    for (const std::string& n : names)
      if (head == n) out.push_back(c);
  }
  return out;
}

int FakeHost::CountCalls(const std::string& prefix) const {
  int n = 0;
  for (const std::string& c : calls)
    if (c.compare(0, prefix.size(), prefix) == 0) ++n;
  return n;
}

}  // namespace aitest
