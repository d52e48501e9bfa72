#pragma once
// The frame trail of one view: the view's scene is drawn into the first of N
// kept full-size frames, and the composite lays the kept frames over the
// screen through a waving 15 x 15 grid.
#include "FrameTrail.h"
#include "TrailFrames.h"
#include "world/C4VertexObject.h"

class X5RenderingScene : public C4VertexObject {
 public:
  explicit X5RenderingScene(unsigned keptCount);
  ~X5RenderingScene() override;

  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  // Rotates the kept frames (or swaps the first two when frames come less
  // than 5 ms apart) and steps the wave.
  HRESULT Move(float current, float previous) override;
  // The composite onto the bound target.
  HRESULT Render() override;

  virtual HRESULT BeginTarget();
  virtual HRESULT EndTarget(bool keepDepth);

  TrailFrames& Frames() { return frames_; }
  const TrailMotion& Motion() const { return motion_; }
  unsigned KeptFrameCount() const { return keptCount_; }

 private:
  TrailFrames frames_;
  TrailMotion motion_;
  unsigned keptCount_;
};
