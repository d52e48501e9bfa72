#pragma once
// The lens flare: 18 elements on the line from the sun's place on the screen
// through the screen centre, strongest when the camera looks towards the
// sun, dimmed by fish that swim in front of it, and absent when the sun is
// hidden. Drawn in the depth-sorted pass and into the glare image.
#include "FlareLayout.h"
#include "buffers/DynamicVertexBuffer.h"
#include "world/C4VertexObject.h"

class C6Flare : public C4VertexObject {
 public:
  C6Flare();
  ~C6Flare() override;

  // The rectangle buffer, written once.
  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  // Follows the sun point and steps the animated frame.
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;

  IDirect3DVertexBuffer9* VertexBuffer() const { return rectangle_.Buffer(); }

  float screenX = 0.0f;
  float screenY = 0.0f;
  float facing = 0.0f;
  int frameIndex = kFlareFirstFrame;
  float nextStep = 0.0f;

 private:
  DynamicVertexBuffer rectangle_{"C6Flare"};
};
