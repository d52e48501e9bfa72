#include "X7BubbleEmitter.h"

#include <cmath>

#include "world/C3Object.h"

namespace {

// Outward push of one frame, scaled by (r + 1) per axis.
constexpr float kOutwardStep = 0.01f * 0.2f;

}  // namespace

D3DXVECTOR3 X7BubbleEmitter::WorldPosition() const {
  if (!field) return D3DXVECTOR3(x, y, z);
  return D3DXVECTOR3(field->position.x + x, y, field->position.z + z);
}

void X7BubbleEmitter::Spawn(BubbleSpawnWindow& window, const RandomSource& random) {
  if (field) {
    if (window.spawned >= window.allowance) return;
    const float r = random();
    random();
    random();
    x = 0.0f;
    z = 0.0f;
    y = field->position.y + r - 0.5f;
    alive = 1;
    ++window.spawned;
    return;
  }
  x = random() * 40.0f - 20.0f;
  z = random() * 40.0f - 20.0f;
  y = -2.0f;
  alive = 1;
}

void X7BubbleEmitter::Update(float t, float previous, BubbleSpawnWindow& window, const CurrentQuery& current,
                             const RandomSource& random) {
  if (!alive) {
    Spawn(window, random);
  } else {
    const float dt = t - previous;
    y += kBubbleRiseSpeed * dt;
    if (field) {
      // Away from the field's centre: x and z are already relative to it.
      const float length = std::sqrt(x * x + z * z);
      const float dx = length > 0.0f ? x / length : 0.0f;
      const float dz = length > 0.0f ? z / length : 0.0f;
      x += (random() + 1.0f) * kOutwardStep * dx;
      z += (random() + 1.0f) * kOutwardStep * dz;
    }
    if (current) {
      const D3DXVECTOR3 w = current(WorldPosition());
      x += w.x * dt;
      y += w.y * dt;
      z += w.z * dt;
    }
  }
  if (y > kBubbleTopHeight) alive = 0;
}
