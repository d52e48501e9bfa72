#pragma once
// A four-sample moving average of a point. It starts all zero, so the
// average ramps up from the origin over the first four samples.
#include <d3dx9math.h>

class X2PositionAverage {
 public:
  static constexpr int kSampleCount = 4;

  // Takes v in place of the oldest sample and returns the new average. A
  // sample that is not a finite point counts as the current average, so one
  // bad frame of a plug-in cannot spoil the camera for good.
  const D3DXVECTOR3& Add(const D3DXVECTOR3& v);
  const D3DXVECTOR3& Average() const { return average; }

  // D3DXVECTOR3's own constructor leaves it unset: zeroed explicitly.
  D3DXVECTOR3 samples[kSampleCount] = {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}};
  D3DXVECTOR3 average{0.0f, 0.0f, 0.0f};
  int next = 0;  // the slot the next sample overwrites
};
