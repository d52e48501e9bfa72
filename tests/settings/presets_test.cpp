// The three presets as installed into the distributable folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Settings.h"
#include "SettingsTestSupport.h"

using settingstest::ProgramFolderFixture;
using settingstest::ReadIni;

namespace {

const char* const kFiles[] = {"qelvar.ini", "FlockConfig.ini", "CameraConfig.ini",
                              "CoralConfig.ini", "StructureConfig.ini"};

std::string PresetDir(int n) { return qvtest::DistDir() + "preset\\" + std::to_string(n) + "\\"; }

int ReadInt(const std::string& file, const char* section, const char* key) {
  return GetPrivateProfileIntA(section, key, -999, file.c_str());
}

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t at = text.find(sep, start);
    parts.push_back(text.substr(start, at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

// The flock AI's parameter keys and their choices (empty: a number).
const std::map<std::string, std::vector<std::string>>& FlockParamKeys() {
  static const std::map<std::string, std::vector<std::string>> keys = {
      {"Form", {"", "長い", "広い"}},
      {"Density", {"", "広い", "狭い"}},
      {"Scale", {"巨大", "多い", "少ない"}},
      {"SizeVarie", {"X1", "X1-X2", "X1-X3", "X2-X3"}},
      {"Character", {"おとなしい", "活発"}},
      {"Depth", {"表層", "底層", "全て"}},
      {"FlockID", {}},
      {"FishPosition", {"先頭", "真ん中", "後尾"}},
  };
  return keys;
}

class PresetTest : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(PresetTest, FilesAreShiftJisWithCrLf) {
  for (const char* name : kFiles) {
    std::string path = PresetDir(GetParam()) + name;
    ASSERT_TRUE(qvtest::FileExists(path)) << path;
    auto bytes = qvtest::ReadFileBytes(path);
    ASSERT_FALSE(bytes.empty()) << path;
    EXPECT_EQ(bytes[bytes.size() - 2], '\r') << path;
    EXPECT_EQ(bytes.back(), '\n') << path;
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\n') {
        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << path << " at " << i;
      }
    }
    // No UTF-8 byte order mark or UTF-8 lead bytes of kana (E3 8x).
    std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.find("\xEF\xBB\xBF"), std::string::npos) << path;
    EXPECT_EQ(text.find("\xE3\x83"), std::string::npos) << path;
  }
  // The maker's name as Shift-JIS bytes (its ソ carries a 0x5C trail byte).
  auto flock = qvtest::ReadFileBytes(PresetDir(GetParam()) + "FlockConfig.ini");
  std::string text(flock.begin(), flock.end());
  EXPECT_NE(text.find("\x83\x6E\x83\x8B\x83\x78\x83\x6D\x83\x8B\x83\x5C\x83\x74\x83\x67"),
            std::string::npos);
}

TEST_P(PresetTest, LoadsEveryItemWithoutComplaint) {
  const int n = GetParam();
  ProgramFolderFixture folder("preset_load");
  std::string dir = folder.Folder() + "preset";
  CreateDirectoryA(dir.c_str(), nullptr);
  dir += "\\" + std::to_string(n) + "\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  ASSERT_TRUE(qvtest::CopyFileTo(PresetDir(n) + "qelvar.ini", dir + "qelvar.ini"));
  ProgramFolderFixture::ClearLog();

  LoadSettings(n);
  std::string log = ProgramFolderFixture::Log();
  EXPECT_EQ(log.find("Settings:"), std::string::npos) << log;
  // Every item with a control is in the preset (a full set).
  for (const C4SettingTable* table : {&TechSettings, &SceneSettings}) {
    for (int i = 0; i < table->Count(); ++i) {
      const C4SettingItem* item = table->Item(i);
      if (item->controlId == 0) continue;
      EXPECT_NE(ReadIni(dir + "qelvar.ini", item->name), "<missing>") << item->name;
    }
  }
  // Presets never switch on dual view or keep the saver from ending.
  EXPECT_EQ(GetTechSetting(kTechDualView), 0);
  EXPECT_EQ(GetTechSetting(kTechDisableMouseExit), 0);
}

TEST_P(PresetTest, FlocksNameShippedSpeciesAndTheFlockAi) {
  const std::string file = PresetDir(GetParam()) + "FlockConfig.ini";
  const std::set<std::string> species = {
      "マアジ_ハルベノルソフト",   "ブリ_ハルベノルソフト",       "マイワシ_ハルベノルソフト",
      "マダイ_ハルベノルソフト",   "クロダイ_ハルベノルソフト",   "マダイ（青）_ハルベノルソフト",
      "マダイ（黄）_ハルベノルソフト", "ジンベエザメ_ハルベノルソフト" /* the model folder's vassop */};
  int count = ReadInt(file, "flockConfig", "flockCount");
  ASSERT_GE(count, 1);
  ASSERT_LE(count, 100);
  int factor = ReadInt(file, "flockConfig", "HighPowerFactor");
  EXPECT_GE(factor, 0);
  EXPECT_LE(factor, 5);
  for (int i = 0; i < count; ++i) {
    std::string section = "flock" + std::to_string(i);
    EXPECT_EQ(species.count(ReadIni(file, "fishType", section.c_str())), 1u) << section;
    EXPECT_EQ(ReadIni(file, "ai", section.c_str()), "追跡(群)_ハルベノルソフト") << section;
    std::string param = ReadIni(file, "aiParam", section.c_str());
    ASSERT_NE(param, "<missing>") << section;
    if (param.empty()) continue;
    for (const std::string& item : Split(param, ',')) {
      std::vector<std::string> kv = Split(item, ':');
      ASSERT_EQ(kv.size(), 2u) << item;
      auto key = FlockParamKeys().find(kv[0]);
      ASSERT_NE(key, FlockParamKeys().end()) << item;
      if (key->second.empty()) {
        int flock = atoi(kv[1].c_str());
        EXPECT_GE(flock, 0) << item;
        EXPECT_LT(flock, count) << item;
      } else {
        EXPECT_NE(std::find(key->second.begin(), key->second.end(), kv[1]), key->second.end())
            << item;
      }
    }
  }
  // No stale section past the count.
  EXPECT_EQ(ReadIni(file, "fishType", ("flock" + std::to_string(count)).c_str()), "<missing>");
}

TEST_P(PresetTest, CamerasNameTheCameraAi) {
  const std::string file = PresetDir(GetParam()) + "CameraConfig.ini";
  for (const char* list : {"Source", "Target"}) {
    std::string config = std::string(list) + "CameraConfig";
    int change = ReadInt(file, config.c_str(), "CameraChangeTime");
    EXPECT_GE(change, 0) << list;
    EXPECT_LE(change, 6) << list;
    int count = ReadInt(file, config.c_str(), "CameraCount");
    EXPECT_GE(count, 0) << list;
    for (int i = 0; i < count; ++i) {
      std::string section = std::string(list) + "Camera" + std::to_string(i);
      EXPECT_EQ(ReadIni(file, "ai", section.c_str()), "移動方向_ハルベノルソフト") << section;
      std::string param = ReadIni(file, "aiParam", section.c_str());
      EXPECT_TRUE(param.empty() || param == "Forelens:進行方向" || param == "Forelens:進行方向と逆")
          << section;
    }
  }
  // Only the look-at list has an AI among the shipped plug-ins.
  EXPECT_GE(ReadInt(file, "TargetCameraConfig", "CameraCount"), 1);
}

INSTANTIATE_TEST_SUITE_P(Presets, PresetTest, ::testing::Values(1, 2, 3));

