#pragma once
// The filled slots of the host callback table, by subject. Every slot takes
// plug-in arguments as they come: null handles give the stated default,
// handles of another class than the slot needs are ignored.
#include <new>

#include "X2PluginAbi.h"
#include "diagnostics/Diagnostics.h"

namespace hostslots {

// Runs the body of a slot that allocates, so that no C++ exception crosses
// into plug-in code: a failure (memory running out) is logged and the slot
// gives `failed`; the plug-in goes on.
template <class Result, class Body>
Result Guarded(const char* slot, Result failed, Body body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    ::LogPrint("KWEX %s: out of memory\n", slot);
  } catch (...) {
    ::LogPrint("KWEX %s: failed\n", slot);
  }
  return failed;
}
// The same for a slot without a result.
template <class Body>
void Guarded(const char* slot, Body body) noexcept {
  Guarded(slot, 0, [&] {
    body();
    return 0;
  });
}

// Object pose, heading, AI, scale, flags, bounds (HostCallbacksObject.cpp).
X2Vec3* X2_CDECL GetPosition(X2Vec3* result, X2Object obj);
float X2_CDECL GetPitch(X2Object obj);
float X2_CDECL GetYaw(X2Object obj);
float X2_CDECL GetRoll(X2Object obj);
float* X2_CDECL SetPosition(X2Object obj, const X2Vec3* p);
X2Object X2_CDECL SetPitch(X2Object obj, float value);
X2Object X2_CDECL SetYaw(X2Object obj, float value);
X2Object X2_CDECL SetRoll(X2Object obj, float value);
float X2_CDECL GetSpeed(X2Object obj);
X2Object X2_CDECL SetSpeed(X2Object obj, float value);
float X2_CDECL Random();
X2Matrix* X2_CDECL GetWorldMatrix(X2Object obj);
X2Matrix* X2_CDECL GetRotationMatrix(X2Object obj);
void* X2_CDECL GetBlock104(X2Object obj);
void* X2_CDECL GetBlock124(X2Object obj);
X2Vec3* X2_CDECL GetDirection(X2Vec3* result, X2Object obj);
X2AIObject* X2_CDECL GetAI(X2Object obj);
void X2_CDECL SetAI(X2Object obj, X2AIObject* ai);
float X2_CDECL GetScale(X2Object obj);
X2Object X2_CDECL SetScale(X2Object obj, float value);
X2Object X2_CDECL SetUserFlag(X2Object obj);
X2Object X2_CDECL ClearUserFlag(X2Object obj);
int X2_CDECL TestUserFlag(X2Object obj);
float* X2_CDECL SetDirection(X2Object obj, const X2Vec3* d);
float X2_CDECL GetBodySize(X2Object obj);
X2Vec3* X2_CDECL GetBoundsMin(X2Vec3* result, X2Object obj);
X2Vec3* X2_CDECL GetBoundsMax(X2Vec3* result, X2Object obj);
X2Object X2_CDECL SetHiddenFlag(X2Object obj);
X2Object X2_CDECL SetDriftWithCurrent(X2Object obj, int on);

// Fish, render textures and flocks (HostCallbacksFish.cpp).
void X2_CDECL GetSwimState(X2Object obj, float* shownSwim, float* swimPhase, float* swimMax);
X2Object X2_CDECL SetSwimState(X2Object obj, float shownSwim, float swimPhase);
float X2_CDECL GetSwimFactor(X2Object obj);
X2Object X2_CDECL CreateFish(const X2FishData* fish);
void X2_CDECL RegisterObject(X2Object obj);
void X2_CDECL AddToBuildingFlock(X2Object obj);
X2Object X2_CDECL GetFlockMember(int flock, int member);
int X2_CDECL GetFlockSize(int flock);
const char** X2_CDECL GetFlockNames();
int X2_CDECL GetFlockCount();
X2Object X2_CDECL CreateRenderTexture();
void X2_CDECL SetCloneSource(X2Object texture, X2Object fish);
void X2_CDECL AddClone(X2Object texture, X2Object fish);

// Camera, mouse, settings, terrain, collision, dolphins, text
// (HostCallbacksScene.cpp).
X2Object X2_CDECL GetCameraSourceObject();
X2Object X2_CDECL GetCameraTargetObject();
X2Matrix* X2_CDECL GetMouseRotation(X2Matrix* out);
int X2_CDECL GetMouseButtons();
void X2_CDECL SetCameraOwnObject(X2Object obj);
void* X2_CDECL GetAuxBlock();
X2Object X2_CDECL CreateDolphin(const X2FishData* fish);
void X2_CDECL SetDolphinParam(X2Object obj, int index, float value);
X2Matrix* X2_CDECL FindFrameMatrix(X2Object obj, const char* frameName);
int X2_CDECL IsTwinfinTech();
int X2_CDECL HasCollisionServer();
X2Vec3* X2_CDECL GetCollisionForce(X2Vec3* result, float x, float y, float z, X2Object self);
float X2_CDECL GetWorldRange();
X2Vec3* X2_CDECL GetCollisionForceEx(X2Vec3* result, float x, float y, float z, X2Object self,
                                     int a, int b);
int X2_CDECL HasTerrain();
float X2_CDECL GetTerrainHeight(float x, float z, int* onStructure);
X2Vec3* X2_CDECL GetWanderTarget(X2Vec3* result);
void X2_CDECL AddHaloAnchor(float x, float y, float z);
void X2_CDECL LogPrint(const char* format, ...);
void X2_CDECL AddDebugLine(float fromX, float fromY, float fromZ, float toX, float toY, float toZ);
void X2_CDECL PrintToPanel(int panel, const char* format, ...);
X2Vec3* X2_CDECL GetCameraPosition(X2Vec3* result);

}  // namespace hostslots
