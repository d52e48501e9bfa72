#pragma once
// The terrain's per-frame draw decisions that need no device.

// Vertex-shader constant 38 (BumpScale) .w: 0.2 for a non-zero
// FloorMaterial, else 10.
float TerrainBumpScale(int floorMaterial);

// Pixel-shader constant 1: the caustic level by the Lights setting, 0.4,
// 0.2 and 0.1 for 0, 1 and 2; values below 0 count as 0, above 2 as 2.
float TerrainCausticLevel(int lights);

// Which entries of the terrain's shader list one draw binds, and whether
// the fixed stages must switch the caustic stage off.
struct TerrainDrawPlan {
  int vertexShader;
  int pixelShader;   // with fixed stages the list's pixel entry, which the server turns into none
  bool causticStage;  // fixed stages: stage 1 adds the caustic
};
TerrainDrawPlan PlanTerrainDraw(bool pixelShaders, bool hasCaustic);
