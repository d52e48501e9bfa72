// Host slots that read and set one property of any scene object.
#include "C3Move.h"
#include "FishMotion.h"
#include "HostCallbacks.h"
#include "HostSlots.h"

namespace hostslots {

namespace {

X2Vec3 ToVec(const D3DXVECTOR3& v) { return X2Vec3{v.x, v.y, v.z}; }

X2Vec3* Put(X2Vec3* result, const X2Vec3& v) {
  if (result) *result = v;
  return result;
}

X2Object SetFlagBits(X2Object obj, uint32_t bits, bool on) {
  if (C3Object* o = HostObject(obj)) {
    if (on)
      o->flags |= bits;
    else
      o->flags &= ~bits;
  }
  return obj;
}

}  // namespace

X2Vec3* X2_CDECL GetPosition(X2Vec3* result, X2Object obj) {
  const C3Object* o = HostObject(obj);
  return Put(result, o ? ToVec(o->position) : X2Vec3{0.0f, 0.0f, 0.0f});
}

float X2_CDECL GetPitch(X2Object obj) {
  const C3Object* o = HostObject(obj);
  return o ? o->rotX : 0.0f;
}

float X2_CDECL GetYaw(X2Object obj) {
  const C3Object* o = HostObject(obj);
  return o ? o->rotY : 0.0f;
}

float X2_CDECL GetRoll(X2Object obj) {
  const C3Object* o = HostObject(obj);
  return o ? o->rotZ : 0.0f;
}

float* X2_CDECL SetPosition(X2Object obj, const X2Vec3* p) {
  C3Object* o = HostObject(obj);
  if (!o) return nullptr;
  if (p) o->position = D3DXVECTOR3(p->x, p->y, p->z);
  return &o->position.x;
}

X2Object X2_CDECL SetPitch(X2Object obj, float value) {
  if (C3Object* o = HostObject(obj)) o->rotX = value;
  return obj;
}

X2Object X2_CDECL SetYaw(X2Object obj, float value) {
  if (C3Object* o = HostObject(obj)) o->rotY = value;
  return obj;
}

X2Object X2_CDECL SetRoll(X2Object obj, float value) {
  if (C3Object* o = HostObject(obj)) o->rotZ = value;
  return obj;
}

float X2_CDECL GetSpeed(X2Object obj) {
  const C3Object* o = HostObject(obj);
  return o ? o->speed : 0.0f;
}

X2Object X2_CDECL SetSpeed(X2Object obj, float value) {
  if (C3Object* o = HostObject(obj)) o->speed = value;
  return obj;
}

float X2_CDECL Random() { return SceneRandom(); }

X2Matrix* X2_CDECL GetWorldMatrix(X2Object obj) {
  C3Object* o = HostObject(obj);
  return o ? static_cast<D3DMATRIX*>(&o->world) : nullptr;
}

// Only moving objects keep a rotation matrix.
X2Matrix* X2_CDECL GetRotationMatrix(X2Object obj) {
  C3Move* o = dynamic_cast<C3Move*>(HostObject(obj));
  return o ? static_cast<D3DMATRIX*>(&o->rotation) : nullptr;
}

void* X2_CDECL GetBlock104(X2Object obj) {
  C3Object* o = HostObject(obj);
  return o ? o->hostBlocks[0] : nullptr;
}

void* X2_CDECL GetBlock124(X2Object obj) {
  C3Object* o = HostObject(obj);
  return o ? o->hostBlocks[1] : nullptr;
}

X2Vec3* X2_CDECL GetDirection(X2Vec3* result, X2Object obj) {
  const C3Object* o = HostObject(obj);
  return Put(result, o ? ToVec(o->heading) : X2Vec3{1.0f, 0.0f, 0.0f});
}

X2AIObject* X2_CDECL GetAI(X2Object obj) {
  const C3Object* o = HostObject(obj);
  return o ? o->ai : nullptr;
}

// The previous AI is neither deleted nor told: a plug-in may move an AI
// from one object to another.
void X2_CDECL SetAI(X2Object obj, X2AIObject* ai) {
  C3Object* o = HostObject(obj);
  if (!o) return;
  o->ai = ai;
  if (ai) ai->owner = obj;
}

// No stated default for a null handle: the scale an object starts with.
float X2_CDECL GetScale(X2Object obj) {
  const C3Object* o = HostObject(obj);
  return o ? o->scale : 1.0f;
}

X2Object X2_CDECL SetScale(X2Object obj, float value) {
  if (C3Object* o = HostObject(obj)) o->scale = value;
  return obj;
}

X2Object X2_CDECL SetUserFlag(X2Object obj) { return SetFlagBits(obj, kObjUser, true); }
X2Object X2_CDECL ClearUserFlag(X2Object obj) { return SetFlagBits(obj, kObjUser, false); }

int X2_CDECL TestUserFlag(X2Object obj) {
  const C3Object* o = HostObject(obj);
  return o && o->HasFlag(kObjUser) ? 1 : 0;
}

float* X2_CDECL SetDirection(X2Object obj, const X2Vec3* d) {
  C3Object* o = HostObject(obj);
  if (!o) return nullptr;
  if (d) o->heading = D3DXVECTOR3(d->x, d->y, d->z);
  return &o->heading.x;
}

float X2_CDECL GetBodySize(X2Object obj) {
  const C3Object* o = HostObject(obj);
  return o ? o->bodySize : 1.0f;
}

X2Vec3* X2_CDECL GetBoundsMin(X2Vec3* result, X2Object obj) {
  const C3Object* o = HostObject(obj);
  return Put(result, o ? ToVec(o->boxMin) : X2Vec3{-1.0f, -1.0f, -1.0f});
}

X2Vec3* X2_CDECL GetBoundsMax(X2Vec3* result, X2Object obj) {
  const C3Object* o = HostObject(obj);
  return Put(result, o ? ToVec(o->boxMax) : X2Vec3{1.0f, 1.0f, 1.0f});
}

X2Object X2_CDECL SetHiddenFlag(X2Object obj) { return SetFlagBits(obj, kObjAlwaysCulled, true); }

// Only bit 0 of `on` counts.
X2Object X2_CDECL SetDriftWithCurrent(X2Object obj, int on) {
  return SetFlagBits(obj, kObjDrift, (on & 1) != 0);
}

}  // namespace hostslots
