#include "X2Host.h"

#include <cstdarg>
#include <cstdio>

using aimath::Vec3;

namespace {

Vec3 FromAbi(const X2Vec3& v) { return Vec3(v.x, v.y, v.z); }

}  // namespace

#define X2_SLOT(name) (table_ ? table_->name : nullptr)

Vec3 X2Host::GetPosition(X2Object obj) const {
  X2Vec3 r = {0, 0, 0};
  if (auto f = X2_SLOT(GetPosition)) f(&r, obj);
  return FromAbi(r);
}

float X2Host::GetPitch(X2Object obj) const {
  auto f = X2_SLOT(GetPitch);
  return f ? f(obj) : 0.0f;
}

float X2Host::GetYaw(X2Object obj) const {
  auto f = X2_SLOT(GetYaw);
  return f ? f(obj) : 0.0f;
}

float X2Host::GetRoll(X2Object obj) const {
  auto f = X2_SLOT(GetRoll);
  return f ? f(obj) : 0.0f;
}

void X2Host::SetPosition(X2Object obj, const Vec3& p) const {
  X2Vec3 v = {p.x, p.y, p.z};
  if (auto f = X2_SLOT(SetPosition)) f(obj, &v);
}

void X2Host::SetPitch(X2Object obj, float v) const {
  if (auto f = X2_SLOT(SetPitch)) f(obj, v);
}

void X2Host::SetYaw(X2Object obj, float v) const {
  if (auto f = X2_SLOT(SetYaw)) f(obj, v);
}

void X2Host::SetRoll(X2Object obj, float v) const {
  if (auto f = X2_SLOT(SetRoll)) f(obj, v);
}

float X2Host::GetSpeed(X2Object obj) const {
  auto f = X2_SLOT(GetSpeed);
  return f ? f(obj) : 0.0f;
}

void X2Host::SetSpeed(X2Object obj, float v) const {
  if (auto f = X2_SLOT(SetSpeed)) f(obj, v);
}

float X2Host::Random() const {
  auto f = X2_SLOT(Random);
  return f ? f() : 0.0f;
}

Vec3 X2Host::GetDirection(X2Object obj) const {
  X2Vec3 r = {0, 0, 0};
  if (auto f = X2_SLOT(GetDirection)) f(&r, obj);
  return FromAbi(r);
}

X2AIObject* X2Host::GetAI(X2Object obj) const {
  auto f = X2_SLOT(GetAI);
  return f ? f(obj) : nullptr;
}

bool X2Host::SetAI(X2Object obj, X2AIObject* ai) const {
  auto f = X2_SLOT(SetAI);
  if (!f) return false;
  f(obj, ai);
  return true;
}

float X2Host::GetScale(X2Object obj) const {
  auto f = X2_SLOT(GetScale);
  return f ? f(obj) : 0.0f;
}

void X2Host::SetScale(X2Object obj, float v) const {
  if (auto f = X2_SLOT(SetScale)) f(obj, v);
}

bool X2Host::HasScaleAndBodySize() const { return X2_SLOT(GetScale) && X2_SLOT(GetBodySize); }

float X2Host::GetBodySize(X2Object obj) const {
  auto f = X2_SLOT(GetBodySize);
  return f ? f(obj) : 0.0f;
}

X2Object X2Host::GetCameraSourceObject() const {
  auto f = X2_SLOT(GetCameraSourceObject);
  return f ? f() : nullptr;
}

X2Object X2Host::CreateFish(const X2FishData* fish) const {
  auto f = X2_SLOT(CreateFish);
  return f ? f(fish) : nullptr;
}

bool X2Host::RegisterObject(X2Object obj) const {
  auto f = X2_SLOT(RegisterObject);
  if (!f) return false;
  f(obj);
  return true;
}

void X2Host::SetHiddenFlag(X2Object obj) const {
  if (auto f = X2_SLOT(SetHiddenFlag)) f(obj);
}

void X2Host::AddToBuildingFlock(X2Object obj) const {
  if (auto f = X2_SLOT(AddToBuildingFlock)) f(obj);
}

X2Object X2Host::GetFlockMember(int flock, int member) const {
  auto f = X2_SLOT(GetFlockMember);
  return f ? f(flock, member) : nullptr;
}

int X2Host::GetFlockSize(int flock) const {
  auto f = X2_SLOT(GetFlockSize);
  return f ? f(flock) : 0;
}

const char** X2Host::GetFlockNames() const {
  auto f = X2_SLOT(GetFlockNames);
  return f ? f() : nullptr;
}

int X2Host::GetFlockCount() const {
  auto f = X2_SLOT(GetFlockCount);
  return f ? f() : 0;
}

X2Object X2Host::CreateRenderTexture() const {
  auto f = X2_SLOT(CreateRenderTexture);
  return f ? f() : nullptr;
}

void X2Host::SetCloneSource(X2Object texture, X2Object fish) const {
  if (auto f = X2_SLOT(SetCloneSource)) f(texture, fish);
}

void X2Host::AddClone(X2Object texture, X2Object fish) const {
  if (auto f = X2_SLOT(AddClone)) f(texture, fish);
}

bool X2Host::IsTwinfinTech() const {
  auto f = X2_SLOT(IsTwinfinTech);
  return f && f() != 0;
}

bool X2Host::HasCollisionServer() const {
  auto f = X2_SLOT(HasCollisionServer);
  return f && f() != 0;
}

Vec3 X2Host::GetCollisionForce(const Vec3& p, X2Object self) const {
  X2Vec3 r = {0, 0, 0};
  if (auto f = X2_SLOT(GetCollisionForce)) f(&r, p.x, p.y, p.z, self);
  return FromAbi(r);
}

Vec3 X2Host::GetCollisionForceEx(const Vec3& p, X2Object self, int a, int b) const {
  X2Vec3 r = {0, 0, 0};
  if (auto f = X2_SLOT(GetCollisionForceEx)) f(&r, p.x, p.y, p.z, self, a, b);
  return FromAbi(r);
}

bool X2Host::HasTerrain() const {
  auto f = X2_SLOT(HasTerrain);
  return f && f() != 0;
}

float X2Host::GetTerrainHeight(float x, float z) const {
  auto f = X2_SLOT(GetTerrainHeight);
  return f ? f(x, z, nullptr) : 0.0f;
}

void X2Host::AddHaloAnchor(const Vec3& p) const {
  if (auto f = X2_SLOT(AddHaloAnchor)) f(p.x, p.y, p.z);
}

void X2Host::AddDebugLine(const Vec3& from, const Vec3& to) const {
  if (auto f = X2_SLOT(AddDebugLine)) f(from.x, from.y, from.z, to.x, to.y, to.z);
}

void X2Host::Log(const char* format, ...) const {
  auto f = X2_SLOT(LogPrint);
  if (!f) return;
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  f("%s", text);
}

#undef X2_SLOT
