// The editing rules of the settings dialog's flock and camera pages, without
// windows: the AIs offered for a fish, list rows, reselection, the entry
// edits that call into AI records (scripted here), the 100-flock cap, the
// total with its multiplier, and loading a preset into the lists.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ConfigEditing.h"
#include "Settings.h"
#include "SettingsTestSupport.h"
#include "config/X2CameraConfig.h"
#include "config/X2CoralConfig.h"
#include "config/X2FlockConfig.h"
#include "config/X2StructureConfig.h"
#include "pluginlists/X2AIList.h"

using settingstest::ProgramFolderFixture;

namespace {

// What the scripted entry points were called with.
struct Calls {
  int configureResult = 1;
  HMODULE module = nullptr;
  int row = -1, size = 0, last = -1, highPower = -1;
  std::string seen;
} g_calls;

int X2_CDECL ScriptedConfigure(HMODULE module, int row, char* param, int size, X2HostCallbacks*, int last) {
  g_calls.module = module;
  g_calls.row = row;
  g_calls.size = size;
  g_calls.last = last;
  g_calls.seen = param;
  strcpy(param, "Form:edited");
  return g_calls.configureResult;
}
int X2_CDECL ScriptedDefault(int, char* out, int, X2HostCallbacks*, int highPower) {
  g_calls.highPower = highPower;
  strcpy(out, "Scale:default");
  return 0;
}
// Ten fish per flock at "X 1" (index 2), doubling per step.
int X2_CDECL ScriptedCount(int, const char*, X2HostCallbacks*, int m) { return m >= 2 ? 10 << (m - 2) : 10 >> (2 - m); }

X2AIData MakeAI(const char* name, uint32_t capabilities = X2_AI_FLOCK, const char* dedicatedFish = nullptr) {
  X2AIData ai{};
  ai.header.version = X2_VERSION_AI;
  strcpy(ai.header.name, name);
  strcpy(ai.header.maker, "Maker");
  ai.capabilities = capabilities;
  ai.dedicatedFish = dedicatedFish;
  return ai;
}

X2FishData MakeFish(const char* name, const char* defaultAI, uint32_t flags = 0) {
  X2FishData fish{};
  fish.header.version = X2_VERSION_FISH;
  strcpy(fish.header.name, name);
  strcpy(fish.header.maker, "Maker");
  fish.defaultAI = defaultAI;
  fish.flags = flags;
  return fish;
}

// An AI list over an empty program folder, holding scripted records only.
class ScriptedAIs : public ::testing::Test {
 protected:
  ScriptedAIs() : folder_("settings_pages") {}
  void Add(X2AIData* ai) { ais_.Append(&ai->header, nullptr); }
  ProgramFolderFixture folder_;
  X2AIList ais_;
};

}  // namespace

TEST_F(ScriptedAIs, WhichAIsAFishIsOfferedAndWhichIsPreselected) {
  // Plain, dedicated to "Dory", plain, dedicated to no fish at all.
  std::vector<X2AIData> records{MakeAI("Swarm"), MakeAI("Lone", X2_AI_FLOCK | X2_AI_DEDICATED, "dory_maker"),
                                MakeAI("Chase"), MakeAI("Nobody", X2_AI_FLOCK | X2_AI_DEDICATED)};
  for (X2AIData& ai : records) Add(&ai);
  const X2FishData plain = MakeFish("Sardine", "chase_maker");
  const X2FishData dory = MakeFish("Dory", "lone_maker");
  const X2FishData restricted = MakeFish("Ray", "CHASE_Maker", X2_FISH_AI_RESTRICTED);
  const X2FishData orphan = MakeFish("Eel", "gone_maker", X2_FISH_AI_RESTRICTED);
  const struct {
    const char* what;
    const X2FishData* fish;
    const char *preferred, *fallback;
    std::vector<int> offered;
    int selected;
  } cases[] = {
      {"plain fish, its default AI", &plain, "chase_maker", nullptr, {0, 2}, 1},
      {"dedicated AI only for its fish", &dory, "lone_maker", nullptr, {0, 1, 2}, 1},
      {"keys ignore ASCII case", &dory, "SWARM_MAKER", nullptr, {0, 1, 2}, 0},
      {"preferred missing, fallback taken", &plain, "gone_maker", "swarm_maker", {0, 2}, 0},
      {"preferred not offered, fallback taken", &plain, "lone_maker", "chase_maker", {0, 2}, 1},
      {"neither offered", &plain, "gone_maker", nullptr, {0, 2}, -1},
      {"restricted fish: its default only", &restricted, "swarm_maker", nullptr, {2}, 0},
      {"restricted fish whose AI is gone", &orphan, nullptr, nullptr, {}, -1},
      {"no fish: no dedicated AI", nullptr, "chase_maker", nullptr, {0, 2}, 1},
  };
  for (const auto& c : cases) {
    const AIOffer offer = OfferFlockAIs(ais_, c.fish, c.preferred, c.fallback);
    EXPECT_EQ(offer.aiIndexes, c.offered) << c.what;
    EXPECT_EQ(offer.selected, c.selected) << c.what;
  }
}

