// The configuration files through the private-profile API: defaults, round
// trips, clamped counts and indexes, and the coral/structure enable lists
// that mirror the installed records.
#include <gtest/gtest.h>

#include <string>

#include "LogTestSupport.h"
#include "TestSupport.h"
#include "config/X2CameraConfig.h"
#include "config/X2CoralConfig.h"
#include "config/X2FlockConfig.h"
#include "pluginlists/X2CoralList.h"

using namespace qvtest;

namespace {

class ConfigFiles : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = MakeTempDir("qvconfig"); }
  void TearDown() override { RemoveTree(dir_); }
  std::string Path(const char* file) const { return dir_ + file; }
  std::string dir_;
};

TEST_F(ConfigFiles, MissingFilesGiveEmptyListsAndDefaults) {
  X2FlockConfig flocks;
  flocks.SetFolder(dir_.c_str());
  EXPECT_EQ(flocks.Load("FlockConfig.ini"), 0);
  EXPECT_EQ(flocks.Count(), 0);
  EXPECT_EQ(flocks.highPowerFactor, 0);  // not the constructor's 2
  X2CameraConfig cameras("Target");
  cameras.SetFolder(dir_.c_str());
  EXPECT_EQ(cameras.Load("CameraConfig.ini"), 0);
  EXPECT_EQ(cameras.changeTimeIndex, 0);
  EXPECT_FLOAT_EQ(cameras.ChangeInterval(), 10.0f);
}

// What Save writes is what the private-profile functions would write for the
// same keys in the same order, and loading it back gives the same entries.
TEST_F(ConfigFiles, FlockAndCameraFilesRoundTripByteExact) {
  X2FlockConfig flocks;
  flocks.SetFolder(dir_.c_str());
  flocks.highPowerFactor = 3;
  flocks.AddFlock("マアジ_ハルベノルソフト", "追跡(群)_ハルベノルソフト", "Form:長い,Scale:少ない");
  flocks.AddFlock("ブリ_ハルベノルソフト", "追跡(群)_ハルベノルソフト", "");
  ASSERT_TRUE(flocks.Save("FlockConfig.ini"));

  const std::string expected = Path("expected.ini");
  WritePrivateProfileStringA("flockConfig", "flockCount", "2", expected.c_str());
  WritePrivateProfileStringA("flockConfig", "HighPowerFactor", "3", expected.c_str());
  WritePrivateProfileStringA("flock0", "fishType", "マアジ_ハルベノルソフト", expected.c_str());
  WritePrivateProfileStringA("flock0", "ai", "追跡(群)_ハルベノルソフト", expected.c_str());
  WritePrivateProfileStringA("flock0", "aiParam", "Form:長い,Scale:少ない", expected.c_str());
  WritePrivateProfileStringA("flock1", "fishType", "ブリ_ハルベノルソフト", expected.c_str());
  WritePrivateProfileStringA("flock1", "ai", "追跡(群)_ハルベノルソフト", expected.c_str());
  WritePrivateProfileStringA("flock1", "aiParam", "", expected.c_str());
  EXPECT_EQ(ReadFileBytes(Path("FlockConfig.ini")), ReadFileBytes(expected));

  X2FlockConfig again;
  again.SetFolder(dir_.c_str());
  ASSERT_EQ(again.Load("FlockConfig.ini"), 1);
  ASSERT_EQ(again.Count(), 2);
  EXPECT_EQ(again.highPowerFactor, 3);
  EXPECT_STREQ(again.Entry(0)->Param(), "Form:長い,Scale:少ない");
  EXPECT_EQ(again.Entry(0)->DisplayName(), "マアジ");
  EXPECT_EQ(again.Entry(1)->AIDisplayName(), "追跡(群)");
  ASSERT_TRUE(again.Save("copy\\..\\FlockConfig2.ini"));
  EXPECT_EQ(ReadFileBytes(Path("FlockConfig2.ini")), ReadFileBytes(Path("FlockConfig.ini")));

  // Both camera lists share one file; each keeps its own sections.
  X2CameraConfig source("Source"), target("Target");
  source.SetFolder(dir_.c_str());
  target.SetFolder(dir_.c_str());
  source.changeTimeIndex = 6;
  target.AddCamera("移動方向_ハルベノルソフト", "Forelens:進行方向と逆");
  ASSERT_TRUE(source.Save("CameraConfig.ini") && target.Save("CameraConfig.ini"));
  X2CameraConfig source2("Source"), target2("Target");
  source2.SetFolder(dir_.c_str());
  target2.SetFolder(dir_.c_str());
  EXPECT_EQ(source2.Load("CameraConfig.ini"), 0);
  EXPECT_FLOAT_EQ(source2.ChangeInterval(), 600.0f);
  ASSERT_EQ(target2.Load("CameraConfig.ini"), 1);
  EXPECT_STREQ(target2.Entry(0)->AI(), "移動方向_ハルベノルソフト");
  EXPECT_EQ(target2.Entry(0)->Name(), nullptr);
}

