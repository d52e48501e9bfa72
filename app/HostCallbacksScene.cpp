// Host slots of the camera, the mouse, the settings, the scene's shared parts
// (terrain, collision fields, ring wander, dolphins, X-file frames) and text.
//
// Where a scene part is missing (not made in this run, or not part of the
// program yet) the slot gives its stated default. Each part is reached in one
// place below, so a part that arrives is wired there.
#include <cstdarg>

#include "HostCallbacks.h"
#include "HostSlots.h"
#include "MyApplication.h"
#include "Settings.h"
#include "camera/X1RingWander.h"
#include "camera/X2HumanCamera.h"
#include "collision/X1CollisionServer.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "fish/FishMotion.h"
#include "frame/C3SceneHost.h"
#include "panels/C7TexturePanel.h"
#include "structures/X5SkinObject.h"
#include "structures/X6Dolphin.h"
#include "terrain/X1Terrain.h"
#include "world/C3Camera.h"

namespace hostslots {

namespace {

constexpr float kNoTerrainHeight = -5.0f;
constexpr int kLogTextSize = 1024;

X2Vec3* PutZero(X2Vec3* result) {
  if (result) *result = X2Vec3{0.0f, 0.0f, 0.0f};
  return result;
}

// --- Scene parts. ---

// The human camera's position and look-at carriers (null before its device
// objects are made).
C3Object* CameraCarrier(bool target) {
  if (!TheCamera) return nullptr;
  return target ? TheCamera->targetMover : TheCamera->sourceMover;
}

bool TerrainBuilt() { return TheTerrain->IsBuilt(); }
// The exact floor, raised to a structure top where one is higher.
bool TerrainHeight(float x, float z, float* height, bool* onStructure) {
  int marker = 0;
  *height = TheTerrain->GetHeight(x, z, &marker, false, false);
  *onStructure = marker != 0;
  return true;
}

// The two extra words reach every field as its asker radius and band (0:
// the field's default), by value.
bool CollisionForce(const D3DXVECTOR3& at, C3Object* self, int a, int b, D3DXVECTOR3* force) {
  TheCollisionServer->GetForce(force, at, self, static_cast<float>(a), static_cast<float>(b));
  return true;
}

bool WanderTarget(D3DXVECTOR3* point) {
  if (!TheRingWander) return false;
  TheRingWander->GetPosition(point);
  return true;
}

// Registered and given its AI by the plug-in.
C3Object* MakeDolphin(const X2FishData* record) {
  if (!record) {
    ::LogPrint("CreateDolphin: no record\n");
    return nullptr;
  }
  return new X6Dolphin(record);
}

// Any X-file object takes tuning values and answers for its frames.
void TuneDolphin(C3Object* object, int index, float value) {
  if (auto* skinned = dynamic_cast<X5SkinObject*>(object)) skinned->SetBoneParameter(index, value);
}

D3DMATRIX* FrameMatrix(C3Object* object, const char* frameName) {
  auto* skinned = dynamic_cast<X5SkinObject*>(object);
  return skinned ? skinned->FindFrameMatrix(frameName) : nullptr;
}

}  // namespace

X2Object X2_CDECL GetCameraSourceObject() { return HostHandle(CameraCarrier(false)); }
X2Object X2_CDECL GetCameraTargetObject() { return HostHandle(CameraCarrier(true)); }

// The arcball's yaw and pitch rotation (pitch held within +-pi/2); the
// identity before the application exists.
X2Matrix* X2_CDECL GetMouseRotation(X2Matrix* out) {
  if (!out) return nullptr;
  D3DXMATRIX rotation;
  if (TheApp)
    rotation = *TheApp->Arcball().GetRotation();
  else
    D3DXMatrixIdentity(&rotation);
  *out = rotation;
  return out;
}

int X2_CDECL GetMouseButtons() {
  if (!TheApp) return 0;
  const C3Arcball& ball = TheApp->Arcball();
  return (ball.IsDragging() ? 1 : 0) | (ball.IsRightButtonDown() ? 2 : 0) |
         (ball.IsMiddleButtonDown() ? 4 : 0);
}

// The human camera's own object; any other main camera's rider while the
// scene has none.
void X2_CDECL SetCameraOwnObject(X2Object obj) {
  C3Camera* camera = TheCamera ? TheCamera : GetMainCamera();
  if (camera) camera->SetRiderObject(HostObject(obj));
}

void* X2_CDECL GetAuxBlock() { return nullptr; }

X2Object X2_CDECL CreateDolphin(const X2FishData* fish) {
  return Guarded<X2Object>("CreateDolphin", nullptr, [&] { return HostHandle(MakeDolphin(fish)); });
}

void X2_CDECL SetDolphinParam(X2Object obj, int index, float value) {
  if (C3Object* o = HostObject(obj)) TuneDolphin(o, index, value);
}

X2Matrix* X2_CDECL FindFrameMatrix(X2Object obj, const char* frameName) {
  C3Object* o = HostObject(obj);
  if (!o || !frameName) return nullptr;
  return FrameMatrix(o, frameName);
}

int X2_CDECL IsTwinfinTech() { return GetTechSetting(kTechTwinfinTech) != 0 ? 1 : 0; }

int X2_CDECL HasCollisionServer() { return TheCollisionServer != nullptr ? 1 : 0; }

X2Vec3* X2_CDECL GetCollisionForce(X2Vec3* result, float x, float y, float z, X2Object self) {
  return GetCollisionForceEx(result, x, y, z, self, 0, 0);
}

float X2_CDECL GetWorldRange() { return GetSceneSetting(kSceneSmallWorld) != 0 ? 0.0f : 100.0f; }

X2Vec3* X2_CDECL GetCollisionForceEx(X2Vec3* result, float x, float y, float z, X2Object self,
                                     int a, int b) {
  D3DXVECTOR3 force(0.0f, 0.0f, 0.0f);
  if (!result) return nullptr;
  if (TheCollisionServer && CollisionForce(D3DXVECTOR3(x, y, z), HostObject(self), a, b, &force)) {
    *result = X2Vec3{force.x, force.y, force.z};
    return result;
  }
  return PutZero(result);
}

int X2_CDECL HasTerrain() { return TheTerrain && TerrainBuilt() ? 1 : 0; }

// onStructure is written only when a structure surface gave the height.
float X2_CDECL GetTerrainHeight(float x, float z, int* onStructure) {
  float height = kNoTerrainHeight;
  bool structure = false;
  if (!HasTerrain() || !TerrainHeight(x, z, &height, &structure)) return kNoTerrainHeight;
  if (structure && onStructure) *onStructure = 1;
  return height;
}

X2Vec3* X2_CDECL GetWanderTarget(X2Vec3* result) {
  D3DXVECTOR3 point;
  if (!result) return nullptr;
  if (TheRingWander && WanderTarget(&point)) {
    *result = X2Vec3{point.x, point.y, point.z};
    return result;
  }
  return PutZero(result);
}

// The anchor object and the debug-line holder are never made here.
void X2_CDECL AddHaloAnchor(float, float, float) {}
void X2_CDECL AddDebugLine(float, float, float, float, float, float) {}

// The plug-in's format with its own arguments only, bounded. Plug-ins log
// from their steps: nothing is formatted while the log is off.
void X2_CDECL LogPrint(const char* format, ...) {
  if (!format || GetDebugLogLevel() <= 0) return;
  char text[kLogTextSize];
  va_list args;
  va_start(args, format);
  FormatBounded(text, sizeof text, format, args);
  va_end(args);
  ::LogPrint("%s", text);
}

void X2_CDECL PrintToPanel(int panel, const char* format, ...) {
  if (panel < 0 || panel >= kTextPanelCount || !ThePanels[panel] || !format) return;
  va_list args;
  va_start(args, format);
  Guarded("PrintToPanel", [&] { C7TexturePanel::PrintfV(ThePanels[panel], format, args); });
  va_end(args);
}

X2Vec3* X2_CDECL GetCameraPosition(X2Vec3* result) {
  if (!result) return nullptr;
  C3Camera* camera = GetMainCamera();
  if (!camera) return PutZero(result);
  D3DXVECTOR3 p;
  camera->GetPosition(&p);
  *result = X2Vec3{p.x, p.y, p.z};
  return result;
}

}  // namespace hostslots
