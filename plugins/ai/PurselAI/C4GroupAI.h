#pragma once
// A hanger-on: mills about its formation fish inside a small box, picking a
// new spot every 5 to 10 seconds.
#include "C4BasicAI.h"

class C4GroupAI : public C4BasicAI {
 public:
  // follow: the formation fish this one hangs on to.
  C4GroupAI(const X2Host& host, X2Object follow);

  X2AIObject* X2_THISCALL Step(float now, float previous, X2Object self) override;

  const aimath::Vec3& Offset() const { return offset_; }
  float NextChange() const { return nextChange_; }

 private:
  aimath::Vec3 offset_;
  float nextChange_ = -10.0f;
  aimath::Vec3 box_{1.5f, 3.0f, 1.5f};
};
