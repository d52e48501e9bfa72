// The flock set: entry names, flock building, the index clamps, and the
// flock slots as the probe library sees them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AllocationWatch.h"
#include "HostCallbacks.h"
#include "HostProbe.h"
#include "config/X2FlockConfig.h"
#include "config/X2FlockSet.h"
#include "world/C3Object.h"

namespace {

class FlockSetTest : public ::testing::Test {
 protected:
  void SetUp() override { TheFlocks.Clear(); }
  void TearDown() override { TheFlocks.Clear(); }

  C3Object* NewObject() {
    objects.push_back(std::make_unique<C3Object>());
    return objects.back().get();
  }
  // Flocks of the given sizes, built as the flock builder does.
  std::vector<std::vector<C3Object*>> Build(const std::vector<int>& sizes) {
    std::vector<std::vector<C3Object*>> flocks;
    for (int size : sizes) {
      TheFlocks.AddEntry("マイワシ_ハルベノルソフト");
      TheFlocks.BeginFlock();
      flocks.emplace_back();
      for (int i = 0; i < size; ++i) {
        flocks.back().push_back(NewObject());
        GetHostCallbacks()->AddToBuildingFlock(HostHandle(flocks.back().back()));
      }
    }
    TheFlocks.EndBuilding();
    return flocks;
  }

  std::vector<std::unique_ptr<C3Object>> objects;
};

}  // namespace

TEST_F(FlockSetTest, DisplayNamesStopAtTheFirstRealUnderscore) {
  EXPECT_EQ(X2DisplayName("Sardine_Maker_X"), "Sardine");
  EXPECT_EQ(X2DisplayName("NoMaker"), "NoMaker");
  EXPECT_EQ(X2DisplayName(""), "");
  EXPECT_EQ(X2DisplayName(nullptr), "");
  // ダ is 0x83 0x5F: its trail byte is not an underscore.
  EXPECT_EQ(X2DisplayName("ダイ_ハルベノルソフト"), "ダイ");
  EXPECT_EQ(X2DisplayName("\x83"), "\x83");  // a lone lead byte at the end
}

TEST_F(FlockSetTest, ClampsOfTheFlockLookups) {
  ProbeFlockResult r;
  // No flocks: null and 0, and a name list whose first entry is null.
  ProbeFlockSlots(GetHostCallbacks(), &r);
  EXPECT_EQ(r.count, 0);
  EXPECT_EQ(r.sizeLast, 0);
  EXPECT_EQ(r.sizeNegative, 0);
  EXPECT_EQ(r.member70, nullptr);
  ASSERT_NE(r.names, nullptr);
  EXPECT_EQ(r.names[0], nullptr);

  auto flocks = Build({1, 2, 3});
  ProbeFlockSlots(GetHostCallbacks(), &r);
  EXPECT_EQ(r.count, 3);
  EXPECT_EQ(r.sizeFirst, 1);
  EXPECT_EQ(r.sizeLast, 3);      // past the end: the last flock
  EXPECT_EQ(r.sizeNegative, 3);  // negative: the last flock
  EXPECT_EQ(r.member70, HostHandle(flocks[2][0]));
  EXPECT_EQ(r.memberOut, nullptr);
  EXPECT_EQ(r.memberNegative, nullptr);
  EXPECT_STREQ(r.names[0], "マイワシ");
  EXPECT_STREQ(r.names[2], "マイワシ");
  EXPECT_EQ(r.names[3], nullptr);
  EXPECT_EQ(HostObject(GetHostCallbacks()->GetFlockMember(1, 1)), flocks[1][1]);
}

TEST_F(FlockSetTest, NothingIsListedOutsideBuildingAndNullNever) {
  C3Object* stray = NewObject();
  GetHostCallbacks()->AddToBuildingFlock(HostHandle(stray));  // before any flock
  Build({2});
  GetHostCallbacks()->AddToBuildingFlock(HostHandle(stray));  // after the end
  EXPECT_EQ(TheFlocks.Size(0), 2);
  TheFlocks.BeginFlock();
  GetHostCallbacks()->AddToBuildingFlock(nullptr);
  EXPECT_EQ(TheFlocks.Size(1), 0);
  // An entry that failed still has its (empty) flock: indexes stay aligned.
  EXPECT_EQ(TheFlocks.FlockCount(), 2);
  TheFlocks.ClearFlocks();
  EXPECT_EQ(TheFlocks.FlockCount(), 0);
  EXPECT_EQ(TheFlocks.EntryCount(), 1);
}

TEST_F(FlockSetTest, AHundredFlocksAtMostAndTheirNamesNullEnded) {
  for (int i = 0; i < 100; ++i) {
    std::string key = "Fish" + std::to_string(i) + "_Maker";
    ASSERT_TRUE(TheFlocks.AddEntry(key.c_str()));
    ASSERT_EQ(TheFlocks.BeginFlock(), i);
  }
  EXPECT_FALSE(TheFlocks.AddEntry("Fish100_Maker"));
  EXPECT_EQ(TheFlocks.BeginFlock(), -1);
  EXPECT_EQ(TheFlocks.BuildingIndex(), -1);
  const char** names = GetHostCallbacks()->GetFlockNames();
  EXPECT_STREQ(names[0], "Fish0");
  EXPECT_STREQ(names[99], "Fish99");
  EXPECT_EQ(names[100], nullptr);
  EXPECT_EQ(GetHostCallbacks()->GetFlockCount(), 100);
  // The list is refilled on every call: fewer entries leave no stale names.
  TheFlocks.ClearEntries();
  TheFlocks.AddEntry("One_Maker");
  names = GetHostCallbacks()->GetFlockNames();
  EXPECT_STREQ(names[0], "One");
  EXPECT_EQ(names[1], nullptr);
}

// A plug-in may keep the names until the flock configuration changes:
// asking again gives the same texts in the same place.
TEST_F(FlockSetTest, FlockNamesStayValidUntilTheConfigurationChanges) {
  X2FlockConfig config;
  // Longer than a string keeps inside itself: each text is a block of its own.
  config.AddEntry("AVeryLongSpeciesName_Maker", 1);
  config.AddEntry("AnotherLongSpeciesName_Maker", 1);
  X2FlockConfig* const kept = TheFlockConfig;
  TheFlockConfig = &config;
  const char** names = GetHostCallbacks()->GetFlockNames();
  const char* first = names[0];
  qvtest::WatchFree(first);
  names = GetHostCallbacks()->GetFlockNames();
  EXPECT_FALSE(qvtest::WatchedBlockFreed());
  EXPECT_EQ(names[0], first);
  EXPECT_STREQ(first, "AVeryLongSpeciesName");
  EXPECT_STREQ(names[1], "AnotherLongSpeciesName");
  config.AddEntry("Third_Maker", 1);
  names = GetHostCallbacks()->GetFlockNames();
  EXPECT_STREQ(names[2], "Third");
  EXPECT_EQ(names[3], nullptr);
  TheFlockConfig = kept;
}
