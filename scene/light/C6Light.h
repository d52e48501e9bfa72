#pragma once
// The light a lone fish carries: a colour that flickers slowly between
// green and blue, put with the fish's position into the per-frame shader
// constants (registers 29 + 2k and 30 + 2k for light slot k).
#include "world/C4VertexObject.h"

class C6Light : public C4VertexObject {
 public:
  explicit C6Light(C3Object* boundFish = nullptr);

  HRESULT Move(float current, float previous) override;

  float rate;  // flicker rate, 1 .. 3
  D3DXVECTOR4 colour{0.5f, 0.5f, 0.5f, 1.0f};
  C3Object* fish;  // the bound fish (owned by the world)
  D3DXVECTOR4 base;  // the level by the Lights setting, three times, and 1
};
