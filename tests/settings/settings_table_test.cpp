// The settings tables: defaults, ini load and save, presets, bad values.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "Settings.h"
#include "SettingsTestSupport.h"

using settingstest::ProgramFolderFixture;
using settingstest::ReadIni;

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() : folder_("settings") {}
  void WriteMain(const std::string& text) {
    ASSERT_TRUE(qvtest::WriteFileText(folder_.Ini(), text));
  }
  void WritePreset(int n, const std::string& text) {
    std::string dir = folder_.Folder() + "preset";
    CreateDirectoryA(dir.c_str(), nullptr);
    dir += "\\" + std::to_string(n);
    CreateDirectoryA(dir.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileText(dir + "\\qelvar.ini", text));
  }
  ProgramFolderFixture folder_;
};

std::string Bytes(const char* s) { return std::string(s); }

}  // namespace

TEST_F(SettingsTest, NoIniGivesEveryStaticDefault) {
  LoadSettings(0);
  ASSERT_EQ(TechSettings.Count(), 10);
  ASSERT_EQ(SceneSettings.Count(), 22);
  const int tech[] = {0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(GetTechSetting(i), tech[i]) << i;
  const int scene[] = {0x3E4CCCCD, 0x3F4CCCCD, 4, 3, 1, 0, 1, 1, 1, 1, 0,
                       1,          0,          1, 0, 0, 18, 26, 3, 4, 2, 2};
  for (int i = 0; i < 22; ++i) EXPECT_EQ(GetSceneSetting(i), scene[i]) << i;
  EXPECT_EQ(SettingBitsToFloat(GetSceneSetting(kSceneFBRotation)), 0.2f);
  EXPECT_EQ(SettingBitsToFloat(GetSceneSetting(kSceneTerrainGen)), 0.8f);
  // Positions and names agree with the enums the scene code uses.
  EXPECT_STREQ(TechSettings.Item(kTechMultiSurface)->name, "MultiSurface");
  EXPECT_STREQ(SceneSettings.Item(kSceneWaterCurrent)->name, "WaterCurrent");
  for (int i = 0; i < SceneSettings.Count(); ++i) EXPECT_EQ(SceneSettings.Item(i)->index, i);
  EXPECT_NE(ProgramFolderFixture::Log().find("not found, defaults used"), std::string::npos);
}

TEST_F(SettingsTest, SaveWritesOnlyItemsWithAControl) {
  LoadSettings(0);
  SaveSettings();
  std::string ini = folder_.Ini();
  for (const char* key : {"FlockMateEffect", "CrashGuard", "FBRotation", "TerrainGen"})
    EXPECT_EQ(ReadIni(ini, key), "<missing>") << key;
  EXPECT_EQ(ReadIni(ini, "TwinfinTech"), "0");
  EXPECT_EQ(ReadIni(ini, "PixelShader11"), "1");
  EXPECT_EQ(ReadIni(ini, "Waterity"), "4");
  EXPECT_EQ(ReadIni(ini, "CameraAIStability"), "18");
  EXPECT_EQ(ReadIni(ini, "WaterCurrent"), "2");
  // 8 tech items and 20 scene items have a control.
  char keys[4096];
  DWORD n = GetPrivateProfileStringA("system", nullptr, "", keys, sizeof keys, ini.c_str());
  int count = 0;
  for (DWORD i = 0; i < n; i += static_cast<DWORD>(strlen(keys + i)) + 1) ++count;
  EXPECT_EQ(count, 28);
}

TEST_F(SettingsTest, KeysOfItemsWithoutAControlAreIgnored) {
  WriteMain("[system]\r\nFBRotation=5\r\nTerrainGen=-1\r\nFlockMateEffect=2\r\nCrashGuard=1\r\n");
  LoadSettings(0);
  EXPECT_EQ(GetSceneSetting(kSceneFBRotation), 0x3E4CCCCD);
  EXPECT_EQ(GetSceneSetting(kSceneTerrainGen), 0x3F4CCCCD);
  EXPECT_EQ(GetTechSetting(kTechFlockMateEffect), 1);
  EXPECT_EQ(GetTechSetting(kTechCrashGuard), 0);
}

TEST_F(SettingsTest, NegativeValuesAndFloatBitsRoundTrip) {
  LoadSettings(0);
  SetSceneSetting(kSceneCameraAIStability, -5);
  SetSceneSetting(kSceneCameraMaxZoom, INT_MIN);
  SaveSettings();
  EXPECT_EQ(ReadIni(folder_.Ini(), "CameraAIStability"), "-5");
  EXPECT_EQ(ReadIni(folder_.Ini(), "CameraMaxZoom"), "-2147483648");
  LoadSettings(0);
  EXPECT_EQ(GetSceneSetting(kSceneCameraAIStability), -5);
  EXPECT_EQ(GetSceneSetting(kSceneCameraMaxZoom), INT_MIN);

  // A float item holds any bit pattern, negative floats and NaN included.
  for (float f : {-0.75f, 1.0e-30f, -0.0f}) {
    SetSceneSetting(kSceneFBRotation, FloatToSettingBits(f));
    int bits = GetSceneSetting(kSceneFBRotation);
    float back = SettingBitsToFloat(bits);
    EXPECT_EQ(memcmp(&back, &f, 4), 0) << f;
  }
  SetSceneSetting(kSceneTerrainGen, 0x7FC00001);
  EXPECT_EQ(GetSceneSetting(kSceneTerrainGen), 0x7FC00001);
  // ...and reloading restores the static float, never read from the file.
  SaveSettings();
  LoadSettings(0);
  EXPECT_EQ(GetSceneSetting(kSceneFBRotation), 0x3E4CCCCD);
  EXPECT_EQ(GetSceneSetting(kSceneTerrainGen), 0x3F4CCCCD);
}

TEST_F(SettingsTest, PresetReloadResetsToDefaultsThenApplies) {
  WriteMain("[system]\r\nWaterity=1\r\nHalation=1\r\nMultiSurface=3\r\n");
  WritePreset(2, "[system]\r\nLights=0\r\nCoralDensity=4\r\n");
  LoadSettings(0);
  EXPECT_EQ(GetSceneSetting(kSceneWaterity), 1);
  EXPECT_EQ(GetSceneSetting(kSceneHalation), 1);
  EXPECT_EQ(GetTechSetting(kTechMultiSurface), 3);
  SetSceneSetting(kSceneSeaface, 0);
  SetSceneSetting(kSceneFBRotation, 7);

  LoadSettings(2);
  // Missing from the preset: static defaults, not the values held before.
  EXPECT_EQ(GetSceneSetting(kSceneWaterity), 4);
  EXPECT_EQ(GetSceneSetting(kSceneHalation), 0);
  EXPECT_EQ(GetTechSetting(kTechMultiSurface), 1);
  EXPECT_EQ(GetSceneSetting(kSceneSeaface), 1);
  EXPECT_EQ(GetSceneSetting(kSceneFBRotation), 0x3E4CCCCD);
  // From the preset.
  EXPECT_EQ(GetSceneSetting(kSceneLights), 0);
  EXPECT_EQ(GetSceneSetting(kSceneCoralDensity), 4);

  // Saving after a preset load always writes the main file.
  SaveSettings();
  EXPECT_EQ(ReadIni(folder_.Ini(), "Lights"), "0");
  EXPECT_EQ(ReadIni(folder_.Folder() + "preset\\2\\qelvar.ini", "Waterity"), "<missing>");

  // Numbers other than 1..3 name the main file.
  char name[MAX_PATH];
  C4SettingTable::BuildFileName(7, name, sizeof name);
  EXPECT_EQ(name, folder_.Ini());
  C4SettingTable::BuildFileName(3, name, sizeof name);
  EXPECT_EQ(name, folder_.Folder() + "preset\\3\\qelvar.ini");
}

TEST_F(SettingsTest, BadValuesGiveDefaultsAndALogLine) {
  WriteMain(
      "[system]\r\n"
      "Waterity=deep\r\n"          // text
      "Lights=7\r\n"               // past the last label
      "UpsDowns=-1\r\n"            // before the first label
      "MultiSurface=4\r\n"         // past the last label
      "Seaface=2\r\n"              // a check box holds 0 or 1
      "CameraAIStability=12abc\r\n"
      "CameraMaxZoom=99999999999\r\n"  // too big for an int
      "Bubble=\r\n"                // empty
      "Flare= 0 \r\n"              // blanks around a number are fine
      "FloorMaterial=1\r\n"        // good
      "Skydome=" + std::string(300, '0') + "\r\n");  // longer than any number
  // The remaining keys are missing.
  LoadSettings(0);
  EXPECT_EQ(GetSceneSetting(kSceneWaterity), 4);
  EXPECT_EQ(GetSceneSetting(kSceneLights), 3);
  EXPECT_EQ(GetSceneSetting(kSceneUpsDowns), 4);
  EXPECT_EQ(GetTechSetting(kTechMultiSurface), 1);
  EXPECT_EQ(GetSceneSetting(kSceneSeaface), 1);
  EXPECT_EQ(GetSceneSetting(kSceneCameraAIStability), 18);
  EXPECT_EQ(GetSceneSetting(kSceneCameraMaxZoom), 3);
  EXPECT_EQ(GetSceneSetting(kSceneBubble), 1);
  EXPECT_EQ(GetSceneSetting(kSceneFlare), 0);
  EXPECT_EQ(GetSceneSetting(kSceneFloorMaterial), 1);
  EXPECT_EQ(GetSceneSetting(kSceneHalation), 0);  // missing
  EXPECT_EQ(GetSceneSetting(kSceneSkydome), 1);

  std::string log = ProgramFolderFixture::Log();
  EXPECT_NE(log.find("Waterity=\"deep\" is not a number, default 4"), std::string::npos) << log;
  EXPECT_NE(log.find("Lights=7 out of range, default 3"), std::string::npos) << log;
  EXPECT_NE(log.find("UpsDowns=-1 out of range"), std::string::npos) << log;
  EXPECT_NE(log.find("MultiSurface=4 out of range"), std::string::npos) << log;
  EXPECT_NE(log.find("Seaface=2 out of range"), std::string::npos) << log;
  EXPECT_NE(log.find("CameraAIStability=\"12abc\""), std::string::npos) << log;
  EXPECT_NE(log.find("CameraMaxZoom=\"99999999999\""), std::string::npos) << log;
  EXPECT_NE(log.find("Bubble=\"\""), std::string::npos) << log;
  EXPECT_NE(log.find("Halation missing, default 0"), std::string::npos) << log;
  EXPECT_NE(log.find("Skydome=\"000"), std::string::npos) << log;
  EXPECT_EQ(log.find("FloorMaterial"), std::string::npos) << log;
  EXPECT_EQ(log.find("Flare"), std::string::npos) << log;
}

TEST_F(SettingsTest, LastLabelIsStillAValidChoice) {
  WriteMain("[system]\r\nWaterity=4\r\nLights=3\r\nMultiSurface=3\r\nWaterCurrent=3\r\n");
  LoadSettings(0);
  EXPECT_EQ(GetSceneSetting(kSceneWaterity), 4);
  EXPECT_EQ(GetSceneSetting(kSceneLights), 3);
  EXPECT_EQ(GetTechSetting(kTechMultiSurface), 3);
  EXPECT_EQ(GetSceneSetting(kSceneWaterCurrent), 3);
}

TEST_F(SettingsTest, PositionsOutsideTheTablesAreSafe) {
  LoadSettings(0);
  EXPECT_EQ(GetTechSetting(-1), 0);
  EXPECT_EQ(GetTechSetting(10), 0);
  EXPECT_EQ(GetSceneSetting(22), 0);
  EXPECT_EQ(GetSceneSetting(1000000), 0);
  SetSceneSetting(22, 5);
  SetSceneSetting(-3, 5);
  EXPECT_EQ(SceneSettings.Count(), 22);
  EXPECT_NE(ProgramFolderFixture::Log().find("no item at 22"), std::string::npos);

  // Before LoadSettings a table is empty and answers 0.
  C4SettingTable empty;
  EXPECT_EQ(empty.Value(0), 0);
  EXPECT_EQ(empty.Item(0), nullptr);
}

TEST_F(SettingsTest, TableRefusesItemsPastItsCapacity) {
  static C4SettingItem many[C4SettingTable::kCapacity + 6];
  for (int i = 0; i < C4SettingTable::kCapacity + 5; ++i) many[i] = {"Key", i, 0, 0, i, {}};
  many[C4SettingTable::kCapacity + 5] = {nullptr, 0, 0, 0, 0, {}};
  C4SettingTable table;
  EXPECT_FALSE(table.Append(many));
  EXPECT_EQ(table.Count(), C4SettingTable::kCapacity);
  EXPECT_EQ(table.Value(C4SettingTable::kCapacity - 1), C4SettingTable::kCapacity - 1);
  EXPECT_NE(ProgramFolderFixture::Log().find("more than 100 items"), std::string::npos);
}

TEST(SettingsLabels, ShiftJisBytesAreExact) {
  LoadSettings(0);
  // MultiSurface label 1: 微 幻想(グレアON)
  EXPECT_EQ(Bytes(TechSettings.Item(kTechMultiSurface)->labels[1]),
            "\x94\xF7\x20\x8C\xB6\x91\x7A(\x83\x4F\x83\x8C\x83\x41ON)");
  // Waterity: クリア, 薄濁り, 青い, 深い, 不定
  const C4SettingItem* w = SceneSettings.Item(kSceneWaterity);
  EXPECT_EQ(Bytes(w->labels[0]), "\x83\x4E\x83\x8A\x83\x41");
  EXPECT_EQ(Bytes(w->labels[1]), "\x94\x96\x91\xF7\x82\xE8");
  EXPECT_EQ(Bytes(w->labels[4]), "\x95\x73\x92\xE8");
  EXPECT_EQ(w->LabelCount(), 5);
  // WaterCurrent label 3: 危険海流
  EXPECT_EQ(Bytes(SceneSettings.Item(kSceneWaterCurrent)->labels[3]),
            "\x8A\xEB\x8C\xAF\x8A\x43\x97\xAC");
  // FloorMaterial: 岩礁, 白砂, 不定
  const C4SettingItem* f = SceneSettings.Item(kSceneFloorMaterial);
  EXPECT_EQ(Bytes(f->labels[0]), "\x8A\xE2\x8F\xCA");
  EXPECT_EQ(Bytes(f->labels[1]), "\x94\x92\x8D\xBB");
  EXPECT_EQ(f->LabelCount(), 3);
  // Label counts of every choice item.
  EXPECT_EQ(TechSettings.Item(kTechFlockMateEffect)->LabelCount(), 3);
  EXPECT_EQ(SceneSettings.Item(kSceneLights)->LabelCount(), 4);
  EXPECT_EQ(SceneSettings.Item(kSceneCoralDensity)->LabelCount(), 5);
  EXPECT_EQ(SceneSettings.Item(kSceneUpsDowns)->LabelCount(), 5);
  EXPECT_EQ(Bytes(SceneSettings.Item(kSceneUpsDowns)->labels[3]),
            "\x8E\x52\x82\xA0\x82\xE8\x92\x4A\x82\xA0\x82\xE8");
}
