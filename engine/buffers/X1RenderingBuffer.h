#pragma once
// A vertex object that draws through off-screen targets: up to six render-
// target textures of one size, an own depth surface, the screen's saved
// surfaces and a full-screen quad. BeginTarget makes target 0 the render
// target; EndTarget puts the screen back.
#include "RenderTargets.h"
#include "world/C4VertexObject.h"

class X1RenderingBuffer : public C4VertexObject {
 public:
  X1RenderingBuffer();
  ~X1RenderingBuffer() override;

  HRESULT InitDeviceObjects() override;
  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT DeleteDeviceObjects() override { return 0; }
  HRESULT PreRender() override { return 0; }

  virtual HRESULT BeginTarget();
  virtual HRESULT EndTarget();

  RenderTargets& Targets() { return targets_; }
  unsigned width = 0;
  unsigned height = 0;
  unsigned targetCount = 1;  // at most RenderTargets::kMaxTargets
  int ownDepthSwitch = 1;

 protected:
  const char* sourceName_ = "X1RenderingBuffer";
  RenderTargets targets_;
};