// Hand-edited files: counts and indexes out of range are clamped and logged.
TEST_F(ConfigFiles, OutOfRangeValuesAreClampedAndLogged) {
  struct Case {
    const char* text;
    int flocks;
    int multiplier;
  };
  const Case cases[] = {
      {"[flockConfig]\r\nflockCount=-3\r\nHighPowerFactor=9\r\n", 0, 5},
      {"[flockConfig]\r\nflockCount=250\r\nHighPowerFactor=-1\r\n", 100, 0},
      {"[flockConfig]\r\nflockCount=2\r\n[flock0]\r\nfishType=x\r\n", 2, 0},
  };
  ClearLog();
  SetDebugLogLevel(1);
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteFileText(Path("FlockConfig.ini"), c.text));
    X2FlockConfig flocks;
    flocks.SetFolder(dir_.c_str());
    flocks.Load("FlockConfig.ini");
    EXPECT_EQ(flocks.Count(), c.flocks) << c.text;
    EXPECT_EQ(flocks.highPowerFactor, c.multiplier) << c.text;
  }
  EXPECT_NE(ReadLog().find("FlockConfig:flockCount 250 out of range"), std::string::npos);

  ASSERT_TRUE(WriteFileText(Path("CameraConfig.ini"),
                            "[TargetCameraConfig]\r\nCameraChangeTime=99\r\nCameraCount=1000\r\n"));
  X2CameraConfig cameras("Target");
  cameras.SetFolder(dir_.c_str());
  cameras.Load("CameraConfig.ini");
  EXPECT_EQ(cameras.changeTimeIndex, 6);
  EXPECT_EQ(cameras.Count(), 100);
  SetDebugLogLevel(0);
}

TEST(ConfigList, RemoveAtAndFind) {
  X2FlockConfig flocks;
  for (const char* fish : {"A_x", "B_x", "C_x"}) flocks.AddFlock(fish, "ai", "p");
  flocks.RemoveAt(-1);
  flocks.RemoveAt(3);
  EXPECT_EQ(flocks.Count(), 3);
  flocks.RemoveAt(1);
  ASSERT_EQ(flocks.Count(), 2);
  EXPECT_STREQ(flocks.Entry(1)->Name(), "C_x");
  EXPECT_EQ(flocks.Find("c_X"), flocks.Entry(1));  // ASCII case ignored
  // Double-byte characters compare exactly: ダ's trail byte is 0x5F and チ's
  // 0x60; folding them would make different keys equal.
  flocks.AddFlock("ダ_x", "ai", "");
  EXPECT_EQ(flocks.Find("チ_x"), nullptr);
  EXPECT_NE(flocks.Find("ダ_X"), nullptr);
  for (int i = flocks.Count(); i < X2ConfigList::kMaxEntries; ++i) flocks.AddFlock("F_x", "ai", "");
  EXPECT_EQ(flocks.AddFlock("G_x", "ai", ""), -1);
}

// The enable list mirrors the installed coral records: a section with
// enable=0 hides one, a record without a section is shown, and sections of
// records no longer installed stay in the file untouched.
TEST_F(ConfigFiles, CoralEnableListMirrorsInstalledRecords) {
  static X2FishData a{}, b{};
  strcpy(a.header.name, "ウミウチワ");
  strcpy(a.header.maker, "ハルベノルソフト");
  strcpy(b.header.name, "Fan");
  strcpy(b.header.maker, "Other");
  X2CoralList* saved = TheCoralList;
  X2CoralList list;  // no model folder next to the test: no plug-ins
  list.Append(&a.header, nullptr);
  list.Append(&b.header, nullptr);
  TheCoralList = &list;

  ASSERT_TRUE(WriteFileText(Path("CoralConfig.ini"),
                            "[Gone_Maker]\r\nenable=0\r\n[fan_other]\r\nenable=0\r\n"));
  X2CoralConfig coral;
  coral.SetFolder(dir_.c_str());
  EXPECT_EQ(coral.Load("CoralConfig.ini"), 1);
  ASSERT_EQ(coral.Count(), 2);
  EXPECT_EQ(coral.Entry(0)->enable, 1);
  EXPECT_EQ(coral.Entry(1)->enable, 0);
  coral.Entry(0)->enable = 0;
  coral.Entry(1)->enable = 1;
  ASSERT_TRUE(coral.Save("CoralConfig.ini"));
  const std::string file = Path("CoralConfig.ini");
  EXPECT_EQ(GetPrivateProfileIntA("ウミウチワ_ハルベノルソフト", "enable", 7, file.c_str()), 0);
  EXPECT_EQ(GetPrivateProfileIntA("Fan_Other", "enable", 7, file.c_str()), 1);
  EXPECT_EQ(GetPrivateProfileIntA("Gone_Maker", "enable", 7, file.c_str()), 0);
  TheCoralList = saved;
}

}  // namespace
