#include "FlareLayout.h"

#include <algorithm>
#include <cmath>

const FlareElement kFlareElements[kFlareElementCount] = {
    {0, 1.4f, 1.0f, 0.4f},    {3, 1.6f, 1.0f, 0.05f},    {1, 0.3f, 1.0f, 0.01f},
    {10, 1.4f, 1.0f, 0.07f},  {9, 3.0f, 0.97f, 0.4f},    {7, 0.3f, 0.6f, 0.2f},
    {8, 0.2f, 0.4f, 0.2f},    {1, 0.15f, 0.2f, 0.4f},    {6, 0.15f, 0.1f, 0.4f},
    {6, 0.05f, 0.07f, 0.7f},  {2, 0.3f, -0.13f, 0.2f},   {6, 0.15f, 0.14f, 0.4f},
    {7, 0.35f, -0.15f, 0.2f}, {6, 0.4f, -0.2f, 0.3f},    {6, 0.1f, 0.22f, 0.4f},
    {7, 0.35f, -0.6f, 0.2f},  {6, 0.4f, -0.7f, 0.3f},    {5, 1.1f, -1.0f, 0.4f},
};

float FlareFacing(const D3DXVECTOR3& light, const D3DXVECTOR3& view) {
  D3DXVECTOR3 l, d;
  D3DXVec3Normalize(&l, &light);
  D3DXVec3Normalize(&d, &view);
  const float b = (-D3DXVec3Dot(&l, &d) - 0.75f) * 4.0f;
  if (!(b > 0.0f)) return 0.0f;  // NaN too
  return std::min(b, 1.0f);
}

bool FlareScreenPosition(const D3DXMATRIX& m, float* sx, float* sy) {
  // The origin's clip position is the matrix's last row.
  const float x = m._41, y = m._42, w = m._44;
  if (!(w > 1e-6f)) return false;
  *sx = x / w;
  *sy = y / w;
  return std::isfinite(*sx) && std::isfinite(*sy);
}

int NextFlareFrame(int frame) {
  ++frame;
  return frame > kFlareLastFrame || frame < kFlareFirstFrame ? kFlareFirstFrame : frame;
}

FlareElementDraw PlanFlareElement(int i, float sx, float sy, float facing, float sunCover, bool glare,
                                  int animatedFrame) {
  const FlareElement& e = kFlareElements[i];
  FlareElementDraw d;
  d.texture = e.texture == kFlareAnimatedTexture ? animatedFrame : e.texture;
  float m = e.intensity;
  if (e.axis < 0.98f) m *= sunCover * facing;
  if (glare) m *= 0.3f;
  m = std::clamp(m, 0.0f, 1.0f);
  if (!std::isfinite(m)) m = 0.0f;
  d.factor = static_cast<uint32_t>(m * 255.0f) << 24;
  d.size = e.size;
  if (i == 0) d.size = (facing + 0.5f) * 1.4f;
  if (i == 1) d.size = (1.0f - facing + 0.1f) * 3.0f;
  if (i == 17) d.size = (1.0f - facing + 0.5f) * 1.2f;
  d.x = e.axis * sx;
  d.y = e.axis * sy;
  return d;
}
