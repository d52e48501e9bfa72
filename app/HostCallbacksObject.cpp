// Host slots that read and set one property of any scene object.
#include "HostCallbacks.h"
#include "HostSlots.h"
#include "fish/FishMotion.h"
#include "world/C3Move.h"

namespace hostslots {

namespace {

X2Vec3 ToVec(const D3DXVECTOR3& v) { return X2Vec3{v.x, v.y, v.z}; }

X2Vec3* Put(X2Vec3* result, const X2Vec3& v) {
  if (result) *result = v;
  return result;
}

// One member of the object, or the slot's default for a null handle.
template <class T>
T Read(X2Object obj, T C3Object::*field, T fallback) {
  const C3Object* o = HostObject(obj);
  return o ? o->*field : fallback;
}

template <class T>
X2Object Write(X2Object obj, T C3Object::*field, T value) {
  if (C3Object* o = HostObject(obj)) o->*field = value;
  return obj;
}

X2Vec3* PutVector(X2Vec3* result, X2Object obj, D3DXVECTOR3 C3Object::*field, const X2Vec3& fallback) {
  const C3Object* o = HostObject(obj);
  return Put(result, o ? ToVec(o->*field) : fallback);
}

// Sets the vector when one is given; the member's floats, null for a null
// handle.
float* SetVector(X2Object obj, D3DXVECTOR3 C3Object::*field, const X2Vec3* v) {
  C3Object* o = HostObject(obj);
  if (!o) return nullptr;
  if (v) o->*field = D3DXVECTOR3(v->x, v->y, v->z);
  return &(o->*field).x;
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
  return PutVector(result, obj, &C3Object::position, X2Vec3{0.0f, 0.0f, 0.0f});
}

float X2_CDECL GetPitch(X2Object obj) { return Read(obj, &C3Object::rotX, 0.0f); }
float X2_CDECL GetYaw(X2Object obj) { return Read(obj, &C3Object::rotY, 0.0f); }
float X2_CDECL GetRoll(X2Object obj) { return Read(obj, &C3Object::rotZ, 0.0f); }

float* X2_CDECL SetPosition(X2Object obj, const X2Vec3* p) { return SetVector(obj, &C3Object::position, p); }

X2Object X2_CDECL SetPitch(X2Object obj, float value) { return Write(obj, &C3Object::rotX, value); }
X2Object X2_CDECL SetYaw(X2Object obj, float value) { return Write(obj, &C3Object::rotY, value); }
X2Object X2_CDECL SetRoll(X2Object obj, float value) { return Write(obj, &C3Object::rotZ, value); }

float X2_CDECL GetSpeed(X2Object obj) { return Read(obj, &C3Object::speed, 0.0f); }
X2Object X2_CDECL SetSpeed(X2Object obj, float value) { return Write(obj, &C3Object::speed, value); }

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
  return PutVector(result, obj, &C3Object::heading, X2Vec3{1.0f, 0.0f, 0.0f});
}

X2AIObject* X2_CDECL GetAI(X2Object obj) { return Read<X2AIObject*>(obj, &C3Object::ai, nullptr); }

// The previous AI is neither deleted nor told: a plug-in may move an AI
// from one object to another.
void X2_CDECL SetAI(X2Object obj, X2AIObject* ai) {
  C3Object* o = HostObject(obj);
  if (!o) return;
  o->ai = ai;
  if (ai) ai->owner = obj;
}

// No stated default for a null handle: the scale an object starts with.
float X2_CDECL GetScale(X2Object obj) { return Read(obj, &C3Object::scale, 1.0f); }
X2Object X2_CDECL SetScale(X2Object obj, float value) { return Write(obj, &C3Object::scale, value); }

X2Object X2_CDECL SetUserFlag(X2Object obj) { return SetFlagBits(obj, kObjUser, true); }
X2Object X2_CDECL ClearUserFlag(X2Object obj) { return SetFlagBits(obj, kObjUser, false); }

int X2_CDECL TestUserFlag(X2Object obj) {
  const C3Object* o = HostObject(obj);
  return o && o->HasFlag(kObjUser) ? 1 : 0;
}

float* X2_CDECL SetDirection(X2Object obj, const X2Vec3* d) { return SetVector(obj, &C3Object::heading, d); }

float X2_CDECL GetBodySize(X2Object obj) { return Read(obj, &C3Object::bodySize, 1.0f); }

X2Vec3* X2_CDECL GetBoundsMin(X2Vec3* result, X2Object obj) {
  return PutVector(result, obj, &C3Object::boxMin, X2Vec3{-1.0f, -1.0f, -1.0f});
}

X2Vec3* X2_CDECL GetBoundsMax(X2Vec3* result, X2Object obj) {
  return PutVector(result, obj, &C3Object::boxMax, X2Vec3{1.0f, 1.0f, 1.0f});
}

X2Object X2_CDECL SetHiddenFlag(X2Object obj) { return SetFlagBits(obj, kObjAlwaysCulled, true); }

// Only bit 0 of `on` counts.
X2Object X2_CDECL SetDriftWithCurrent(X2Object obj, int on) {
  return SetFlagBits(obj, kObjDrift, (on & 1) != 0);
}

}  // namespace hostslots