TEST(ConfigRows, RowTextsAndReselection) {
  X2ConfigEntry flock, camera, coral;
  EXPECT_EQ(FlockRowText(3, flock), "3");
  flock.Set("マダイ_ハルベノルソフト", "追跡(群)_ハルベノルソフト", "Scale:少ない");
  EXPECT_EQ(FlockRowText(0, flock), "0\tマダイ\t追跡(群)\tScale:少ない");
  EXPECT_EQ(CameraRowText(1, camera), "1");
  camera.SetAI("移動方向_ハルベノルソフト");
  EXPECT_EQ(CameraRowText(2, camera), "2\t移動方向\t");
  coral.SetName("ダイオウ_ハルベノルソフト", 0);  // ダ's trail byte is no underscore
  EXPECT_EQ(EnableRowText(coral), "Off\tダイオウ");

  // (deleted row, rows left) -> selected row
  const int cases[][3] = {{0, 2, 0}, {1, 2, 1}, {2, 2, 1}, {0, 0, -1}, {-1, 3, 0}};
  for (const auto& c : cases) EXPECT_EQ(RowAfterDelete(c[0], c[1]), c[2]) << c[0] << " of " << c[1] + 1;
}

TEST(ConfigEdits, ChoosingAnAIResetsTheParameterOnlyWhenItChanges) {
  X2AIData swarm = MakeAI("Swarm"), chase = MakeAI("Chase");
  chase.GetDefaultParam = ScriptedDefault;
  X2ConfigEntry entry;
  entry.Set("Sardine_Maker", "SWARM_Maker", "Form:長い");
  g_calls = Calls();
  EXPECT_FALSE(ChooseEntryAI(&entry, &swarm, true, nullptr, 4));  // the same key in other case
  EXPECT_STREQ(entry.Param(), "Form:長い");
  EXPECT_TRUE(ChooseEntryAI(&entry, &chase, true, nullptr, 4));
  EXPECT_STREQ(entry.AI(), "chase_maker");
  EXPECT_STREQ(entry.Param(), "Scale:default");
  EXPECT_EQ(g_calls.highPower, 4);
  EXPECT_TRUE(ChooseEntryAI(&entry, &swarm, true, nullptr, 4));  // no GetDefaultParam
  EXPECT_STREQ(entry.Param(), "");
  entry.SetParam("x:1");
  EXPECT_TRUE(ChooseEntryAI(&entry, &chase, false, nullptr, 4));  // the camera page's way
  EXPECT_STREQ(entry.Param(), "");
  EXPECT_FALSE(ChooseEntryAI(nullptr, &swarm, true, nullptr, 2));
  EXPECT_FALSE(ChooseEntryAI(&entry, nullptr, true, nullptr, 2));
  EXPECT_STREQ(entry.AI(), "chase_maker");
}

TEST(ConfigEdits, ParameterButtonStoresOnlyAnAcceptedEdit) {
  X2AIData ai = MakeAI("Chase");
  X2ConfigEntry entry;
  entry.Set("Sardine_Maker", "chase_maker", "Form:長い");
  HMODULE module = reinterpret_cast<HMODULE>(0x1234);
  EXPECT_FALSE(EditEntryParam(&entry, &ai, module, 3, nullptr, 2));  // no Configure
  ai.Configure = ScriptedConfigure;
  g_calls = Calls();
  g_calls.configureResult = 2;  // Cancel
  EXPECT_FALSE(EditEntryParam(&entry, &ai, module, 3, nullptr, 2));
  EXPECT_STREQ(entry.Param(), "Form:長い");
  EXPECT_EQ(g_calls.seen, "Form:長い");
  EXPECT_EQ(g_calls.module, module);
  EXPECT_EQ(g_calls.row, 3);
  EXPECT_EQ(g_calls.size, kParamEditSize);
  EXPECT_EQ(g_calls.last, 2);
  g_calls.configureResult = 1;
  EXPECT_TRUE(EditEntryParam(&entry, &ai, module, 0, nullptr, 0));
  EXPECT_STREQ(entry.Param(), "Form:edited");
  EXPECT_FALSE(EditEntryParam(nullptr, &ai, module, 0, nullptr, 0));
}

