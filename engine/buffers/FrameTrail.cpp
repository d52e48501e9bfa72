#include "FrameTrail.h"

#include <cmath>

#include "X2PluginAbi.h"

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

bool AdvanceTrailShift(float& lastShift, float t) {
  if (!(lastShift + kTrailShiftStep < t)) return false;
  if (!std::isfinite(t) || !std::isfinite(lastShift)) {
    lastShift = t;
    return true;
  }
  // The number of steps is counted, not looped over.
  const double from = lastShift;
  const double steps = std::ceil((double(t) - from) / kTrailShiftStep);
  double to = from + steps * kTrailShiftStep;
  if (to < t) to += kTrailShiftStep;
  float next = static_cast<float>(to);
  // Where single precision cannot hold the step, stop at t itself.
  if (next < t || next <= lastShift) next = t;
  lastShift = next;
  return true;
}

float StepTrailPulse(TrailPulse& pulse, float t, float r) {
  if (pulse.nextPulse + pulse.halfWidth < t) {
    pulse.nextPulse = t + pulse.gapMinimum + r * pulse.gapRange;
    return 0.0f;
  }
  if (!(pulse.halfWidth > 0.0f)) return t == pulse.nextPulse ? 1.0f : 0.0f;
  float d = std::fabs(t - pulse.nextPulse) / pulse.halfWidth;
  if (d > 1.0f) d = 1.0f;
  return 1.0f - d;
}

float AdvanceWavePhase(float phase, float t, float tPrev, float h) {
  double p = std::fmod(double(phase) + double(t - tPrev) * (h + 1.0f) * 0.3f, kTwoPi);
  if (!std::isfinite(p)) return 0.0f;
  if (p < 0.0) p += kTwoPi;
  float out = static_cast<float>(p);
  return out < float(kTwoPi) ? out : 0.0f;
}

void TrailWaveParameters(float h, float out[4]) {
  out[0] = 0.5f;
  out[1] = 0.7f;
  out[2] = (h + 1.0f) * 0.013f;
  out[3] = (h + 1.0f) * 0.005f;
}

namespace {
TrailGridVertex g_grid[kTrailGridVertices];
uint16_t g_gridIndices[kTrailGridFaces * 3];
}  // namespace

const TrailGridVertex* TrailGridStatic() {
  TrailGridVertex* grid = g_grid;
  static bool made = false;
  if (!made) {
    for (int row = 0; row < kTrailGridSide; ++row)
      for (int col = 0; col < kTrailGridSide; ++col)
        grid[row * kTrailGridSide + col] =
            TrailGridVertex{-1.4f + 0.2f * col, 1.4f - 0.2f * row, 0.0f, 0, 0, 0, 0, 0};
    made = true;
  }
  return grid;
}

const uint16_t* TrailGridIndices() {
  uint16_t* indices = g_gridIndices;
  static bool made = false;
  if (!made) {
    int n = 0;
    for (int row = 0; row + 1 < kTrailGridSide; ++row)
      for (int col = 0; col + 1 < kTrailGridSide; ++col) {
        const uint16_t a = uint16_t(row * kTrailGridSide + col), b = uint16_t(a + 1);
        const uint16_t c = uint16_t(a + kTrailGridSide), d = uint16_t(c + 1);
        const uint16_t cell[6] = {a, b, c, b, d, c};
        for (uint16_t i : cell) indices[n++] = i;
      }
    made = true;
  }
  return indices;
}

TrailGridVertex MakeTrailGridVertex(float x, float y, float z) {
  TrailGridVertex v{x, y, z, 0, 0, 0, 0, 0};
  float nx = std::fabs((-1.0f - x) * (1.0f - x)) * 3.0f;
  v.nx = (x < -0.9f || x > 0.9f) ? 0.0f : std::min(nx, 1.0f);
  v.ny = std::min(std::fabs((-1.0f - y) * (1.0f - y)) * 3.0f, 1.0f);
  v.nz = 0.0f;
  v.u = (x + 1.0f) * 0.5f;
  v.v = (1.0f - y) * 0.5f;
  return v;
}

X2FishMesh* TrailGridMesh() {
  static X2AttributeRange range = {0, 0, kTrailGridFaces, 0, kTrailGridVertices};
  static X2FishMesh mesh = {};
  if (!mesh.vertices) {
    TrailGridStatic();
    TrailGridIndices();
    mesh.vertexCount = kTrailGridVertices;
    mesh.vertices = g_grid;
    mesh.primitiveCount = kTrailGridFaces;
    mesh.indices = g_gridIndices;
    mesh.fvf = X2_FVF_VERTEX;
    mesh.stride = sizeof(TrailGridVertex);
    mesh.attributeRanges = &range;
    mesh.attributeRangeCount = 1;
    mesh.xBlock = nullptr;
  }
  return &mesh;
}

bool TrailMotion::Step(float t, float tPrev, float r) {
  const bool rotate = AdvanceTrailShift(lastShift, t);
  const float h = StepTrailPulse(pulse, t, r);
  phase = AdvanceWavePhase(phase, t, tPrev, h);
  TrailWaveParameters(h, wave);
  return rotate;
}
