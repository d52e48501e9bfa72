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
#include "TestSupport.h"
#include "X2AIList.h"
#include "X2CameraAIList.h"
#include "X2CameraConfig.h"
#include "X2CoralConfig.h"
#include "X2CoralList.h"
#include "X2FlockConfig.h"
#include "X2StructureConfig.h"
#include "X2StructureList.h"

using settingstest::ProgramFolderFixture;

namespace {

// What the scripted AI entry points were called with.
struct Calls {
  int configureResult = 1;
  HMODULE module = nullptr;
  int row = -1, size = 0, last = -1, highPower = -1;
  std::string seen;
};
Calls g_calls;

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
// Ten fish per flock at multiplier index 2 ("X 1"), doubling per step.
int X2_CDECL ScriptedCount(int, const char*, X2HostCallbacks*, int highPower) {
  return highPower >= 2 ? 10 << (highPower - 2) : 10 >> (2 - highPower);
}

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

class AIListForTest : public X2RecordList<X2AIData> {
 public:
  explicit AIListForTest(std::vector<X2AIData>* records) {
    for (X2AIData& ai : *records) Append(&ai.header, nullptr);
  }
  const char* Pattern() const override { return "*.none"; }
};

// Plain, dedicated to "Dory", plain, dedicated with no fish named.
class FlockAIOffer : public ::testing::Test {
 protected:
  std::vector<X2AIData> records{MakeAI("Swarm"), MakeAI("Lone", X2_AI_FLOCK | X2_AI_DEDICATED, "dory_maker"),
                                MakeAI("Chase"), MakeAI("Nobody", X2_AI_FLOCK | X2_AI_DEDICATED)};
  AIListForTest ais{&records};
};

}  // namespace

TEST_F(FlockAIOffer, WhichAIsAFishIsOfferedAndWhichIsPreselected) {
  const X2FishData plain = MakeFish("Sardine", "chase_maker");
  const X2FishData dory = MakeFish("Dory", "lone_maker");
  const X2FishData restricted = MakeFish("Ray", "CHASE_Maker", X2_FISH_AI_RESTRICTED);
  const X2FishData restrictedGone = MakeFish("Eel", "gone_maker", X2_FISH_AI_RESTRICTED);
  const struct {
    const char* what;
    const X2FishData* fish;
    const char* preferred;
    const char* fallback;
    std::vector<int> offered;
    int selected;
  } cases[] = {
      {"plain fish, its default AI", &plain, plain.defaultAI, nullptr, {0, 2}, 1},
      {"dedicated AI only for its fish", &dory, dory.defaultAI, nullptr, {0, 1, 2}, 1},
      {"keys ignore ASCII case", &dory, "SWARM_MAKER", nullptr, {0, 1, 2}, 0},
      {"preferred missing, fallback taken", &plain, "gone_maker", "swarm_maker", {0, 2}, 0},
      {"preferred not offered, fallback taken", &plain, "lone_maker", "chase_maker", {0, 2}, 1},
      {"neither offered", &plain, "gone_maker", nullptr, {0, 2}, -1},
      {"restricted fish: its default only", &restricted, "swarm_maker", nullptr, {2}, 0},
      {"restricted fish whose AI is gone", &restrictedGone, nullptr, nullptr, {}, -1},
      {"no fish: no dedicated AI", nullptr, "chase_maker", nullptr, {0, 2}, 1},
  };
  for (const auto& c : cases) {
    const AIOffer offer = OfferFlockAIs(ais, c.fish, c.preferred, c.fallback);
    EXPECT_EQ(offer.aiIndexes, c.offered) << c.what;
    EXPECT_EQ(offer.selected, c.selected) << c.what;
  }
}

