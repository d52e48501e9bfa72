#include "GlarePasses.h"

#include <cmath>

#include "world/C3Object.h"

GlareBlend GlareSmoothingBlend(float dt) {
  // A clock that stands still or runs backwards keeps the old image instead
  // of blending with weights outside 0..1.
  if (!(dt > 0.0f)) return GlareBlend{0.0f, 1.0f};
  float a = 10.0f * dt;
  if (a > 1.0f) a = 1.0f;
  float b = 1.0f - 10.0f * dt;
  if (b < 0.0f) b = 0.0f;
  return GlareBlend{a, b};
}

GlareTapDraw GlareBlurDraw(const X1GlareKernel& kernel, int group, float intensity,
                           bool horizontal, float step) {
  GlareTapDraw draw{};
  for (int j = 0; j < 4; ++j) {
    const int e = group * 4 + j;
    if (group < 0 || e >= kernel.TapEntries()) continue;
    const X1GlareKernel::Tap& tap = kernel.Entry(e);
    draw.weight[j] = tap.weight * kernel.Strength() * intensity;
    draw.vertex[j][horizontal ? 0 : 1] = step * tap.offset;
  }
  return draw;
}

bool GlareDrawsSource(unsigned flags, bool farCulled, bool isMainCameraObject,
                      bool hideCameraObject, bool debugRun) {
  if (farCulled) return false;
  if ((flags & kObjCulled) && !(flags & kObjAlwaysVisible)) return false;
  if (hideCameraObject && isMainCameraObject) return false;
  if ((flags & kObjDebugOnly) && !debugRun) return false;
  return true;
}
