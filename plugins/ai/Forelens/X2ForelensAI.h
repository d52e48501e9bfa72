#pragma once
// Camera look-at AI: keeps its object 5 units ahead of the camera along the
// camera's recent direction of travel (or 5 units behind it).
#include <memory>

#include "X2Host.h"
#include "X2ParamTable.h"
#include "X2PluginAbi.h"
#include "X2PositionHistory.h"

// Table position of the one key.
enum ForelensParam { kParamForelens = 0 };
extern const X2ParamDesc kForelensKeys[];

class X2ForelensAI : public X2AIObjectImpl<X2ForelensAI> {
 public:
  static constexpr float kDistance = 5.0f;
  static constexpr int kSamplesBack = 6;

  // Takes ownership of params (may be null: look ahead).
  X2ForelensAI(const X2Host& host, X2ParamTable* params);

  X2AIObject* X2_THISCALL Step(float now, float previous, X2Object self) override;

  X2Object Source() const { return source_; }
  const aimath::Vec3& Direction() const { return direction_; }
  const X2ParamTable* Params() const { return params_.get(); }

 private:
  X2Object source_ = nullptr;
  X2PositionHistory track_;
  std::unique_ptr<X2ParamTable> params_;
  // Direction of travel; kept while the camera stands still.
  aimath::Vec3 direction_{0.0f, 0.0f, 1.0f};
  X2Host host_;
};