TEST(ConfigRows, RowTextsOfTheFourLists) {
  X2ConfigEntry flock;
  EXPECT_EQ(FlockRowText(3, flock), "3");
  flock.Set("マダイ_ハルベノルソフト", "追跡(群)_ハルベノルソフト", "Scale:少ない");
  EXPECT_EQ(FlockRowText(0, flock), "0\tマダイ\t追跡(群)\tScale:少ない");
  flock.SetName("", 1);
  EXPECT_EQ(FlockRowText(7, flock), "7");

  X2ConfigEntry camera;
  EXPECT_EQ(CameraRowText(1, camera), "1");
  camera.SetAI("移動方向_ハルベノルソフト");
  EXPECT_EQ(CameraRowText(1, camera), "1\t移動方向\t");
  camera.SetParam("Forelens:進行方向と逆");
  EXPECT_EQ(CameraRowText(2, camera), "2\t移動方向\tForelens:進行方向と逆");

  X2ConfigEntry coral;
  coral.SetName("ダイオウ_ハルベノルソフト", 1);  // ダ's trail byte is no underscore
  EXPECT_EQ(EnableRowText(coral), "On\tダイオウ");
  coral.enable = 0;
  EXPECT_EQ(EnableRowText(coral), "Off\tダイオウ");

  EXPECT_EQ(TotalFishText(345), "TOTAL Fish:345");
}

TEST(ConfigRows, ReselectionAfterADelete) {
  const struct {
    int deleted, remaining, selected;
  } cases[] = {
      {0, 2, 0},   // first of three: the new first
      {1, 2, 1},   // middle: the row that moved up
      {2, 2, 1},   // last of three: the new last
      {0, 0, -1},  // the only one: nothing
      {-1, 3, 0},  // no row known: the first
  };
  for (const auto& c : cases)
    EXPECT_EQ(RowAfterDelete(c.deleted, c.remaining), c.selected) << c.deleted << " of " << c.remaining + 1;
}

TEST(ConfigEdits, ChoosingAnAIResetsTheParameterOnlyWhenItChanges) {
  X2AIData swarm = MakeAI("Swarm");
  X2AIData chase = MakeAI("Chase");
  chase.GetDefaultParam = ScriptedDefault;
  X2ConfigEntry entry;
  entry.Set("Sardine_Maker", "SWARM_Maker", "Form:長い");

  g_calls = Calls();
  EXPECT_FALSE(ChooseEntryAI(&entry, &swarm, true, nullptr, 4));  // same key, other case
  EXPECT_STREQ(entry.Param(), "Form:長い");
  EXPECT_EQ(g_calls.highPower, -1);

  EXPECT_TRUE(ChooseEntryAI(&entry, &chase, true, nullptr, 4));
  EXPECT_STREQ(entry.AI(), "chase_maker");
  EXPECT_EQ(entry.AIDisplayName(), "chase");
  EXPECT_STREQ(entry.Param(), "Scale:default");
  EXPECT_EQ(g_calls.highPower, 4);

  // Back to an AI without GetDefaultParam; the camera page never asks.
  EXPECT_TRUE(ChooseEntryAI(&entry, &swarm, true, nullptr, 4));
  EXPECT_STREQ(entry.Param(), "");
  entry.SetParam("x:1");
  EXPECT_TRUE(ChooseEntryAI(&entry, &chase, false, nullptr, 4));
  EXPECT_STREQ(entry.Param(), "");

  // No entry or no AI: nothing.
  EXPECT_FALSE(ChooseEntryAI(nullptr, &chase, true, nullptr, 2));
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
  EXPECT_EQ(g_calls.last, 0);

  EXPECT_FALSE(EditEntryParam(nullptr, &ai, module, 0, nullptr, 0));
  EXPECT_FALSE(EditEntryParam(&entry, nullptr, module, 0, nullptr, 0));
}

