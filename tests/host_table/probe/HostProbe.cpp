// The probe library: every call below goes through the table it is handed.
#define HOST_PROBE_BUILD
#include "HostProbe.h"

#include <cstring>

namespace {

int g_made = 0;
int g_destroyed = 0;

class ProbeAI : public X2AIObjectImpl<ProbeAI> {
 public:
  ProbeAI(X2HostCallbacks* host, int kind) : host_(host), kind_(kind) { ++g_made; }
  ~ProbeAI() { ++g_destroyed; }

  X2AIObject* X2_THISCALL Step(float now, float previous, X2Object self) override {
    ++steps_;
    lastSelf_ = self;
    switch (kind_) {
      case kProbeHandOver:
        return new ProbeAI(host_, kProbeKeep);
      case kProbeSelf:
        return this;
      case kProbeSwim:
        if (host_->SetSpeed) host_->SetSpeed(self, 1.0f);
        if (host_->GetYaw && host_->SetYaw) host_->SetYaw(self, host_->GetYaw(self) + (now - previous) * 0.5f);
        return nullptr;
      default:
        return nullptr;
    }
  }

  X2HostCallbacks* host_;
  int kind_;
  int steps_ = 0;
  X2Object lastSelf_ = nullptr;
};

}  // namespace

PROBE_API void ProbeObjectSlots(X2HostCallbacks* h, X2Object obj, X2AIObject* ai,
                                ProbeObjectResult* out) {
  std::memset(out, 0, sizeof *out);
  const X2Vec3 p = {1.5f, -2.0f, 3.25f};
  const X2Vec3 d = {0.0f, 0.6f, 0.8f};
  out->setPositionResult = h->SetPosition(obj, &p);
  out->setDirectionResult = h->SetDirection(obj, &d);
  out->setterResults[0] = h->SetPitch(obj, 0.25f);
  out->setterResults[1] = h->SetYaw(obj, -1.5f);
  out->setterResults[2] = h->SetRoll(obj, 0.75f);
  out->setterResults[3] = h->SetSpeed(obj, 2.5f);
  out->setterResults[4] = h->SetScale(obj, 1.75f);
  out->setterResults[5] = h->SetUserFlag(obj);
  out->userAfterSet = h->TestUserFlag(obj);
  out->setterResults[6] = h->ClearUserFlag(obj);
  out->userAfterClear = h->TestUserFlag(obj);
  out->setterResults[7] = h->SetHiddenFlag(obj);
  out->setterResults[8] = h->SetDriftWithCurrent(obj, 1);

  out->positionReturned = h->GetPosition(&out->position, obj);
  h->GetDirection(&out->direction, obj);
  h->GetBoundsMin(&out->boundsMin, obj);
  h->GetBoundsMax(&out->boundsMax, obj);
  out->pitch = h->GetPitch(obj);
  out->yaw = h->GetYaw(obj);
  out->roll = h->GetRoll(obj);
  out->speed = h->GetSpeed(obj);
  out->scale = h->GetScale(obj);
  out->bodySize = h->GetBodySize(obj);
  out->world = h->GetWorldMatrix(obj);
  out->rotation = h->GetRotationMatrix(obj);
  out->block104 = h->GetBlock104(obj);
  out->block124 = h->GetBlock124(obj);
  h->SetAI(obj, ai);
  out->aiAfterSet = h->GetAI(obj);
  h->SetAI(obj, nullptr);
  out->aiAfterClear = h->GetAI(obj);
}

