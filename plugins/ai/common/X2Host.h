#pragma once
// A thin view of the host callback table. Every call tests its slot for null:
// a missing getter answers its default (zero, zero vector) and a missing
// setter does nothing. AI objects keep their own copy of this view, so a
// later entry that switches the module's table never changes theirs.
#include "X2PluginAbi.h"
#include "X2Vector.h"

class X2Host {
 public:
  X2Host() = default;
  explicit X2Host(const X2HostCallbacks* table) : table_(table) {}

  const X2HostCallbacks* Table() const { return table_; }

  aimath::Vec3 GetPosition(X2Object obj) const;
  float GetPitch(X2Object obj) const;
  float GetYaw(X2Object obj) const;
  float GetRoll(X2Object obj) const;
  void SetPosition(X2Object obj, const aimath::Vec3& p) const;
  void SetPitch(X2Object obj, float v) const;
  void SetYaw(X2Object obj, float v) const;
  void SetRoll(X2Object obj, float v) const;
  float GetSpeed(X2Object obj) const;
  void SetSpeed(X2Object obj, float v) const;
  // rand()/32767 from the host; 0 without the slot.
  float Random() const;
  aimath::Vec3 GetDirection(X2Object obj) const;
  X2AIObject* GetAI(X2Object obj) const;
  // False when the slot is missing (the caller still owns ai then).
  bool SetAI(X2Object obj, X2AIObject* ai) const;
  float GetScale(X2Object obj) const;
  void SetScale(X2Object obj, float v) const;
  bool HasScaleAndBodySize() const;
  float GetBodySize(X2Object obj) const;
  X2Object GetCameraSourceObject() const;

  X2Object CreateFish(const X2FishData* fish) const;
  bool RegisterObject(X2Object obj) const;
  void SetHiddenFlag(X2Object obj) const;
  void AddToBuildingFlock(X2Object obj) const;
  X2Object GetFlockMember(int flock, int member) const;
  int GetFlockSize(int flock) const;
  const char** GetFlockNames() const;
  int GetFlockCount() const;
  X2Object CreateRenderTexture() const;
  void SetCloneSource(X2Object texture, X2Object fish) const;
  void AddClone(X2Object texture, X2Object fish) const;
  bool IsTwinfinTech() const;

  bool HasCollisionServer() const;
  aimath::Vec3 GetCollisionForce(const aimath::Vec3& p, X2Object self) const;
  aimath::Vec3 GetCollisionForceEx(const aimath::Vec3& p, X2Object self, int a, int b) const;
  bool HasTerrain() const;
  float GetTerrainHeight(float x, float z) const;

  void AddHaloAnchor(const aimath::Vec3& p) const;
  void AddDebugLine(const aimath::Vec3& from, const aimath::Vec3& to) const;
  // printf-style; the text is formatted here (bounded) and handed to the
  // host's log as one "%s" argument.
  void Log(const char* format, ...) const __attribute__((format(printf, 2, 3)));

 private:
  const X2HostCallbacks* table_ = nullptr;
};
