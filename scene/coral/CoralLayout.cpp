#include "CoralLayout.h"

#include <algorithm>
#include <cmath>

namespace {

const int kColoniesPerCell[kCoralDensityLevels] = {0, 4, 8, 20, 40};

}  // namespace

D3DXVECTOR3 CoralCellOffset(int cell) {
  if (cell < 0 || cell >= kCoralCells) cell = 4;
  const int row = cell / 3;
  const int column = cell % 3;
  return D3DXVECTOR3((column - 1) * kCoralCellSize, 0.0f, (1 - row) * kCoralCellSize);
}

bool IsCoralDensityKnown(int density) { return density >= 0 && density < kCoralDensityLevels; }

int CoralColoniesPerCell(int density) {
  return kColoniesPerCell[std::clamp(density, 0, kCoralDensityLevels - 1)];
}

int CoralEntryIndex(float r, int count) {
  if (count <= 0) return -1;
  const int pick = std::isfinite(r) && r > 0.0f ? static_cast<int>(r * 10.0f) : 0;
  return pick % count;
}

int CoralVariantIndex(float r, uint32_t count) {
  if (count == 0) return -1;
  const uint32_t pick = std::isfinite(r) && r > 0.0f ? static_cast<uint32_t>(r * 100.0f) : 0u;
  return static_cast<int>(pick % count);
}

CoralScroll PlanCoralScroll(const D3DXVECTOR3& centre, const D3DXVECTOR3& camera) {
  CoralScroll step;
  const float dx = camera.x - centre.x;
  if (dx < -kCoralScrollDistance)
    step.dx = -1;
  else if (dx > kCoralScrollDistance)
    step.dx = 1;
  if (step.dx != 0) return step;
  const float dz = camera.z - centre.z;
  if (dz > kCoralScrollDistance)
    step.dz = 1;
  else if (dz < -kCoralScrollDistance)
    step.dz = -1;
  return step;
}

D3DXVECTOR3 ScrolledCoralCentre(const D3DXVECTOR3& centre, const CoralScroll& step) {
  return D3DXVECTOR3(centre.x + step.dx * kCoralCellSize, centre.y, centre.z + step.dz * kCoralCellSize);
}

int CoralCellSource(const CoralScroll& step, int cell) {
  int row = cell / 3;
  int column = cell % 3;
  // Moving towards -x the old column 2 becomes column 0; towards +x the old
  // column 0 becomes column 2. Row 0 lies on the +z side.
  if (step.dx < 0) column = (column + 2) % 3;
  if (step.dx > 0) column = (column + 1) % 3;
  if (step.dz > 0) row = (row + 2) % 3;
  if (step.dz < 0) row = (row + 1) % 3;
  return row * 3 + column;
}

bool IsCoralCellScattered(const CoralScroll& step, int cell) {
  const int row = cell / 3;
  const int column = cell % 3;
  return (step.dx < 0 && column == 0) || (step.dx > 0 && column == 2) || (step.dz > 0 && row == 0) ||
         (step.dz < 0 && row == 2);
}

D3DXVECTOR3 CoralColonySpot(const D3DXVECTOR3& centre, int cell, float u, float v) {
  const D3DXVECTOR3 offset = CoralCellOffset(cell);
  return D3DXVECTOR3(centre.x + offset.x + (u - 0.5f) * kCoralCellSize, centre.y + offset.y,
                     centre.z + offset.z + (v - 0.5f) * kCoralCellSize);
}

CoralSway StepCoralSway(float phase, float offset, float current, float previous, uint32_t frameCount) {
  CoralSway out;
  float d = current - previous;
  if (std::sin(phase) > 0.5f) d *= 3.0f;
  if (d >= 0.0f) phase += d;
  out.phase = phase;
  out.framePosition = frameCount > 0 ? std::fmod(4.0f * offset + phase, static_cast<float>(frameCount)) : 0.0f;
  out.amount = (std::sin(current + 2.0f * offset) * std::cos(0.7f * current) + 1.0f) * 0.5f;
  return out;
}

void ComposeCoralMatrices(float yAngle, float zAngle, float xAngle, float scale, float stretch,
                          const D3DXVECTOR3& position, D3DXMATRIX* rotation, D3DXMATRIX* world) {
  D3DXMATRIX rx, rz, ry, s, t;
  D3DXMatrixRotationX(&rx, xAngle);
  D3DXMatrixRotationZ(&rz, zAngle);
  D3DXMatrixRotationY(&ry, yAngle);
  const D3DXMATRIX r = rx * rz * ry;
  D3DXMatrixScaling(&s, scale, scale * stretch, scale);
  D3DXMatrixTranslation(&t, position.x, position.y, position.z);
  if (rotation) *rotation = r;
  if (world) *world = r * s * t;
}