PROBE_API void ProbeNullSlots(X2HostCallbacks* h, ProbeNullResult* out) {
  std::memset(out, 0x55, sizeof *out);
  const X2Vec3 p = {1.0f, 2.0f, 3.0f};
  h->GetPosition(&out->position, nullptr);
  h->GetDirection(&out->direction, nullptr);
  h->GetBoundsMin(&out->boundsMin, nullptr);
  h->GetBoundsMax(&out->boundsMax, nullptr);
  out->pitch = h->GetPitch(nullptr);
  out->yaw = h->GetYaw(nullptr);
  out->roll = h->GetRoll(nullptr);
  out->speed = h->GetSpeed(nullptr);
  out->scale = h->GetScale(nullptr);
  out->bodySize = h->GetBodySize(nullptr);
  out->swimFactor = h->GetSwimFactor(nullptr);
  out->setPosition = h->SetPosition(nullptr, &p);
  out->setDirection = h->SetDirection(nullptr, &p);
  out->setters[0] = h->SetPitch(nullptr, 1.0f);
  out->setters[1] = h->SetYaw(nullptr, 1.0f);
  out->setters[2] = h->SetRoll(nullptr, 1.0f);
  out->setters[3] = h->SetSpeed(nullptr, 1.0f);
  out->setters[4] = h->SetScale(nullptr, 1.0f);
  out->setters[5] = h->SetUserFlag(nullptr);
  out->setters[6] = h->ClearUserFlag(nullptr);
  out->setters[7] = h->SetHiddenFlag(nullptr);
  out->setters[8] = h->SetDriftWithCurrent(nullptr, 1);
  out->setters[9] = h->SetSwimState(nullptr, 0.5f, 0.5f);
  out->setters[10] = nullptr;
  out->world = h->GetWorldMatrix(nullptr);
  out->rotation = h->GetRotationMatrix(nullptr);
  out->block104 = h->GetBlock104(nullptr);
  out->block124 = h->GetBlock124(nullptr);
  h->SetAI(nullptr, nullptr);
  out->ai = h->GetAI(nullptr);
  out->user = h->TestUserFlag(nullptr);
  out->swim[0] = out->swim[1] = out->swim[2] = -9.0f;
  h->GetSwimState(nullptr, &out->swim[0], &out->swim[1], &out->swim[2]);
  h->SetDolphinParam(nullptr, 3, 1.0f);
  out->dolphinParamDone = nullptr;
  out->frame = h->FindFrameMatrix(nullptr, "Frame");
  h->RegisterObject(nullptr);
  h->AddToBuildingFlock(nullptr);
  h->SetCameraOwnObject(nullptr);
  h->SetCloneSource(nullptr, nullptr);
  h->AddClone(nullptr, nullptr);
}

PROBE_API void ProbeSceneSlots(X2HostCallbacks* h, ProbeSceneResult* out) {
  std::memset(out, 0x55, sizeof *out);
  out->cameraSource = h->GetCameraSourceObject();
  out->cameraTarget = h->GetCameraTargetObject();
  out->mouseReturned = h->GetMouseRotation(reinterpret_cast<X2Matrix*>(out->mouse));
  out->mouseNull = h->GetMouseRotation(nullptr);
  out->buttons = h->GetMouseButtons();
  out->aux = h->GetAuxBlock();
  out->dolphin = h->CreateDolphin(nullptr);
  out->twinfin = h->IsTwinfinTech();
  out->hasCollision = h->HasCollisionServer();
  out->collisionReturned = h->GetCollisionForce(&out->collision, 1.0f, 2.0f, 3.0f, nullptr);
  h->GetCollisionForceEx(&out->collisionEx, 1.0f, 2.0f, 3.0f, nullptr, 1, 2);
  out->worldRange = h->GetWorldRange();
  out->hasTerrain = h->HasTerrain();
  out->onStructure = 7;
  out->height = h->GetTerrainHeight(4.0f, -4.0f, &out->onStructure);
  out->heightNullFlag = h->GetTerrainHeight(0.0f, 0.0f, nullptr);
  h->GetWanderTarget(&out->wander);
  h->GetCameraPosition(&out->cameraPosition);
  h->AddHaloAnchor(1.0f, 2.0f, 3.0f);
  h->AddDebugLine(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f);
}

