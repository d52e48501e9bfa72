// Flock building, the fish count and the parameter repair after a flock is
// deleted, through AI records made here, and the random scene choices.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "LogTestSupport.h"
#include "Settings.h"
#include "config/X2CameraConfig.h"
#include "config/X2FlockConfig.h"
#include "config/X2FlockSet.h"
#include "pluginlists/X2AIList.h"
#include "pluginlists/X2CameraAIList.h"
#include "pluginlists/X2FishList.h"
#include "world/C3Object.h"

using namespace qvtest;

namespace {

struct Call {
  int index;
  std::string param;
  int multiplier;
};
std::vector<Call> g_built, g_normalised;
C3Object g_fish[3];

int X2_CDECL Build(int flock, const X2FishData*, const char* param, X2HostCallbacks*, int multiplier) {
  g_built.push_back({flock, param, multiplier});
  for (int i = 0; i <= flock; ++i) TheFlocks.AddToBuilding(&g_fish[i]);
  return 0;
}
int X2_CDECL Count(int flock, const char*, X2HostCallbacks*, int multiplier) { return 10 * (flock + 1) + multiplier; }
// Rewrites "ref:N" to "ref:N-1" when N is past the removed flock.
int X2_CDECL Normalise(int removed, char* param, int size, X2HostCallbacks*, int) {
  g_normalised.push_back({removed, param, 0});
  int ref = -1;
  if (sscanf(param, "ref:%d", &ref) == 1 && ref > removed) snprintf(param, size, "ref:%d", ref - 1);
  return 0;
}

X2AIData MakeAI(const char* name, uint32_t caps) {
  X2AIData ai{};
  strcpy(ai.header.name, name);
  strcpy(ai.header.maker, "M");
  ai.capabilities = caps;
  return ai;
}

class FlockBuilding : public ::testing::Test {
 protected:
  void SetUp() override {
    g_built.clear();
    g_normalised.clear();
    flockAI_ = MakeAI("Flock", X2_AI_FLOCK);
    flockAI_.BuildFlock = Build;
    flockAI_.CountFish = Count;
    flockAI_.NormaliseParameter = Normalise;
    bare_ = MakeAI("Bare", X2_AI_FLOCK);  // no entry points at all
    cameraAI_ = MakeAI("Cam", X2_AI_CAMERA_TARGET);
    cameraAI_.NormaliseParameter = Normalise;
    aiList_.Append(&flockAI_.header, nullptr);
    aiList_.Append(&bare_.header, nullptr);
    cameraList_.Append(&cameraAI_.header, nullptr);
    TheFlockAIList = &aiList_;
    TheTargetCameraAIList = &cameraList_;
    TheTargetCameraConfig = &targets_;
  }
  void TearDown() override {
    TheFlockAIList = nullptr;
    TheTargetCameraAIList = nullptr;
    TheTargetCameraConfig = nullptr;
    TheFlocks.Clear();
  }

