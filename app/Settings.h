#pragma once
// The two settings tables of the program and their accessors.
//
// TechSettings holds the rendering and device switches, SceneSettings the
// scenery choices. Both are empty until LoadSettings fills them; scene code
// reads them by item position.
#include <windows.h>

#include <cstring>

#include "C4SettingTable.h"

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

extern C4SettingTable TechSettings;
extern C4SettingTable SceneSettings;

// The static defaults, each ended by an item with a null name.
extern const C4SettingItem kTechSettingDefaults[];
extern const C4SettingItem kSceneSettingDefaults[];

// Refills both tables with their defaults, then reads preset 0 (qelvar.ini)
// or the preset copy 1..3 over them.
void LoadSettings(int preset);
// Writes both tables to the main qelvar.ini.
void SaveSettings();
void SettingsToDialog(HWND page);
void SettingsFromDialog(HWND page);

// By position; 0 for a position the table does not have. Float items come
// back as their bit pattern (SettingBitsToFloat).
int GetTechSetting(int pos);
int GetSceneSetting(int pos);
void SetSceneSetting(int pos, int value);

inline float SettingBitsToFloat(int bits) {
  float f;
  memcpy(&f, &bits, sizeof f);
  return f;
}
inline int FloatToSettingBits(float f) {
  int bits;
  memcpy(&bits, &f, sizeof bits);
  return bits;
}
