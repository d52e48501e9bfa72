// The module lists against real plug-in libraries: each case lays out a
// program folder with ai\ and model\ sub-folders in a temporary place, copies
// the test libraries it needs there and makes the lists.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "LogTestSupport.h"
#include "TestSupport.h"
#include "diagnostics/Diagnostics.h"
#include "pluginlists/X2AIList.h"
#include "pluginlists/X2CameraAIList.h"
#include "pluginlists/X2CoralList.h"
#include "pluginlists/X2FishList.h"
#include "pluginlists/X2PluginKey.h"
#include "pluginlists/X2StructureList.h"

using namespace qvtest;

namespace {

class PluginLists : public ::testing::Test {
 protected:
  void SetUp() override {
    savedFolder_ = GetProgramFolder();
    folder_ = MakeTempDir("plugin_lists");
    SetProgramFolder(folder_.c_str());
    ClearLog();
    SetDebugLogLevel(1);
  }
  void TearDown() override {
    SetDebugLogLevel(0);
    DeleteFileA(kLogFilePath);
    SetProgramFolder(savedFolder_.c_str());
    RemoveTree(folder_);
  }

  // Copies a test library into ai\ or model\; returns the path the list
  // builds for it (program folder + "\\ai\\" + name).
  std::string Install(const std::string& subFolder, const std::string& file) {
    CreateDirectoryA((folder_ + subFolder).c_str(), nullptr);
    std::string to = folder_ + subFolder + "\\" + file;
    EXPECT_TRUE(CopyFileTo(TestBinDir() + "plugins\\" + file, to)) << file;
    return folder_ + "\\" + subFolder + "\\" + file;
  }

  static bool Logged(const std::string& line) { return ReadLog().find(line + "\r\n") != std::string::npos; }

  static bool Loaded(const std::string& path) { return GetModuleHandleA(path.c_str()) != nullptr; }

  std::string savedFolder_;
  std::string folder_;
};

}  // namespace

TEST_F(PluginLists, MissingFoldersGiveEmptyListsBesideTheBuiltinFish) {
  X2FishList fish;
  X2CoralList coral;
  X2StructureList structures;
  X2AIList flock;
  X2CameraAIList source(X2_AI_CAMERA_SOURCE), target(X2_AI_CAMERA_TARGET);
  ASSERT_EQ(fish.Count(), 7);
  EXPECT_STREQ(fish.Get(0)->header.name, "マアジ");
  EXPECT_STREQ(fish.Get(6)->header.name, "マダイ（黄）");
  const char* const latin[7] = {"Trachurus japonicus", "Seriola quinqueradiata",
                                "Sardinops melanosictus", "Pagrus major",
                                "Acanthopagrus schlegeli", "Pagrus major", "Pagrus major"};
  for (int i = 0; i < 7; ++i) {
    const X2FishData* f = fish.Get(i);
    EXPECT_EQ(fish.Module(i), nullptr);
    EXPECT_EQ(f->header.version, 0x00020101u);
    EXPECT_STREQ(f->header.maker, "ハルベノルソフト");
    EXPECT_STREQ(f->latinName, latin[i]);
    EXPECT_STREQ(f->defaultAI, "ハイキング(群)_ハルベノルソフト");
    EXPECT_EQ(f->flags, 0u);
    ASSERT_EQ(f->modelCount, 1u);
    EXPECT_EQ(f->model->scale, 1.0f);
    EXPECT_EQ(f->model->swimRate, 2.0f);
    EXPECT_EQ(f->model->swimBase, 0.2f);
    EXPECT_EQ(f->model->swimMax, 0.5f);
    EXPECT_EQ(f->model->flags, i == 0 ? 0x9u : 0x1u);
  }
  EXPECT_STREQ(fish.Get(1)->header.name, "ブリ");
  EXPECT_STREQ(fish.Get(4)->header.name, "クロダイ");
  // The default AI key in Shift-JIS: ハ is 83 6E.
  EXPECT_EQ(std::string(fish.Get(0)->defaultAI).substr(0, 2), "\x83\x6E");
  EXPECT_EQ(fish.Find("マダイ（青）_ハルベノルソフト"), 5);
  EXPECT_EQ(coral.Count() + structures.Count() + flock.Count() + source.Count() + target.Count(), 0);
  EXPECT_EQ(ReadLog().find("Found Module:"), std::string::npos);
}

