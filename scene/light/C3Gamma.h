#pragma once
// The screen's gamma ramp, tinted by the water setting while the scene runs
// and neutral again whenever the device objects go (device loss, window
// change, end of the program). The first scene object.
#include <d3d9.h>

#include "world/C3Object.h"

class C3Gamma : public C3Object {
 public:
  C3Gamma();

  // Builds ramp 0 with the Waterity tint; the next render applies it.
  HRESULT RestoreDeviceObjects() override;
  // Puts the neutral ramp back when the tinted one was applied.
  HRESULT InvalidateDeviceObjects() override;
  // Applies ramp 0 once after each restore.
  HRESULT Render() override;

  D3DGAMMARAMP ramps[4];
  int applied = 0;

 private:
  void Apply(const D3DGAMMARAMP& ramp);
};