  X2AIData flockAI_, bare_, cameraAI_;
  X2AIList aiList_;
  X2CameraAIList cameraList_{X2_AI_CAMERA_TARGET};
  X2CameraConfig targets_{"Target"};
  X2FishList fishList_;  // the built-in species
};

// Each entry gets its flock, in entry order, even when it cannot be built;
// bad names are logged and skipped; building ends with no flock open.
TEST_F(FlockBuilding, EveryEntryGetsItsFlockAndBadNamesAreSkipped) {
  X2FlockConfig config;
  config.highPowerFactor = 4;
  config.AddFlock("マアジ_ハルベノルソフト", "flock_m", "a");
  config.AddFlock("NoSuchFish_x", "flock_m", "b");
  config.AddFlock("ブリ_ハルベノルソフト", "NoSuchAI_x", "c");
  config.AddFlock("マダイ_ハルベノルソフト", "bare_m", "d");
  config.AddFlock("マイワシ_ハルベノルソフト", "FLOCK_M", "e");
  ClearLog();
  SetDebugLogLevel(1);
  EXPECT_EQ(config.BuildFlocks(&fishList_, &aiList_, nullptr, &TheFlocks), 1);
  SetDebugLogLevel(0);

  ASSERT_EQ(g_built.size(), 2u);
  EXPECT_EQ(g_built[0].index, 0);
  EXPECT_EQ(g_built[0].param, "a");
  EXPECT_EQ(g_built[0].multiplier, 4);
  EXPECT_EQ(g_built[1].index, 4);
  ASSERT_EQ(TheFlocks.FlockCount(), 5);
  const int sizes[] = {1, 0, 0, 0, 5};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(TheFlocks.Size(i), sizes[i]) << i;
  EXPECT_EQ(TheFlocks.BuildingIndex(), -1);
  TheFlocks.AddToBuilding(&g_fish[0]);
  EXPECT_EQ(TheFlocks.Size(4), 5);

  const std::string log = ReadLog();
  for (const char* line : {"FlockConfig:Bad Fish Name NoSuchFish_x", "FlockConfig:Bad AI Name NoSuchAI_x",
                           "FlockConfig:Not Supported BuildFlock", "Flock 4:Fish For Camera 5"})
    EXPECT_NE(log.find(line), std::string::npos) << line;
  // The flock slots list the entries' fish names.
  const char** names = TheFlocks.Names();
  EXPECT_STREQ(names[0], "マアジ");
  EXPECT_STREQ(names[1], "NoSuchFish");
  EXPECT_EQ(names[5], nullptr);
}

TEST_F(FlockBuilding, TotalFishAddsWhatTheAIsCount) {
  X2FlockConfig config;
  config.highPowerFactor = 2;
  config.AddFlock("マアジ_ハルベノルソフト", "flock_m", "");  // 10 + 2
  config.AddFlock("マアジ_ハルベノルソフト", "bare_m", "");   // no CountFish
  config.AddFlock("マアジ_ハルベノルソフト", "gone_m", "");   // not installed
  config.AddFlock("マアジ_ハルベノルソフト", "flock_m", "");  // 40 + 2
  EXPECT_EQ(config.TotalFish(&aiList_, nullptr), 54);
}

// Deleting a flock lets every flock and camera AI repair its parameters
// with the removed index; an index that is no flock changes nothing.
TEST_F(FlockBuilding, RemoveFlockRepairsReferencesByIndex) {
  X2FlockConfig config;
  config.AddFlock("A_x", "flock_m", "ref:0");
  config.AddFlock("B_x", "flock_m", "ref:0");
  config.AddFlock("C_x", "flock_m", "ref:2");
  config.AddFlock("D_x", "bare_m", "ref:2");
  targets_.AddCamera("cam_m", "ref:3");
  targets_.AddCamera("gone_m", "ref:3");

  config.RemoveFlock(7, nullptr);
  config.RemoveFlock(-1, nullptr);
  EXPECT_EQ(config.Count(), 4);
  EXPECT_TRUE(g_normalised.empty());

  config.RemoveFlock(1, nullptr);
  ASSERT_EQ(config.Count(), 3);
  ASSERT_EQ(g_normalised.size(), 3u);  // two flock entries with the AI, one camera
  for (const Call& c : g_normalised) EXPECT_EQ(c.index, 1);
  EXPECT_STREQ(config.Entry(0)->Param(), "ref:0");
  EXPECT_STREQ(config.Entry(1)->Param(), "ref:1");
  EXPECT_STREQ(config.Entry(2)->Param(), "ref:2");  // its AI has no repair
  EXPECT_STREQ(targets_.Entry(0)->Param(), "ref:2");
  EXPECT_STREQ(targets_.Entry(1)->Param(), "ref:3");
}

TEST(SceneChoices, LastEntryMeansAPickAtRandom) {
  LoadSettings(0);
  static int next;
  next = 0;
  auto draw = [] { return next++ == 0 ? 7 : 5; };
  SetSceneSetting(kSceneWaterity, 4);
  SetSceneSetting(kSceneLights, 3);
  SetSceneSetting(kSceneUpsDowns, 2);  // a real choice stays
  SetSceneSetting(kSceneFloorMaterial, 2);
  ResolveRandomSceneSettings(draw);
  EXPECT_EQ(GetSceneSetting(kSceneWaterity), 7 % 4);
  EXPECT_EQ(GetSceneSetting(kSceneLights), 5 % 3);
  EXPECT_EQ(GetSceneSetting(kSceneUpsDowns), 2);
  EXPECT_EQ(GetSceneSetting(kSceneFloorMaterial), 5 % 2);
}

}  // namespace