TEST_F(PluginLists, FishChainKeepsSoundRecordsAndLogsEveryRefusal) {
  std::string path = Install("model", "fish_chain.qvf");
  std::string coralPath = Install("model", "coral.qvc");
  std::string structurePath = Install("model", "structure.qvs");
  X2FishList fish;
  X2CoralList coral;
  X2StructureList structures;

  // 7 built-in species, then the three sound records of the chain.
  ASSERT_EQ(fish.Count(), 10);
  EXPECT_STREQ(fish.Get(7)->header.name, "テストフィッシュ");
  EXPECT_STREQ(fish.Get(8)->header.name, "FormatTwo");  // format version 2 is read
  EXPECT_STREQ(fish.Get(9)->header.name, "マアジ");
  EXPECT_STREQ(fish.Get(7)->defaultAI, "ダイバーAI_QvTest");
  EXPECT_EQ(fish.Get(7)->model->baseMesh->vertexCount, 3u);

  EXPECT_TRUE(Logged("Found Module:fish_chain.qvf"));
  EXPECT_TRUE(Logged("LOAD Data : Bad Record " + path + " : index out of range"));
  EXPECT_TRUE(Logged("LOAD Data : Bad Record " + path + " : frame vertex count differs from the base mesh"));
  EXPECT_TRUE(Logged("LOAD Data : Bad Record " + path + " : vertex stride does not match the format"));
  EXPECT_TRUE(Logged("LOAD Data : Bad Record " + path + " : part range index out of range"));
  EXPECT_TRUE(Logged("LOAD Data : Bad Record " + path + " : texture count out of range"));
  EXPECT_TRUE(Logged("LOAD Data : Bad Record " + path + " : model count out of range"));
  EXPECT_TRUE(Logged("LOAD Fish Data : Over Kernel Support " + path));

  // A record keyed like a built-in species: the built-in one comes first.
  EXPECT_EQ(fish.Find("マアジ_ハルベノルソフト"), 0);
  EXPECT_EQ(fish.GetModule("マアジ_ハルベノルソフト"), nullptr);
  EXPECT_EQ(fish.Find("テストフィッシュ_QVTEST"), 7);
  EXPECT_EQ(fish.GetModule("テストフィッシュ_qvtest"), GetModuleHandleA(path.c_str()));
  EXPECT_NE(fish.GetModule("テストフィッシュ_qvtest"), nullptr);
  EXPECT_EQ(fish.GetData("nothing_here"), nullptr);
  EXPECT_EQ(fish.GetModule("nothing_here"), nullptr);

  ASSERT_EQ(coral.Count(), 2);
  EXPECT_EQ(coral.Get(1)->modelCount, 0u);
  EXPECT_STREQ(coral.Get(0)->header.name, "テストコーラル");
  ASSERT_NE(coral.Get(0)->PlaceInstance, nullptr);
  float position[3] = {1, 1, 1}, scale = 1, yaw = 1, roll = 1, pitch = 1;
  EXPECT_EQ(coral.Get(0)->PlaceInstance(0, position, &scale, &yaw, &roll, &pitch, nullptr), 1);
  EXPECT_EQ(scale, 2.0f);

  ASSERT_EQ(structures.Count(), 1);
  EXPECT_EQ(structures.Get(0)->header.version, 0x00020201u);
  EXPECT_EQ(structures.Get(0)->footprint[0], 12.5f);
  EXPECT_TRUE(Logged("LOAD Data : Not Data " + structurePath));
  (void)coralPath;
}

