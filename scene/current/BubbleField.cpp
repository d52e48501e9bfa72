#include "BubbleField.h"

#include <algorithm>
#include <cmath>

namespace {

void WriteVentVertex(float* out, const D3DXVECTOR3& p, float u, float v) {
  out[0] = p.x;
  out[1] = p.y;
  out[2] = p.z;
  out[3] = 0.0f;
  out[4] = 1.0f;
  out[5] = 0.0f;
  out[6] = u;
  out[7] = v;
}

}  // namespace

D3DXVECTOR3 BubbleFieldPlace(const D3DXVECTOR3& camera, const HeightQuery& height) {
  return D3DXVECTOR3(camera.x, height ? height(camera.x, camera.z) : camera.y, camera.z);
}

int BuildBubbleVents(const D3DXVECTOR3& field, const HeightQuery& height, const RandomSource& random,
                     float* vertices, int maxVents) {
  const int count = std::min(kBubbleVents, maxVents);
  for (int i = 0; i < count; ++i) {
    const float dx = (random() - 0.5f) * kBubbleVentSpread;
    const float dz = (random() - 0.5f) * kBubbleVentSpread;
    const float h = height ? height(field.x + dx, field.z + dz) : field.y;
    const D3DXVECTOR3 vent(dx, h - field.y, dz);
    float* quad = vertices + i * kBubbleQuadFloats;
    WriteVentVertex(quad, vent, 0.0f, 0.0f);
    WriteVentVertex(quad + kBubbleVertexFloats, vent, 0.0f, 1.0f);
    WriteVentVertex(quad + 2 * kBubbleVertexFloats, vent, 1.0f, 0.0f);
    WriteVentVertex(quad + 3 * kBubbleVertexFloats, vent, 1.0f, 1.0f);
  }
  return count < 0 ? 0 : count;
}

void OpenSpawnWindow(BubbleSpawnWindow& window, float t) {
  const float elapsed = t - window.lastSpawn;
  if (elapsed > 1.0f) {
    window.allowance = static_cast<int>(std::trunc(2.0f * elapsed));
    window.lastSpawn = t;
  } else {
    window.allowance = 0;
  }
  window.spawned = 0;
}

float BubbleLayerSpread(float layerY, float fieldY) { return 1.0f + std::max(0.0f, (layerY - fieldY) * 0.0125f); }

D3DXMATRIX* BubbleLayerMatrix(D3DXMATRIX* out, const D3DXVECTOR3& field, float rotX, float rotZ, int index,
                              const D3DXVECTOR3& layer) {
  D3DXMATRIX rx, rz, ry, s, t;
  D3DXMatrixRotationX(&rx, rotX);
  D3DXMatrixRotationZ(&rz, rotZ);
  const float turn = std::fabs(std::sin(2.0f * D3DX_PI * static_cast<float>(index) / kBubbleLayers)) * D3DX_PI;
  D3DXMatrixRotationY(&ry, turn);
  const float spread = BubbleLayerSpread(layer.y, field.y);
  D3DXMatrixScaling(&s, spread, 1.0f, spread);
  D3DXMatrixTranslation(&t, field.x + layer.x, layer.y, field.z + layer.z);
  *out = rx * rz * ry * s * t;
  return out;
}
