#pragma once
// One hanging light shaft: a fan of ten vertices that hangs under the
// surface where the camera looks up towards the sun, moved by its offset
// around that point, swaying along the light and flickering now and then.
// Its working vertices are computed in world space each frame, so the
// object's own world matrix stays the identity.
#include <vector>

#include "LightTowerShape.h"
#include "buffers/DynamicVertexBuffer.h"
#include "world/C4VertexObject.h"

class C3LightTower : public C4VertexObject {
 public:
  C3LightTower();
  ~C3LightTower() override;

  // Builds the template and the working copy.
  HRESULT InitDeviceObjects() override;
  // A dynamic buffer for the ten vertices.
  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  // Frees the vertex arrays.
  HRESULT DeleteDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;

  IDirect3DVertexBuffer9* VertexBuffer() const { return shaft_.Buffer(); }

  float width = 3.0f;
  float height = 20.0f;
  float swayRate;
  std::vector<ShaftVertex> templ;
  std::vector<ShaftVertex> work;
  D3DXVECTOR4 colour{0.0f, 0.0f, 0.0f, 1.0f};
  TowerBlink blink;
  // Horizontal offset from the point under the sun (set by the scene set-up).
  float offsetX = 0.0f;
  float offsetZ = -1.0f;

 private:
  DynamicVertexBuffer shaft_{"C3LightTower"};  // filled from `work` before each draw
};