TEST_F(PluginLists, AIChainsStopAtWrongKindsNewFormatsAndBrokenLinks) {
  std::string chain = Install("ai", "ai_chain.qva");
  std::string wrongKind = Install("ai", "ai_wrongkind.qva");
  std::string tooNew = Install("ai", "ai_toonew.qva");
  std::string corrupt = Install("ai", "ai_corrupt.qva");
  std::string overlap = Install("ai", "ai_overlap.qva");
  std::string noExport = Install("ai", "ai_noexport.qva");
  std::string nullRecord = Install("ai", "ai_nullrecord.qva");
  std::string outside = Install("ai", "ai_outside.qva");
  ASSERT_TRUE(WriteFileText(folder_ + "ai\\junk.qva", "not a library"));
  Install("ai", "cam_both.qve");  // another pattern: not for this list

  X2AIList list;
  for (const char* file : {"ai_chain.qva", "ai_wrongkind.qva", "ai_toonew.qva", "ai_corrupt.qva",
                           "ai_overlap.qva", "ai_noexport.qva", "ai_nullrecord.qva", "ai_outside.qva",
                           "junk.qva"})
    EXPECT_TRUE(Logged(std::string("Found Module:") + file)) << file;
  EXPECT_FALSE(Logged("Found Module:cam_both.qve"));

  // chain 3 + wrong kind 1 (before the bad one) + corrupt 2 + overlap 1
  EXPECT_EQ(list.Count(), 7);
  EXPECT_TRUE(Logged("LOAD Data : Not Data " + wrongKind));
  EXPECT_GE(list.Find("KindFirst_QvTest"), 0);
  EXPECT_EQ(list.Find("KindSecond_QvTest"), -1);
  EXPECT_EQ(list.Find("KindThird_QvTest"), -1);  // the rest of the chain is not read

  EXPECT_TRUE(Logged("LOAD Fish Data : Over Kernel Support " + tooNew));
  EXPECT_EQ(list.Find("TooNew_QvTest"), -1);

  EXPECT_TRUE(Logged("LOAD Data : Bad Record " + corrupt + " : name not terminated"));
  EXPECT_TRUE(Logged("LOAD Data : Broken Chain " + corrupt));
  EXPECT_GE(list.Find("Intact1_QvTest"), 0);
  EXPECT_GE(list.Find("Intact2_QvTest"), 0);
  EXPECT_TRUE(Logged("LOAD Data : Broken Chain " + overlap));
  EXPECT_GE(list.Find("Overlap1_QvTest"), 0);
  EXPECT_TRUE(Logged("LOAD Data : Record Outside Module " + outside));

  // Libraries that gave nothing are released at once; the others stay.
  EXPECT_TRUE(Loaded(chain));
  EXPECT_TRUE(Loaded(corrupt));
  EXPECT_FALSE(Loaded(tooNew));
  EXPECT_FALSE(Loaded(noExport));
  EXPECT_FALSE(Loaded(nullRecord));
  EXPECT_FALSE(Loaded(outside));

  // The records are the library's own: its entry points work in place.
  const X2AIData* diver = list.GetData("ダイバーAI_QvTest");
  ASSERT_NE(diver, nullptr);
  ASSERT_NE(diver->CountFish, nullptr);
  EXPECT_EQ(diver->CountFish(0, "", nullptr, 0), 12);
  EXPECT_EQ(list.GetModule("ダイバーai_qvtest"), GetModuleHandleA(chain.c_str()));
  const X2AIData* third = list.GetData("third_qvtest");
  ASSERT_NE(third, nullptr);
  EXPECT_STREQ(third->dedicatedFish, "マアジ_ハルベノルソフト");
}