TEST_F(ScriptedAIs, AddingFlocksUpToTheCapAndTheTotal) {
  X2AIData chase = MakeAI("Chase"), swarm = MakeAI("Swarm");
  chase.GetDefaultParam = ScriptedDefault;
  chase.CountFish = ScriptedCount;
  Add(&chase);
  Add(&swarm);  // cannot count: adds nothing to the total
  const X2FishData fish = MakeFish("Sardine", nullptr);
  X2FlockConfig flocks;
  flocks.highPowerFactor = 5;
  g_calls = Calls();
  EXPECT_EQ(AddFlockEntry(&flocks, &fish, &chase, nullptr), 0);
  EXPECT_STREQ(flocks.Entry(0)->Name(), "sardine_maker");
  EXPECT_STREQ(flocks.Entry(0)->AI(), "chase_maker");
  EXPECT_STREQ(flocks.Entry(0)->Param(), "Scale:default");
  EXPECT_EQ(g_calls.highPower, 5);
  EXPECT_EQ(AddFlockEntry(&flocks, nullptr, &chase, nullptr), -1);
  EXPECT_EQ(AddFlockEntry(&flocks, &fish, nullptr, nullptr), -1);
  EXPECT_EQ(AddFlockEntry(&flocks, &fish, &swarm, nullptr), 1);
  flocks.AddFlock("sardine_maker", "gone_maker", "");  // not installed: adds nothing
  flocks.AddFlock("sardine_maker", "CHASE_MAKER", "");
  const int totals[X2FlockConfig::kMultiplierCount] = {4, 10, 20, 40, 80, 160};
  for (int m = 0; m < X2FlockConfig::kMultiplierCount; ++m) {
    flocks.highPowerFactor = m;
    EXPECT_EQ(flocks.TotalFish(&ais_, nullptr), totals[m]) << "multiplier " << m;
  }
  while (flocks.Count() < X2ConfigList::kMaxEntries) ASSERT_GE(AddFlockEntry(&flocks, &fish, &chase, nullptr), 0);
  EXPECT_EQ(AddFlockEntry(&flocks, &fish, &chase, nullptr), -1);  // the 101st
  EXPECT_EQ(flocks.Count(), X2ConfigList::kMaxEntries);

  X2CameraConfig cameras("Source");
  EXPECT_EQ(AddCameraEntry(&cameras, &chase), 0);
  EXPECT_STREQ(cameras.Entry(0)->Param(), "");
  EXPECT_EQ(AddCameraEntry(&cameras, nullptr), -1);
  EXPECT_EQ(cameras.Count(), 1);
}

TEST(PresetLoad, APresetFillsTheListsAndTablesAndWritesNothing) {
  ProgramFolderFixture folder("settings_pages_preset");
  const std::string dir = folder.Folder();
  CreateDirectoryA((dir + "preset").c_str(), nullptr);
  CreateDirectoryA((dir + "preset\\3").c_str(), nullptr);
  qvtest::WriteFileText(dir + "preset\\3\\qelvar.ini", "[system]\r\nWaterity=1\r\n");
  qvtest::WriteFileText(dir + "preset\\3\\FlockConfig.ini",
                        "[flockConfig]\r\nflockCount=1\r\nHighPowerFactor=4\r\n[flock0]\r\nfishType=b_m\r\n");
  qvtest::WriteFileText(dir + "preset\\3\\CameraConfig.ini",
                        "[SourceCameraConfig]\r\nCameraChangeTime=5\r\nCameraCount=1\r\n[SourceCamera0]\r\nai=s_m\r\n");
  LoadSettings(0);
  X2FlockConfig flocks;
  X2CameraConfig source("Source"), target("Target");
  X2CoralConfig coral;
  X2StructureConfig structures;
  TheFlockConfig = &flocks;
  TheSourceCameraConfig = &source;
  TheTargetCameraConfig = &target;
  TheCoralConfig = &coral;
  TheStructureConfig = &structures;
  for (X2ConfigList* list : std::vector<X2ConfigList*>{&flocks, &source, &target, &coral, &structures})
    list->SetFolder(dir.c_str());
  flocks.AddFlock("old_m", "x_m", "");
  target.AddCamera("t_m", "");

  // A preset that is not installed changes nothing.
  SetSceneSetting(kSceneWaterity, 2);
  EXPECT_FALSE(LoadPreset(2));
  EXPECT_FALSE(LoadPreset(4));
  EXPECT_EQ(GetSceneSetting(kSceneWaterity), 2);
  EXPECT_STREQ(flocks.Entry(0)->Name(), "old_m");

  EXPECT_TRUE(LoadPreset(3));
  EXPECT_EQ(GetSceneSetting(kSceneWaterity), 1);
  EXPECT_EQ(GetSceneSetting(kSceneLights), 3);  // not in the preset: its default
  ASSERT_EQ(flocks.Count(), 1);
  EXPECT_STREQ(flocks.Entry(0)->Name(), "b_m");
  EXPECT_EQ(flocks.highPowerFactor, 4);
  EXPECT_EQ(source.Count(), 1);
  EXPECT_EQ(source.changeTimeIndex, 5);
  EXPECT_EQ(target.Count(), 0);  // none in the preset
  for (const char* file : {"qelvar.ini", "FlockConfig.ini", "CameraConfig.ini", "CoralConfig.ini"})
    EXPECT_FALSE(qvtest::FileExists(dir + file)) << file;

  TheFlockConfig = nullptr;
  TheSourceCameraConfig = TheTargetCameraConfig = nullptr;
  TheCoralConfig = nullptr;
  TheStructureConfig = nullptr;
  LoadSettings(0);
}
