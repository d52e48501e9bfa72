#include "X2ForelensAI.h"

using aimath::Vec3;

const X2ParamDesc kForelensKeys[] = {
    {"Forelens", 0, kParamChoice, 1004, 0, {"進行方向", "進行方向と逆"}, 0},
    {nullptr, 0, 0, 0, 0, {}, 0},
};

X2ForelensAI::X2ForelensAI(const X2Host& host, X2ParamTable* params)
    : params_(params), host_(host) {}

X2AIObject* X2ForelensAI::Step(float now, float, X2Object self) {
  if (!source_) source_ = host_.GetCameraSourceObject();
  const Vec3 p = host_.GetPosition(source_);
  track_.Append(p, now);
  const Vec3 q = track_.SampleBack(kSamplesBack);
  const Vec3 travel = p - q;
  const float length = aimath::Length(travel);
  if (length > 0.0f) direction_ = travel / length;
  const bool lookBack = params_ && params_->Value(kParamForelens) != 0;
  const Vec3 d = lookBack ? -direction_ : direction_;
  host_.SetPosition(self, p + d * kDistance);
  return nullptr;
}
