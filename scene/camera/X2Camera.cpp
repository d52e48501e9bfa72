#include "X2Camera.h"

#include <algorithm>
#include <cmath>

#include "config/X2CameraConfig.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "pluginlists/X2CameraAIList.h"
#include "world/C3Move.h"
#include "world/C3World.h"

namespace {

// The camera's pose until the world has started.
const D3DXVECTOR3 kStartPosition(0.0f, -3.0f, -15.0f);
const D3DXVECTOR3 kStartTarget(0.0f, -3.0f, -17.0f);

// A plug-in's handle of a host object: the address of its C3Object part.
X2Object Handle(C3Object* object) { return static_cast<void*>(object); }

float IntervalOf(const X2CameraConfig* config) {
  return config ? config->ChangeInterval() : CameraChangeInterval(0);
}

// The mover steered by ai; the AI learns its owner as the host tells it.
void GiveAI(C3Move* mover, X2AIObject* ai) {
  if (!mover) return;
  mover->ai = ai;
  if (ai) ai->owner = Handle(mover);
}

void StepCameraAI(X2AIObject* ai, float now, float previous, C3Move* mover) {
  if (ai && mover) ai->Step(now, previous, Handle(mover));
}

}  // namespace

bool AdvanceCameraIndex(float now, float interval, int entryCount, float* lastSwitch, int* index) {
  if (!(now - *lastSwitch > interval)) return false;
  int next = *index + 1;
  if (next >= entryCount || next < 0) next = 0;
  *index = next;
  *lastSwitch = now;
  return true;
}

void ApplyCameraStartPose(bool worldStarted, D3DXVECTOR3* position, D3DXVECTOR3* target) {
  if (worldStarted) return;
  *position = kStartPosition;
  *target = kStartTarget;
}

D3DXVECTOR3 CameraDirection(const D3DXVECTOR3& from, const D3DXVECTOR3& to) {
  const D3DXVECTOR3 d = to - from;
  const float length = D3DXVec3Length(&d);
  if (!(length > 1e-6f) || !std::isfinite(length)) return D3DXVECTOR3(0.0f, 0.0f, 1.0f);
  return d / length;
}

void CameraLookAt(D3DXMATRIX* out, const D3DXVECTOR3& eye, const D3DXVECTOR3& at,
                  const D3DXVECTOR3& up) {
  const D3DXVECTOR3 d = CameraDirection(eye, at);
  const D3DXVECTOR3 lookAt = eye + d;
  D3DXVECTOR3 side, upAxis = up;
  D3DXVec3Cross(&side, &upAxis, &d);
  if (!(D3DXVec3Length(&side) > 1e-6f)) {
    upAxis = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    D3DXVec3Cross(&side, &upAxis, &d);
    if (!(D3DXVec3Length(&side) > 1e-6f)) upAxis = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
  }
  D3DXMatrixLookAtLH(out, &eye, &lookAt, &upAxis);
}

int CameraEntryCount(const X2CameraConfig* config) {
  return config ? std::min(config->Count(), kMaxCameraAIs) : 0;
}

int CreateCameraAIs(const X2CameraConfig* config, const X2CameraAIList* list,
                    X2HostCallbacks* host, X2AIObject* ais[kMaxCameraAIs],
                    int direct[kMaxCameraAIs]) {
  std::fill(ais, ais + kMaxCameraAIs, nullptr);
  std::fill(direct, direct + kMaxCameraAIs, 0);
  if (!config || !list) return 0;
  if (config->Count() > kMaxCameraAIs)
    LogPrint("Camera %s: %d entries, only the first %d are used\n", config->ListName().c_str(),
             config->Count(), kMaxCameraAIs);
  int made = 0;
  const int entries = CameraEntryCount(config);
  for (int i = 0; i < entries; ++i) {
    const X2ConfigEntry* entry = config->Entry(i);
    const X2AIData* data = entry ? list->GetData(entry->AI()) : nullptr;
    if (!data) continue;  // the plug-in is not there: the slot stays empty
    direct[i] = static_cast<int>(data->capabilities & X2_AI_CAMERA_FLAG);
    if (!data->CreateInstance) {
      LogPrint("Camera %s %d: %s has no CreateInstance\n", config->ListName().c_str(), i, entry->AI());
      continue;
    }
    const char* param = entry->Param() ? entry->Param() : "";
    ais[i] = data->CreateInstance(param, host);
    if (ais[i])
      ++made;
    else
      LogPrint("Camera %s %d: %s made no AI object\n", config->ListName().c_str(), i, entry->AI());
  }
  return made;
}

void DeleteCameraAIs(X2AIObject* ais[kMaxCameraAIs]) {
  for (int i = 0; i < kMaxCameraAIs; ++i) {
    X2DeleteAIObject(ais[i]);
    ais[i] = nullptr;
  }
}

X2Camera::X2Camera(X2HostCallbacks* host) : host_(host) { SetClassName("X2Camera"); }

