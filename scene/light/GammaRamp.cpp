#include "GammaRamp.h"

#include <cmath>

float WaterityTint(int waterity) {
  static const float kTint[4] = {1.0f, 0.8f, 0.3f, 0.1f};
  if (waterity < 0) waterity = 0;
  if (waterity > 3) waterity = 3;
  return kTint[waterity];
}

void BuildGammaRamp(float tint, D3DGAMMARAMP* ramp) {
  if (!(tint >= 0.0f)) tint = 0.0f;  // NaN too
  if (tint > 1.0f) tint = 1.0f;
  for (int i = 0; i < 256; ++i) {
    const WORD level = static_cast<WORD>(257 * i);
    ramp->green[i] = level;
    ramp->blue[i] = level;
    ramp->red[i] = static_cast<WORD>(std::trunc(tint * static_cast<float>(level)));
  }
}