TEST_F(PluginLists, KeysCompareLatinCaseButShiftJisExactly) {
  Install("ai", "ai_chain.qva");
  X2AIList list;
  int diver = list.Find("ダイバーAI_QvTest");
  ASSERT_GE(diver, 0);
  EXPECT_EQ(list.Find("ダイバーai_QVTEST"), diver);
  // ア is 83 41: its trail byte is not a capital A.
  int a = list.Find("アBC_QvTest");
  ASSERT_GE(a, 0);
  EXPECT_EQ(list.Find("\x83\x41" "bc_qvtest"), a);
  EXPECT_EQ(list.Find("\x83\x61" "bc_qvtest"), -1);
  // ダ (83 5F) is no underscore: "ダイバーAI" + "_" is one key, not two.
  EXPECT_EQ(list.Find("\x83"), -1);
  EXPECT_EQ(list.Find(nullptr), -1);
  EXPECT_EQ(list.Find(""), -1);
}

TEST_F(PluginLists, CameraListsTakeTheFirstRecordByMask) {
  std::string both = Install("ai", "cam_both.qve");
  std::string source = Install("ai", "cam_source.qve");
  std::string flock = Install("ai", "cam_flock.qve");
  std::string noCreate = Install("ai", "cam_nocreate.qve");
  Install("ai", "ai_chain.qva");

  auto sourceList = std::make_unique<X2CameraAIList>(X2_AI_CAMERA_SOURCE);
  auto targetList = std::make_unique<X2CameraAIList>(X2_AI_CAMERA_TARGET);
  EXPECT_EQ(sourceList->Mask(), 0x08u);
  EXPECT_EQ(sourceList->Count(), 2);
  EXPECT_GE(sourceList->Find("カメラ両方_QvTest"), 0);
  EXPECT_GE(sourceList->Find("CamSource_QvTest"), 0);
  ASSERT_EQ(targetList->Count(), 1);
  EXPECT_STREQ(targetList->Get(0)->header.name, "カメラ両方");
  // Only a library's first record counts for the camera lists.
  EXPECT_EQ(targetList->Find("CamChained_QvTest"), -1);
  // A camera AI that cannot make instances is refused, with a message.
  EXPECT_EQ(sourceList->Find("CamNoCreate_QvTest"), -1);
  EXPECT_TRUE(Logged("LOAD Data : No CreateInstance " + noCreate));
  EXPECT_FALSE(Loaded(noCreate));
  EXPECT_FALSE(Loaded(flock));

  // Each list holds its own reference.
  EXPECT_TRUE(Loaded(both));
  sourceList.reset();
  EXPECT_TRUE(Loaded(both));
  EXPECT_FALSE(Loaded(source));
  targetList.reset();
  EXPECT_FALSE(Loaded(both));
}

TEST_F(PluginLists, DeletingAListReleasesEachLibraryOnce) {
  std::string fishPath = Install("model", "fish_chain.qvf");
  std::string aiPath = Install("ai", "ai_chain.qva");
  // A reference of our own: after the lists go it must be the only one left.
  HMODULE own = LoadLibraryA(aiPath.c_str());
  ASSERT_NE(own, nullptr);
  {
    auto fish = std::make_unique<X2FishList>();
    auto ai = std::make_unique<X2AIList>();
    EXPECT_EQ(ai->Count(), 3);  // three records, one library
    EXPECT_TRUE(Loaded(fishPath));
    fish.reset();
    ai.reset();
  }
  EXPECT_FALSE(Loaded(fishPath));
  EXPECT_TRUE(Loaded(aiPath));
  FreeLibrary(own);
  EXPECT_FALSE(Loaded(aiPath));
}

TEST_F(PluginLists, APathTooLongIsLoggedAndSkipped) {
  std::string deep = folder_ + std::string(240, 'd') + "\\";
  SetProgramFolder(deep.c_str());
  X2AIList list;
  EXPECT_EQ(list.Count(), 0);
  EXPECT_NE(ReadLog().find("LOAD Data : Path Too Long "), std::string::npos);
}
