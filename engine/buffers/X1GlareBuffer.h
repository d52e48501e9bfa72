#pragma once
// The glare of one view: once per frame the world's glare sources are drawn
// into a half-size target, blended into a time-smoothed image and blurred
// (horizontal, then vertical); Render adds the result over the view.
//
// Targets: 0 this frame's sources, 1 + selector the smoothed image,
// 2 - selector the final glare, 3 the horizontal blur.
#include "GlareDraw.h"
#include "X1GlareKernel.h"
#include "X1RenderingBuffer.h"

class X1GlareBuffer : public X1RenderingBuffer {
 public:
  X1GlareBuffer();
  ~X1GlareBuffer() override;

  HRESULT RestoreDeviceObjects() override;
  // Sources, smoothing and blur (current and previous time of the unscaled
  // clock); ends with the screen's surfaces bound again.
  HRESULT Move(float current, float previous) override;
  // Adds the glare over whatever target the view is drawn into.
  HRESULT Render() override;

  X1GlareKernel kernel;
  float intensity = 0.5f;
  int selector = 0;

 private:
  // Whether the product uses pixel shaders (the glare needs them).
  bool Active() const;
  GlareDrawContext Context() const;
  void DrawSources();
};
