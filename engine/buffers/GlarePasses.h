#pragma once
// Plain numbers of the glare passes: target sizes and roles, the smoothing
// blend and the shader constants of each blur draw. X1GlareBuffer feeds these
// to the device.
#include "X1GlareKernel.h"

// The glare works at half the back-buffer size (odd sizes round down).
inline unsigned GlareTargetExtent(unsigned backBufferExtent) { return backBufferExtent / 2; }

// Target roles: 0 holds this frame's sources, 3 the horizontal blur; 1 and 2
// swap between the smoothed image and the final glare with the selector.
constexpr int kGlareSourceTarget = 0;
constexpr int kGlareHorizontalTarget = 3;
inline int GlareSmoothedTarget(int selector) { return 1 + selector; }
inline int GlareOutputTarget(int selector) { return 2 - selector; }

// Pixel-shader registers that hold the weights of texture stages 0 to 3.
constexpr int kGlareWeightRegister[4] = {2, 3, 1, 0};

// Blend of the smoothing pass: smoothed = current x sources + previous x old.
// Frames 0.1 s or more apart replace the image; a frame 0 s apart keeps it.
struct GlareBlend {
  float current;
  float previous;
};
GlareBlend GlareSmoothingBlend(float dt);

// Constants of one blur draw (four kernel entries, one per texture stage).
struct GlareTapDraw {
  float vertex[4][4];  // vertex constants 0 to 3: texture offset of stage j
  float weight[4];     // weight of stage j, to be written four times into
                       // pixel constant kGlareWeightRegister[j]
};

// Number of four-tap draws per blur direction.
inline int GlareBlurDraws(const X1GlareKernel& kernel) { return kernel.TapEntries() / 4; }

// The draw `group` of a blur pass. Horizontal: offsets along u of du per tap
// step (du = 2 / target width); vertical: along v with dv = 2 / height.
GlareTapDraw GlareBlurDraw(const X1GlareKernel& kernel, int group, float intensity,
                           bool horizontal, float step);

// Whether the glare draws a source object: not when far-culled, not when
// culled (flag 0x10) without flag 0x4, not the main camera's own object while
// the product hides it, and an object with flag 0x40 only in the debug run.
bool GlareDrawsSource(unsigned flags, bool farCulled, bool isMainCameraObject,
                      bool hideCameraObject, bool debugRun);