TEST(ConfigEdits, AddingFlocksAndCameras) {
  ProgramFolderFixture folder("settings_pages_add");
  X2FlockConfig flocks;
  flocks.highPowerFactor = 5;
  X2AIData chase = MakeAI("Chase");
  chase.GetDefaultParam = ScriptedDefault;
  const X2FishData fish = MakeFish("Sardine", nullptr);

  g_calls = Calls();
  EXPECT_EQ(AddFlockEntry(&flocks, &fish, &chase, nullptr), 0);
  EXPECT_STREQ(flocks.Entry(0)->Name(), "sardine_maker");
  EXPECT_STREQ(flocks.Entry(0)->AI(), "chase_maker");
  EXPECT_STREQ(flocks.Entry(0)->Param(), "Scale:default");
  EXPECT_EQ(g_calls.highPower, 5);

  // Missing fish or AI adds nothing.
  EXPECT_EQ(AddFlockEntry(&flocks, nullptr, &chase, nullptr), -1);
  EXPECT_EQ(AddFlockEntry(&flocks, &fish, nullptr, nullptr), -1);
  EXPECT_EQ(flocks.Count(), 1);

  // The 101st flock is refused.
  for (int i = 1; i < X2ConfigList::kMaxEntries; ++i) ASSERT_EQ(AddFlockEntry(&flocks, &fish, &chase, nullptr), i);
  EXPECT_EQ(AddFlockEntry(&flocks, &fish, &chase, nullptr), -1);
  EXPECT_EQ(flocks.Count(), X2ConfigList::kMaxEntries);

  X2CameraConfig cameras("Source");
  EXPECT_EQ(AddCameraEntry(&cameras, &chase), 0);
  EXPECT_STREQ(cameras.Entry(0)->AI(), "chase_maker");
  EXPECT_STREQ(cameras.Entry(0)->Param(), "");
  EXPECT_EQ(AddCameraEntry(&cameras, nullptr), -1);
  EXPECT_EQ(cameras.Count(), 1);
}

TEST(ConfigEdits, TotalFollowsTheMultiplier) {
  ProgramFolderFixture folder("settings_pages_total");
  X2AIList ais;  // an empty ai folder: scripted records only
  X2AIData counted = MakeAI("Chase");
  counted.CountFish = ScriptedCount;
  X2AIData uncounted = MakeAI("Swarm");
  ais.Append(&counted.header, nullptr);
  ais.Append(&uncounted.header, nullptr);
  X2FlockConfig flocks;
  flocks.AddFlock("sardine_maker", "chase_maker", "");
  flocks.AddFlock("sardine_maker", "swarm_maker", "");  // cannot count: adds nothing
  flocks.AddFlock("sardine_maker", "gone_maker", "");   // not installed: adds nothing
  flocks.AddFlock("sardine_maker", "CHASE_MAKER", "");
  const int expected[X2FlockConfig::kMultiplierCount] = {4, 10, 20, 40, 80, 160};
  for (int m = 0; m < X2FlockConfig::kMultiplierCount; ++m) {
    flocks.highPowerFactor = m;
    EXPECT_EQ(flocks.TotalFish(&ais, nullptr), expected[m]) << "multiplier " << m;
  }
}

