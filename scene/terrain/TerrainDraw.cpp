#include "TerrainDraw.h"

#include <algorithm>

#include "X1TerrainTables.h"

float TerrainBumpScale(int floorMaterial) { return floorMaterial != 0 ? 0.2f : 10.0f; }

float TerrainCausticLevel(int lights) {
  static const float kLevels[3] = {0.4f, 0.2f, 0.1f};
  return kLevels[std::clamp(lights, 0, 2)];
}

TerrainDrawPlan PlanTerrainDraw(bool pixelShaders, bool hasCaustic) {
  if (pixelShaders) return {kTerrainReliefVs, hasCaustic ? kTerrainReliefPs : kTerrainPlainPs, false};
  return {kTerrainLitVs, kTerrainReliefPs, hasCaustic};
}