X2Camera::~X2Camera() {
  DeleteCameraAIs(sourceAI);
  DeleteCameraAIs(targetAI);
  if (ownsMovers_) {
    delete sourceMover;
    delete targetMover;
  }
}

float X2Camera::BackBufferAspect() const {
  C3SceneHost* host = GetSceneHost();
  const float w = static_cast<float>(host->GetBackBufferWidth());
  const float h = static_cast<float>(host->GetBackBufferHeight());
  return h > 0.0f && w > 0.0f ? w / h : 1.0f;
}

HRESULT X2Camera::InitDeviceObjects() {
  // The movers are made once: plug-ins may hold their handles, and a second
  // device (after a full release) must not add a second pair to the world.
  if (!sourceMover) {
    sourceMover = new C3Move;
    targetMover = new C3Move;
    if (C3World* world = C3World::Current()) {
      world->AddChild(sourceMover);
      world->AddChild(targetMover);
    } else {
      ownsMovers_ = true;
    }
  }
  // AIs left from an earlier device are replaced, not leaked.
  DeleteCameraAIs(sourceAI);
  DeleteCameraAIs(targetAI);
  sourceCount = CreateCameraAIs(TheSourceCameraConfig, TheSourceCameraAIList, host_, sourceAI,
                                sourceDirect);
  targetCount = CreateCameraAIs(TheTargetCameraConfig, TheTargetCameraAIList, host_, targetAI,
                                targetDirect);
  HandOverAIs();
  return C3Camera::InitDeviceObjects();
}

HRESULT X2Camera::DeleteDeviceObjects() {
  DeleteCameraAIs(sourceAI);
  DeleteCameraAIs(targetAI);
  sourceCount = targetCount = 0;
  HandOverAIs();  // the movers hold no deleted AI
  return C3Camera::DeleteDeviceObjects();
}

void X2Camera::HandOverAIs() {
  GiveAI(sourceMover, sourceAI[sourceIndex]);
  GiveAI(targetMover, targetAI[targetIndex]);
}

bool X2Camera::SwitchCameras(float now) {
  const bool source = AdvanceCameraIndex(now, IntervalOf(TheSourceCameraConfig),
                                         CameraEntryCount(TheSourceCameraConfig), &lastSourceSwitch,
                                         &sourceIndex);
  const bool target = AdvanceCameraIndex(now, IntervalOf(TheTargetCameraConfig),
                                         CameraEntryCount(TheTargetCameraConfig), &lastTargetSwitch,
                                         &targetIndex);
  if (source || target) HandOverAIs();
  return source;
}

bool X2Camera::UpdateDirectMode() {
  directMode = sourceDirect[sourceIndex] != 0 || targetDirect[targetIndex] != 0;
  return directMode;
}

void X2Camera::FollowFlocks(float current, float previous, bool nextFlock) {
  const C3World* world = C3World::Current();
  const bool started = world && world->started;
  // It goes on from wherever the mover was put, and leaves from the start
  // pose.
  const D3DXVECTOR3 from = started ? sourceMover->position : kStartPosition;
  if (from != follow_.Position()) follow_.Place(from);
  if (nextFlock) follow_.NextFlock(followScene_);
  // With no fish to follow the mover stays where it is.
  if (!follow_.HasFish()) return;
  // The camera runs on the unscaled clock, the fish on the scene's.
  if (started) follow_.Step(followScene_, (current - previous) * world->GetSpeedFactor());
  sourceMover->position = follow_.Position();
}

HRESULT X2Camera::Move(float current, float previous) {
  const bool sourceSwitched = SwitchCameras(current);
  UpdateDirectMode();
  // The AIs' results are not used: an AI keeps its objects.
  if (sourceMover) {
    if (sourceCount > 0)
      StepCameraAI(sourceAI[sourceIndex], current, previous, sourceMover);
    else
      FollowFlocks(current, previous, sourceSwitched);
  }
  StepCameraAI(targetAI[targetIndex], current, previous, targetMover);

  const D3DXVECTOR3 zero(0.0f, 0.0f, 0.0f);
  position = positionAverage.Add(sourceMover ? sourceMover->position : zero);
  target = targetAverage.Add(targetMover ? targetMover->position : zero);
  const C3World* world = C3World::Current();
  ApplyCameraStartPose(world && world->started != 0, &position, &target);
  direction = CameraDirection(position, target);

  C3Camera::Move(current, previous);
  // The base's look-at has no answer when eye and target coincide.
  D3DXVECTOR3 eye, at;
  GetPosition(&eye);
  GetTarget(&at);
  CameraLookAt(&view, eye, at, D3DXVECTOR3(0.0f, 1.0f, 0.0f));
  return 0;
}

D3DXVECTOR3* X2Camera::GetTarget(D3DXVECTOR3* out) {
  *out = target;
  return out;
}

D3DXVECTOR3* X2Camera::GetDirection(D3DXVECTOR3* out) {
  *out = direction;
  return out;
}