namespace {

// The five configuration lists as the program makes them, over a program
// folder holding preset 3 only.
class PresetLoad : public ::testing::Test {
 protected:
  PresetLoad() : folder_("settings_pages_preset") {}
  void SetUp() override {
    const std::string preset = folder_.Folder() + "preset\\3\\";
    CreateDirectoryA((folder_.Folder() + "preset").c_str(), nullptr);
    CreateDirectoryA(preset.c_str(), nullptr);
    qvtest::WriteFileText(preset + "qelvar.ini", "[system]\r\nWaterity=1\r\nSeaface=0\r\n");
    qvtest::WriteFileText(preset + "FlockConfig.ini",
                          "[flockConfig]\r\nflockCount=2\r\nHighPowerFactor=4\r\n"
                          "[flock0]\r\nfishType=a_m\r\nai=x_m\r\naiParam=p0\r\n"
                          "[flock1]\r\nfishType=b_m\r\nai=x_m\r\naiParam=p1\r\n");
    qvtest::WriteFileText(preset + "CameraConfig.ini",
                          "[SourceCameraConfig]\r\nCameraChangeTime=5\r\nCameraCount=1\r\n"
                          "[SourceCamera0]\r\nai=s_m\r\naiParam=q\r\n"
                          "[TargetCameraConfig]\r\nCameraChangeTime=1\r\nCameraCount=0\r\n");
    LoadSettings(0);
    TheCoralList = new X2CoralList();
    TheStructureList = new X2StructureList();
    TheFlockConfig = new X2FlockConfig();
    TheSourceCameraConfig = new X2CameraConfig("Source");
    TheTargetCameraConfig = new X2CameraConfig("Target");
    TheCoralConfig = new X2CoralConfig();
    TheStructureConfig = new X2StructureConfig();
    for (X2ConfigList* list : Lists()) list->SetFolder(folder_.Folder().c_str());
    TheFlockConfig->AddFlock("old_m", "x_m", "");
    TheTargetCameraConfig->AddCamera("t_m", "");
  }
  void TearDown() override {
    for (X2ConfigList* list : Lists()) delete list;
    TheFlockConfig = nullptr;
    TheSourceCameraConfig = TheTargetCameraConfig = nullptr;
    TheCoralConfig = nullptr;
    TheStructureConfig = nullptr;
    delete TheCoralList;
    delete TheStructureList;
    TheCoralList = nullptr;
    TheStructureList = nullptr;
    LoadSettings(0);
  }
  std::vector<X2ConfigList*> Lists() {
    return {TheFlockConfig, TheSourceCameraConfig, TheTargetCameraConfig, TheCoralConfig, TheStructureConfig};
  }
  // Every file name in the program folder itself.
  std::vector<std::string> MainFiles() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder_.Folder() + "*.ini").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
  }

  ProgramFolderFixture folder_;
};

}  // namespace

TEST_F(PresetLoad, APresetFillsTheListsAndTablesAndWritesNothing) {
  ASSERT_TRUE(LoadPreset(3));
  EXPECT_EQ(GetSceneSetting(kSceneWaterity), 1);
  EXPECT_EQ(GetSceneSetting(kSceneSeaface), 0);
  EXPECT_EQ(GetSceneSetting(kSceneLights), 3);  // not in the preset: its default
  ASSERT_EQ(TheFlockConfig->Count(), 2);
  EXPECT_STREQ(TheFlockConfig->Entry(1)->Name(), "b_m");
  EXPECT_STREQ(TheFlockConfig->Entry(1)->Param(), "p1");
  EXPECT_EQ(TheFlockConfig->highPowerFactor, 4);
  ASSERT_EQ(TheSourceCameraConfig->Count(), 1);
  EXPECT_EQ(TheSourceCameraConfig->changeTimeIndex, 5);
  EXPECT_EQ(TheTargetCameraConfig->Count(), 0);
  EXPECT_EQ(TheTargetCameraConfig->changeTimeIndex, 1);
  EXPECT_TRUE(MainFiles().empty());
  EXPECT_NE(ProgramFolderFixture::Log().find("KWEX flockconfig"), std::string::npos);  // the empty Target list
}

TEST_F(PresetLoad, APresetThatIsNotInstalledChangesNothing) {
  SetSceneSetting(kSceneWaterity, 2);
  EXPECT_FALSE(LoadPreset(2));
  EXPECT_FALSE(LoadPreset(0));
  EXPECT_FALSE(LoadPreset(4));
  EXPECT_EQ(GetSceneSetting(kSceneWaterity), 2);
  ASSERT_EQ(TheFlockConfig->Count(), 1);
  EXPECT_STREQ(TheFlockConfig->Entry(0)->Name(), "old_m");
  EXPECT_EQ(TheTargetCameraConfig->Count(), 1);
  EXPECT_TRUE(MainFiles().empty());
}
