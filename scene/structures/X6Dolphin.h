#pragma once
// The dolphin: an X-file object made by a plug-in through the host table
// (CreateDolphin), registered and given its AI by that plug-in. Its AI is
// stepped in Move, and again with (-1, -1) before each draw; what a step
// returns is ignored (the AI stays). The dolphin deletes its AI when it is
// deleted (a device made again finds it still steering).
// With the record's body flag it carries a field that keeps fish off it.
#include "X2PluginAbi.h"
#include "X5SkinObject.h"

class X2FishCollision;

class X6Dolphin : public X5SkinObject {
 public:
  // Not registered with the world; a record without a model gives a
  // dolphin that draws nothing.
  explicit X6Dolphin(const X2FishData* record);
  ~X6Dolphin() override;

  HRESULT InitDeviceObjects() override;
  HRESULT RestoreDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;
  // Scaling by the world scale, the object's rotation, its position.
  int ComposeWorldMatrix(float current, float previous) override;

  const X2FishData* record;
  X2FishCollision* bodyCollision = nullptr;

 private:
  const X2FishModel* Model() const;
  void StepAI(float current, float previous);
};
