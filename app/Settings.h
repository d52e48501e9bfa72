#pragma once
// The two settings tables of the program and their accessors.
//
// TechSettings holds the rendering and device switches, SceneSettings the
// scenery choices. Both are empty until LoadSettings fills them; scene code
// reads them by item position.
#include <windows.h>

#include <cstring>

#include "C4SettingTable.h"
#include "common/SettingIds.h"

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

// Scene settings whose value is their last entry mean "pick at random":
// Waterity 4, Lights 3, UpsDowns 4 and FloorMaterial 2 become draw() mod
// 4, 3, 4 and 2 for the rest of the run. draw is the runtime's rand() in the
// program.
void ResolveRandomSceneSettings(int (*draw)());
