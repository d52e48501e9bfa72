#include "Settings.h"

#include "diagnostics/Diagnostics.h"

C4SettingTable TechSettings;
C4SettingTable SceneSettings;

// Float items carry the bits of their float default.
const C4SettingItem kTechSettingDefaults[] = {
    {"TwinfinTech", 0, kSettingCheck, 1045, 0, {"off", "on"}},
    {"FlockMateEffect", 1, kSettingChoice, 0, 1, {"dynamic", "static", "none"}},
    {"CrashGuard", 2, kSettingCheck, 0, 0, {}},
    {"PartialMorph", 3, kSettingCheck, 1046, 0, {}},
    {"PastelShader", 4, kSettingCheck, 1047, 0, {}},
    {"PixelShader11", 5, kSettingCheck, 1066, 1, {}},
    {"DisableMouseExit", 6, kSettingCheck, 1092, 0, {}},
    {"DualView", 7, kSettingCheck, 1071, 0, {}},
    {"DualView_SwapLR", 8, kSettingCheck, 1091, 0, {}},
    {"MultiSurface", 9, kSettingChoice, 1009, 1,
     {"覚醒状態(グレアOFF)", "微 幻想(グレアON)", "幻想海域(グレアON)", "幻惑夢想(グレアON)"}},
    {nullptr, 0, 0, 0, 0, {}},
};

const C4SettingItem kSceneSettingDefaults[] = {
    {"FBRotation", 0, kSettingFloatBits, 0, 0x3E4CCCCD, {}},  // 0.2f
    {"TerrainGen", 1, kSettingFloatBits, 0, 0x3F4CCCCD, {}},  // 0.8f
    {"Waterity", 2, kSettingChoice, 1035, 4, {"クリア", "薄濁り", "青い", "深い", "不定"}},
    {"Lights", 3, kSettingChoice, 1036, 3, {"まぶしい", "明るい", "暗い", "不定"}},
    {"Seaface", 4, kSettingCheck, 1041, 1, {}},
    {"DisplayInfo", 5, kSettingCheck, 1042, 0, {}},
    {"Bubble", 6, kSettingCheck, 1043, 1, {}},
    {"Skydome", 7, kSettingCheck, 1044, 1, {}},
    {"Flare", 8, kSettingCheck, 1048, 1, {}},
    {"CoralDensity", 9, kSettingChoice, 1060, 1, {"無し", "まばら", "普通", "混雑", "一面"}},
    {"CoralCloneTech", 10, kSettingCheck, 1059, 0, {}},
    {"CoralNeverOnArch", 11, kSettingCheck, 1061, 1, {}},
    {"Halation", 12, kSettingCheck, 1064, 0, {}},
    {"LightTower", 13, kSettingCheck, 1065, 1, {}},
    {"SmallWorld", 14, kSettingCheck, 1100, 0, {}},
    {"HumanCamera", 15, kSettingCheck, 1089, 0, {}},
    {"CameraAIStability", 16, kSettingDecimal, 1093, 18, {}},
    {"CameraAITrackability", 17, kSettingDecimal, 1094, 26, {}},
    {"CameraMaxZoom", 18, kSettingDecimal, 1095, 3, {}},
    {"UpsDowns", 19, kSettingChoice, 1010, 4,
     {"平坦な", "なだらかな", "起伏のある", "山あり谷あり", "不定"}},
    {"FloorMaterial", 20, kSettingChoice, 1012, 2, {"岩礁", "白砂", "不定"}},
    {"WaterCurrent", 21, kSettingChoice, 1101, 2, {"海流無し", "弱い海流", "海流強し", "危険海流"}},
    {nullptr, 0, 0, 0, 0, {}},
};

void LoadSettings(int preset) {
  TechSettings.Clear();
  TechSettings.Append(kTechSettingDefaults);
  TechSettings.Load(preset);
  SceneSettings.Clear();
  SceneSettings.Append(kSceneSettingDefaults);
  SceneSettings.Load(preset);
}

void SaveSettings() {
  TechSettings.Save();
  SceneSettings.Save();
}

void SettingsToDialog(HWND page) {
  TechSettings.ToDialog(page);
  SceneSettings.ToDialog(page);
}

void SettingsFromDialog(HWND page) {
  TechSettings.FromDialog(page);
  SceneSettings.FromDialog(page);
}

int GetTechSetting(int pos) { return TechSettings.Value(pos); }
int GetSceneSetting(int pos) { return SceneSettings.Value(pos); }
void SetSceneSetting(int pos, int value) { SceneSettings.SetValue(pos, value); }

void ResolveRandomSceneSettings(int (*draw)()) {
  struct RandomChoice {
    int pos;
    int entries;  // the last entry is the random one
  };
  static const RandomChoice kChoices[] = {
      {kSceneWaterity, 4}, {kSceneLights, 3}, {kSceneUpsDowns, 4}, {kSceneFloorMaterial, 2}};
  for (const RandomChoice& c : kChoices)
    if (GetSceneSetting(c.pos) == c.entries) SetSceneSetting(c.pos, draw() % c.entries);
}