PROBE_API void ProbeFishSlots(X2HostCallbacks* h, X2Object fish, X2Object other,
                              ProbeFishResult* out) {
  std::memset(out, 0, sizeof *out);
  out->setSwimResult = h->SetSwimState(fish, 0.375f, 0.625f);
  h->GetSwimState(fish, &out->shownSwim, &out->swimPhase, &out->swimMax);
  out->swimFactor = h->GetSwimFactor(fish);
  h->SetSwimState(other, 0.9f, 0.9f);
  out->otherSwim[0] = out->otherSwim[1] = out->otherSwim[2] = -9.0f;
  h->GetSwimState(other, &out->otherSwim[0], &out->otherSwim[1], &out->otherSwim[2]);
  out->otherFactor = h->GetSwimFactor(other);
  h->GetSwimState(fish, nullptr, nullptr, nullptr);
}

PROBE_API void ProbeFlockSlots(X2HostCallbacks* h, ProbeFlockResult* out) {
  out->count = h->GetFlockCount();
  out->sizeLast = h->GetFlockSize(1000);
  out->sizeNegative = h->GetFlockSize(-1);
  out->sizeFirst = h->GetFlockSize(0);
  out->member70 = h->GetFlockMember(7, 0);
  out->memberOut = h->GetFlockMember(0, 1000);
  out->memberNegative = h->GetFlockMember(0, -1);
  out->names = h->GetFlockNames();
}

PROBE_API void ProbeRandoms(X2HostCallbacks* h, int count, float* out) {
  for (int i = 0; i < count; ++i) out[i] = h->Random();
}

PROBE_API void ProbeText(X2HostCallbacks* h, int panel, const char* word, int number) {
  h->LogPrint("probe %s %d %.2f\n", word, number, 0.5);
  h->PrintToPanel(panel, "panel %s %d", word, number);
}

PROBE_API void ProbeNullFormats(X2HostCallbacks* h) {
  h->LogPrint(nullptr);
  h->PrintToPanel(0, nullptr);
  h->PrintToPanel(-1, "x");
  h->PrintToPanel(35, "x");
  h->PrintToPanel(1000000, "x");
  // A long text through a %s of our own: bounded, never overrun.
  static char longText[5000];
  std::memset(longText, 'a', sizeof longText - 1);
  h->LogPrint("%s\n", longText);
  h->PrintToPanel(0, "%s", longText);
}

PROBE_API X2Object ProbeBuildTextureRow(X2HostCallbacks* h, const X2FishData* record, int count,
                                        X2Object* fish) {
  X2Object texture = h->CreateRenderTexture();
  h->RegisterObject(texture);
  for (int i = 0; i <= count; ++i) {
    fish[i] = h->CreateFish(record);
    h->AddToBuildingFlock(fish[i]);
    h->RegisterObject(fish[i]);
    if (i == 0)
      h->SetCloneSource(texture, fish[i]);
    else
      h->AddClone(texture, fish[i]);
  }
  return texture;
}

PROBE_API void ProbeBadBinding(X2HostCallbacks* h, X2Object fish, X2Object texture,
                               X2Object plain) {
  h->SetCloneSource(nullptr, fish);
  h->SetCloneSource(texture, nullptr);
  h->SetCloneSource(fish, texture);  // swapped
  h->SetCloneSource(plain, fish);
  h->SetCloneSource(texture, plain);
  h->AddClone(nullptr, fish);
  h->AddClone(texture, nullptr);
  h->AddClone(fish, texture);
  h->AddClone(plain, fish);
  h->AddClone(texture, plain);
  h->SetSwimState(texture, 1.0f, 1.0f);
}

PROBE_API X2AIObject* ProbeCreateAI(X2HostCallbacks* host, int kind) {
  return new ProbeAI(host, kind);
}

PROBE_API int ProbeAIKind(X2AIObject* ai) { return static_cast<ProbeAI*>(ai)->kind_; }
PROBE_API int ProbeAISteps(X2AIObject* ai) { return static_cast<ProbeAI*>(ai)->steps_; }
PROBE_API X2Object ProbeAILastSelf(X2AIObject* ai) { return static_cast<ProbeAI*>(ai)->lastSelf_; }
PROBE_API int ProbeAIsMade() { return g_made; }
PROBE_API int ProbeAIsDestroyed() { return g_destroyed; }
PROBE_API void ProbeResetCounters() { g_made = g_destroyed = 0; }
