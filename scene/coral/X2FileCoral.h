#pragma once
// One piece of a coral colony, built from one model variant of a coral
// record: its mesh and texture, an optional swaying morph over the model's
// key frames, and the offset, size and angles the record's placement
// callback gives it. The colony seats it on the ground.
//
// Sources by concern: X2FileCoral.cpp (construction, sway, matrices),
// X2FileCoralRender.cpp (draw).
#include <memory>

#include "X2PluginAbi.h"
#include "fish/C5MorphAnimation.h"
#include "world/C4VertexObject.h"

// Object flag: drawn without fog.
constexpr uint32_t kObjNoFog = 0x2000;

class X2FileCoral : public C4VertexObject {
 public:
  // Not registered with the world. A null record, a variant outside the
  // record's models or a model without a usable mesh gives an empty piece
  // that draws nothing.
  X2FileCoral(const X2FishData* record, int variant);

  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;
  int ComposeWorldMatrix(float current, float previous) override;

  bool HasMorph() const { return morph != nullptr; }

  D3DXVECTOR3 offset{0.0f, 0.0f, 0.0f};  // from the colony origin
  float yAngle = 0.0f;
  float zAngle = 0.0f;
  float xAngle = 0.0f;
  float stretch = 1.0f;  // vertical stretch
  uint32_t modelFlags = 0;
  std::unique_ptr<C5MorphAnimation> morph;
  float swayPhase = 0.0f;
  float swayOffset = 0.0f;
};
