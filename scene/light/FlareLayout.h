#pragma once
// The lens flare's decisions without a device: the element table, the
// facing factor, where the sun is on the screen, and what each of the 18
// elements draws.
#include <d3dx9math.h>

#include <cstdint>

constexpr int kFlareElementCount = 18;
constexpr int kFlareAnimatedTexture = 10;  // the element's texture is the animated frame
constexpr int kFlareFirstFrame = 10;
constexpr int kFlareLastFrame = 14;
constexpr float kFlareFrameTime = 0.05f;  // seconds per animated frame
constexpr float kFlareDistance = 30.0f;   // the sun point, against the light from the camera

struct FlareElement {
  int texture;      // texture index; kFlareAnimatedTexture: the animated frame
  float size;
  float axis;       // k: 1 at the sun, 0 at the screen centre, -1 mirrored
  float intensity;
};
extern const FlareElement kFlareElements[kFlareElementCount];

// b = clamp((-(L . D) - 0.75) x 4, 0, 1) for the light vector L and the
// view direction D (both taken as directions): 1 looking straight at the
// sun, 0 from about 41 degrees off it.
float FlareFacing(const D3DXVECTOR3& light, const D3DXVECTOR3& view);

// The screen position (x, y in -1..1 at the edges) of the object's origin
// under its world x view x projection. False when the point lies behind the
// eye (w <= 0), where a projection would mirror it onto the screen.
bool FlareScreenPosition(const D3DXMATRIX& worldViewProjection, float* sx, float* sy);

// The animated frame after `frame`: 10, 11, .. 14, then 10 again.
int NextFlareFrame(int frame);

// What element i draws this frame.
struct FlareElementDraw {
  int texture;       // index into the flare's textures
  float x, y;        // vertex-shader constant 45: (k sx, k sy)
  float size;        // constant 46: (s, 1.333 s)
  uint32_t factor;   // TEXTUREFACTOR: trunc(m x 255) in the alpha byte
};
// sunCover: the world's light value after the fish have dimmed it; glare:
// the flare is being drawn into the glare image (the intensity is 0.3 of
// the plain draw there).
FlareElementDraw PlanFlareElement(int i, float sx, float sy, float facing, float sunCover, bool glare,
                                  int animatedFrame);
