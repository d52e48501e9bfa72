#include "WaterSimulation.h"

#include <algorithm>
#include <cmath>

int NextWaterFrame(int counter) {
  ++counter;
  return counter > kWaterCycleLast ? 0 : counter;
}

WaterOffsets MakeWaterOffsets(int size) {
  const float c = 1.0f / static_cast<float>(size);
  WaterOffsets o;
  o.centre = D3DXVECTOR4(0.5f * c, 0.5f * c, 0.0f, 0.0f);
  o.left = D3DXVECTOR4(-0.5f * c, 0.5f * c, 0.0f, 0.0f);
  o.right = D3DXVECTOR4(1.5f * c, 0.5f * c, 0.0f, 0.0f);
  o.up = D3DXVECTOR4(0.5f * c, -0.5f * c, 0.0f, 0.0f);
  o.down = D3DXVECTOR4(0.5f * c, 1.5f * c, 0.0f, 0.0f);
  return o;
}

namespace {

float Channel(uint32_t p, int k) { return static_cast<float>((p >> (8 * k)) & 0xFF) / 255.0f; }

uint32_t Quantise(float v) {
  v = std::min(std::max(v, 0.0f), 1.0f);
  return static_cast<uint32_t>(std::lround(v * 255.0f));
}

uint32_t Pack(const float c[4]) {
  return Quantise(c[0]) | Quantise(c[1]) << 8 | Quantise(c[2]) << 16 | Quantise(c[3]) << 24;
}

}  // namespace

WaterReference::WaterReference(int s)
    : size(s), height(static_cast<size_t>(s) * s, 0xFF000000u), velocity(static_cast<size_t>(s) * s, 0xFF808080u),
      normal(static_cast<size_t>(s) * s, 0u) {}

// Runs f(x, y, channel, sample) per texel and channel, sample(image, dx, dy)
// reading the neighbour with wrap-around.
template <typename F>
static WaterReference::Image PerChannel(int size, F f) {
  WaterReference::Image out(static_cast<size_t>(size) * size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      float c[4];
      for (int k = 0; k < 4; ++k) {
        auto sample = [&](const WaterReference::Image& img, int dx, int dy) {
          const int sx = (x + dx + size) % size, sy = (y + dy + size) % size;
          return Channel(img[static_cast<size_t>(sy) * size + sx], k);
        };
        c[k] = f(sample);
      }
      out[static_cast<size_t>(y) * size + x] = Pack(c);
    }
  return out;
}

WaterReference::Image WaterReference::ForceA(const Image& h) const {
  return PerChannel(size, [&](auto s) {
    const float c = s(h, 0, 0);
    return 0.5f + (s(h, -1, 0) - c) + (s(h, 1, 0) - c) + (s(h, 0, -1) - c) - 0.25f * (c - 0.5f);
  });
}

WaterReference::Image WaterReference::ForceB(const Image& h, const Image& a) const {
  return PerChannel(size, [&](auto s) { return s(a, 0, 0) + (s(h, 0, 1) - s(h, 0, 0)); });
}

WaterReference::Image WaterReference::Advance(const Image& base, const Image& change) const {
  return PerChannel(size, [&](auto s) { return s(base, 0, 0) + 0.1f * (s(change, 0, 0) - 0.5f); });
}

WaterReference::Image WaterReference::Blur(const Image& h) const {
  return PerChannel(size, [&](auto s) {
    return 0.25f * s(h, -1, 0) + 0.25f * s(h, 1, 0) + 0.25f * s(h, 0, -1) + 0.25f * s(h, 0, 1);
  });
}

WaterReference::Image WaterReference::Normals(const Image& b) const {
  Image out(b.size());
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      auto at = [&](int dx, int dy, int k) {
        const int sx = (x + dx + size) % size, sy = (y + dy + size) % size;
        return Channel(b[static_cast<size_t>(sy) * size + sx], k);
      };
      // Red carries the x slope, green the y slope (the heights are grey).
      const float gx = 8.0f * (at(-1, 0, 2) - at(1, 0, 2));
      const float gy = 8.0f * (at(0, 1, 1) - at(0, -1, 1));
      const float flat = 1.0f - std::min(std::max(gx * gx + gy * gy, 0.0f), 1.0f);
      const float c[4] = {flat, 0.5f + gy, 0.5f + gx, flat};  // blue, green, red, alpha
      out[static_cast<size_t>(y) * size + x] = Pack(c);
    }
  return out;
}

void WaterReference::Step(const Image& disturbance) {
  if (counter == 0) {
    std::fill(velocity.begin(), velocity.end(), 0xFF808080u);
    // Added to black (alpha 1) with ONE / ONE blending: the pattern itself.
    height = disturbance;
    height.resize(static_cast<size_t>(size) * size, 0u);
    for (uint32_t& p : height) p |= 0xFF000000u;
  }
  const Image forceA = ForceA(height);
  const Image force = ForceB(height, forceA);
  velocity = Advance(velocity, force);
  height = Advance(height, velocity);
  normal = Normals(Blur(height));
  counter = NextWaterFrame(counter);
}
