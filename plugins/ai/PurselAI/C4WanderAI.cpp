#include "C4WanderAI.h"

C4WanderAI::C4WanderAI(const X2Host& host) : C4BasicAI(host) {
  SetClassName("C4WanderAI");
  SetStartPoint(aimath::Vec3(0.0f, -1.0f, 0.0f));
}

void C4WanderAI::SetStartPoint(const aimath::Vec3& p) {
  path_.Reset();
  for (int i = 0; i < 3; ++i) path_.Append(p, 0.0f);
  target_ = path_.SampleBack(3);
}
