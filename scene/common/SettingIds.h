#pragma once
// Item positions of the two settings tables. Scene objects read the values
// through the scene host (GetSceneSetting / GetTechSetting); the tables
// themselves belong to the program.

// Positions in TechSettings.
enum TechSetting {
  kTechTwinfinTech = 0,
  kTechFlockMateEffect = 1,
  kTechCrashGuard = 2,
  kTechPartialMorph = 3,
  kTechPastelShader = 4,
  kTechPixelShader11 = 5,
  kTechDisableMouseExit = 6,
  kTechDualView = 7,
  kTechDualViewSwapLR = 8,
  kTechMultiSurface = 9,
  kTechSettingCount = 10,
};

// Positions in SceneSettings.
enum SceneSetting {
  kSceneFBRotation = 0,
  kSceneTerrainGen = 1,
  kSceneWaterity = 2,
  kSceneLights = 3,
  kSceneSeaface = 4,
  kSceneDisplayInfo = 5,
  kSceneBubble = 6,
  kSceneSkydome = 7,
  kSceneFlare = 8,
  kSceneCoralDensity = 9,
  kSceneCoralCloneTech = 10,
  kSceneCoralNeverOnArch = 11,
  kSceneHalation = 12,
  kSceneLightTower = 13,
  kSceneSmallWorld = 14,
  kSceneHumanCamera = 15,
  kSceneCameraAIStability = 16,
  kSceneCameraAITrackability = 17,
  kSceneCameraMaxZoom = 18,
  kSceneUpsDowns = 19,
  kSceneFloorMaterial = 20,
  kSceneWaterCurrent = 21,
  kSceneSettingCount = 22,
};
