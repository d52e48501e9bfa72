#pragma once
// The sea surface as the scene holds it: at Init it makes the surface the
// device can draw (the shader surface with its water simulation when pixel
// shaders are in use, else the fixed-function one) and forwards the device
// life cycle, moves and draws to it.
#include "world/C3Object.h"

class C4VertexObject;

class C6unionSeaface : public C3Object {
 public:
  // Height of the surface's plane.
  static constexpr float kSurfaceY = 1.0f;

  C6unionSeaface();
  ~C6unionSeaface() override;

  void SetViewProjection(const D3DXMATRIX* view, const D3DXMATRIX* projection) override;
  HRESULT InitDeviceObjects() override;
  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT DeleteDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT PreRender() override;
  HRESULT Render() override;

  // Keeps the surface over the sea floor's centre (its height stays).
  void Recentre(float x, float z);

  C4VertexObject* inner = nullptr;
  // Where the surface is centred; given to a surface made later.
  float centreX = 0.0f, centreZ = 0.0f;
};
