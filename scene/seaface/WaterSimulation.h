#pragma once
// The water simulation's decisions without a device: the texel offsets of
// its passes, the frame counter that reseeds it, and the passes themselves
// as a CPU reference on 8-bit images (what the render targets hold), used
// to check the device's result.
//
// Every channel is stored around 0.5 where it is signed; images are square,
// 0xAARRGGBB pixels row by row from the top (v = 0), sampled with
// wrap-around at texel centres.
#include <d3dx9math.h>

#include <cstdint>
#include <vector>

// The counter runs 0 .. kWaterCycleLast; frame 0 clears and seeds.
constexpr int kWaterCycleLast = 2000;

// The counter after a frame: one more, back to 0 after passing the last.
int NextWaterFrame(int counter);

// Texture-coordinate offsets (z = w = 0) of the passes for a target of
// `size` texels: the texel centre and the centres of its four neighbours.
struct WaterOffsets {
  D3DXVECTOR4 centre, left, right, up, down;
};
WaterOffsets MakeWaterOffsets(int size);

// The passes' constants: the step factor of velocity and height, and the
// unit axes the normal pass scales by 8 with instruction modifiers.
const D3DXVECTOR4 kWaterStepFactor(0.1f, 0.1f, 0.1f, 1.0f);
const D3DXVECTOR4 kWaterAxisX(1.0f, 0.0f, 0.0f, 0.0f);
const D3DXVECTOR4 kWaterAxisY(0.0f, 1.0f, 0.0f, 0.0f);

class WaterReference {
 public:
  using Image = std::vector<uint32_t>;
  explicit WaterReference(int size);

  // One frame as the device runs it: seeding first when the counter is 0,
  // then the five passes, the swaps and the counter.
  void Step(const Image& disturbance);

  // The passes, each on whole images (every channel alike unless said).
  Image ForceA(const Image& height) const;
  Image ForceB(const Image& height, const Image& forceA) const;
  Image Advance(const Image& base, const Image& change) const;  // base + 0.1 (change - 0.5)
  Image Blur(const Image& height) const;
  Image Normals(const Image& smooth) const;  // red and green slopes, blue and alpha 1 - |g|^2

  int size;
  int counter = 0;
  Image height, velocity, normal;
};
