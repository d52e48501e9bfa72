// The formation flock AI's entry points with a fake host: counting, the
// exact build sequence, parameter normalising.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "C4FlockController.h"
#include "C4FlyingBar.h"
#include "C4GroupAI.h"
#include "C4PurselAI.h"
#include "FakeHost.h"
#include "FlockBuilder.h"
#include "PurselAI.h"
#include "PurselTables.h"

using aitest::FakeHost;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

const char* const kForms[] = {"", "長い", "広い"};
const char* const kScales[] = {"巨大", "多い", "少ない"};
const double kMultipliers[] = {0.629, 0.793, 1.0, 1.26, 1.59, 2.0};
const int kRows[] = {10, 8, 4, 15, 10, 6, 7, 6, 3};
const int kLanes[] = {6, 4, 3, 4, 3, 2, 8, 6, 4};
const int kHangers[] = {4, 3, 2, 4, 3, 2, 4, 3, 2};

X2FishData gFish = {};

std::string Param(int form, int scale) {
  return std::string("Form:") + kForms[form] + ",Scale:" + kScales[scale];
}

}  // namespace

TEST(PurselRecordTest, RecordDescribesAFlockAI) {
  X2AIData* r = PurselRecord();
  EXPECT_EQ(r->header.version, 0x00010101u);
  EXPECT_EQ(r->header.nextOffset, 0);
  EXPECT_STREQ(r->header.name, "追跡(群)");
  EXPECT_STREQ(r->header.maker, "ハルベノルソフト");
  EXPECT_EQ(r->capabilities, 0x01u);
  EXPECT_NE(r->BuildFlock, nullptr);
  EXPECT_NE(r->Configure, nullptr);
  EXPECT_NE(r->GetDefaultParam, nullptr);
  EXPECT_NE(r->CountFish, nullptr);
  EXPECT_EQ(r->CreateInstance, nullptr);
  EXPECT_NE(r->NormaliseParameter, nullptr);
  EXPECT_EQ(r->dedicatedFish, nullptr);
}

TEST(PurselEntryTest, DefaultParamIsEmpty) {
  FakeHost host;
  char out[520] = "junk";
  EXPECT_EQ(PurselRecord()->GetDefaultParam(0, out, sizeof out, host.Table(), 0), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(PurselRecord()->GetDefaultParam(0, nullptr, 520, host.Table(), 0), 0);
}

TEST(PurselEntryTest, CountFishMatchesTheTablesForEveryShapeAndMultiplier) {
  FakeHost host;
  for (int form = 0; form < 3; ++form) {
    for (int scale = 0; scale < 3; ++scale) {
      const int i = form * 3 + scale;
      EXPECT_EQ(kRows[i] * kLanes[i] * (kHangers[i] + 1), FlockLabelCount(i));
      for (int m = 0; m < 6; ++m) {
        int expected = static_cast<int>(kMultipliers[m] * kLanes[i]) *
                       (static_cast<int>(kMultipliers[m] * kHangers[i]) + 1) *
                       static_cast<int>(kMultipliers[m] * kRows[i]);
        EXPECT_EQ(PurselRecord()->CountFish(0, Param(form, scale).c_str(), host.Table(), m), expected)
            << "form " << form << " scale " << scale << " multiplier " << m;
      }
    }
  }
  // Form 0, Scale 2 at multiplier 0: 2 rows x 1 lane x (1 + 1).
  EXPECT_EQ(PurselRecord()->CountFish(0, "Scale:少ない", host.Table(), 0), 4);
  // At multiplier 1.0 the count is the dialog's label count.
  EXPECT_EQ(PurselRecord()->CountFish(0, "", host.Table(), 2), 128);
}

TEST(PurselEntryTest, CountFishClampsTheMultiplierAndTakesNullAsEmpty) {
  FakeHost host;
  EXPECT_EQ(PurselRecord()->CountFish(0, nullptr, host.Table(), 2), 128);
  EXPECT_EQ(PurselRecord()->CountFish(0, nullptr, host.Table(), -3),
            PurselRecord()->CountFish(0, nullptr, host.Table(), 0));
  EXPECT_EQ(PurselRecord()->CountFish(0, nullptr, host.Table(), 99),
            PurselRecord()->CountFish(0, nullptr, host.Table(), 5));
}

TEST(PurselEntryTest, NormaliseShiftsFlocksAfterTheRemovedOne) {
  FakeHost host;
  auto normalise = [&](const char* in, int removed) {
    char param[260];
    snprintf(param, sizeof param, "%s", in);
    EXPECT_EQ(PurselRecord()->NormaliseParameter(removed, param, sizeof param, host.Table(), 0), 0);
    return std::string(param);
  };
  EXPECT_EQ(normalise("FlockID:2", 2), "FlockID:1");
  EXPECT_EQ(normalise("FlockID:3,Form:長い", 2), "Form:長い,FlockID:2");
  EXPECT_EQ(normalise("FlockID:1", 2), "FlockID:1");
  EXPECT_EQ(normalise("", 2), "");
  EXPECT_EQ(normalise("", 0), "");  // FlockID 0 stays 0
  EXPECT_EQ(normalise("FlockID:4", -1), "FlockID:4");
  // A removed index never pushes the value below zero.
  EXPECT_EQ(normalise("FlockID:-1", 0), "");
}

TEST(FlockBuilderTest, SizeByVariety) {
  EXPECT_FLOAT_EQ(FlockFishSize(0, 0.7f), 1.0f);
  EXPECT_FLOAT_EQ(FlockFishSize(1, 0.5f), 1.5f);
  EXPECT_FLOAT_EQ(FlockFishSize(2, 0.5f), 2.0f);
  EXPECT_FLOAT_EQ(FlockFishSize(3, 0.25f), 2.25f);
  EXPECT_FLOAT_EQ(FlockFishSize(17, 0.9f), 1.0f);
}

TEST(FlockBuilderTest, StartPointsByFlockIndex) {
  aimath::Vec3 p = FlockStartPoint(9);
  EXPECT_EQ(p.x, 2);
  EXPECT_EQ(p.y, -2);
  EXPECT_EQ(p.z, -2);
  p = FlockStartPoint(-1);
  EXPECT_EQ(p.x, -2);
  EXPECT_EQ(p.z, -2);
}

// "Scale:少ない" at multiplier 0: 2 rows of 1 fish, each with 1 hanger-on.
TEST(PurselEntryTest, BuildFlockMakesCarriersRowsAndHangersInOrder) {
  FakeHost host;
  host.flocks = {{nullptr}, {nullptr}};
  PurselRecord()->BuildFlock(9, &gFish, "Scale:少ない,FlockID:5,FishPosition:後尾", host.Table(), 0);

  const std::vector<std::string> order = host.CallsNamed(
      {"LogPrint", "CreateFish", "SetScale", "SetPosition", "SetHiddenFlag", "SetAI",
       "RegisterObject", "AddToBuildingFlock", "IsTwinfinTech", "Random", "GetFlockCount"});
  EXPECT_THAT(order, ElementsAreArray(std::vector<std::string>{
      "LogPrint BuildFlock Booted\n",
      // carrier 1: the flock controller
      "CreateFish f1", "Random", "SetScale f1 1.5", "SetPosition f1", "SetHiddenFlag f1",
      "SetAI f1", "RegisterObject f1",
      // carrier 2: the formation leader (one lane: three random numbers)
      "CreateFish f2", "Random", "SetScale f2 1.5", "SetPosition f2", "SetHiddenFlag f2",
      "Random", "Random", "Random", "GetFlockCount", "SetAI f2", "RegisterObject f2",
      // row 0
      "CreateFish f3", "Random", "SetScale f3 1.5", "SetPosition f3", "SetAI f3",
      "AddToBuildingFlock f3", "RegisterObject f3",
      "CreateFish f4", "Random", "SetScale f4 1.5", "SetPosition f4", "SetAI f4", "RegisterObject f4",
      "IsTwinfinTech",
      // row 1
      "CreateFish f5", "Random", "SetScale f5 1.5", "SetPosition f5", "SetAI f5",
      "AddToBuildingFlock f5", "RegisterObject f5",
      "CreateFish f6", "Random", "SetScale f6 1.5", "SetPosition f6", "SetAI f6", "RegisterObject f6",
      "IsTwinfinTech"}));

  ASSERT_EQ(host.objects.size(), 6u);
  for (auto& o : host.objects) {
    EXPECT_TRUE(o->registered);
    EXPECT_FLOAT_EQ(o->position.x, 2);  // flock 9 starts at point 1
    EXPECT_FLOAT_EQ(o->position.z, -2);
  }
  EXPECT_TRUE(host.objects[0]->hidden);
  EXPECT_TRUE(host.objects[1]->hidden);
  EXPECT_FALSE(host.objects[2]->hidden);

  auto* controller = dynamic_cast<C4FlockController*>(host.objects[0]->ai);
  auto* leader = dynamic_cast<C4FlyingBar*>(host.objects[1]->ai);
  ASSERT_NE(controller, nullptr);
  ASSERT_NE(leader, nullptr);
  EXPECT_EQ(controller->Leader(), leader);
  EXPECT_EQ(leader->GetController(), controller);
  EXPECT_EQ(controller->FlockIndex(), 9);
  EXPECT_EQ(controller->Character(), 1);
  EXPECT_FLOAT_EQ(leader->MaxSpeed(), 4.0f);
  EXPECT_EQ(leader->FlockIndex(), 9);
  EXPECT_EQ(leader->FollowedFlock(), 1);  // FlockID 5 clamped to the 2 flocks
  EXPECT_EQ(leader->MemberChoice(), 2);
  EXPECT_EQ(leader->Depth(), 2);
  EXPECT_EQ(leader->OwnFish(), host.objects[1].get());
  EXPECT_FLOAT_EQ(leader->TargetPoint().y, -2.0f);
  EXPECT_EQ(leader->Path().Count(), 3);

  auto* row0 = dynamic_cast<C4PurselAI*>(host.objects[2]->ai);
  auto* hanger0 = dynamic_cast<C4GroupAI*>(host.objects[3]->ai);
  auto* row1 = dynamic_cast<C4PurselAI*>(host.objects[4]->ai);
  ASSERT_NE(row0, nullptr);
  ASSERT_NE(hanger0, nullptr);
  ASSERT_NE(row1, nullptr);
  EXPECT_EQ(row0->Row(), 0);
  EXPECT_EQ(row1->Row(), 1);
  EXPECT_EQ(row0->Lane(), 0);
  EXPECT_EQ(row0->FlyingBar(), leader);
  EXPECT_EQ(row0->LeaderObject(), host.objects[1].get());
  EXPECT_EQ(row0->FlockIndex(), 9);
  EXPECT_EQ(hanger0->LeaderObject(), host.objects[2].get());
  EXPECT_EQ(hanger0->FlockIndex(), 9);
  EXPECT_EQ(hanger0->GetController(), controller);
  EXPECT_EQ(leader->SlotFish(1, 0), host.objects[4].get());
  EXPECT_EQ(PurselCurrentController(), controller);
  EXPECT_EQ(host.objects[2]->ai->owner, host.objects[2].get());
}

TEST(PurselEntryTest, BuildFlockClonesRowsWithTheInstancingOption) {
  FakeHost host;
  host.twinfin = true;
  // Calm flock, 4 rows of 3 fish with 2 hangers-on each at multiplier 1.0.
  PurselRecord()->BuildFlock(0, &gFish, "Scale:少ない,Character:おとなしい", host.Table(), 2);
  std::vector<std::string> clones =
      host.CallsNamed({"CreateRenderTexture", "SetCloneSource", "AddClone"});
  ASSERT_EQ(clones.size(), 16u);
  // Row 0: fish f3, f6, f9 (each followed by two hangers-on); texture f12.
  EXPECT_THAT(std::vector<std::string>(clones.begin(), clones.begin() + 4),
              ElementsAre("CreateRenderTexture f12", "SetCloneSource f12 f3", "AddClone f12 f6",
                          "AddClone f12 f9"));
  EXPECT_TRUE(host.objects[11]->registered);
  EXPECT_EQ(host.CountCalls("AddToBuildingFlock"), 4);
  EXPECT_EQ(static_cast<int>(host.objects.size()), 2 + 36 + 4);

  FakeHost lively;
  lively.twinfin = true;
  PurselRecord()->BuildFlock(0, &gFish, "Scale:少ない", lively.Table(), 2);
  EXPECT_EQ(lively.CountCalls("CreateRenderTexture"), 0);  // Character 活発: no clones
}

TEST(PurselEntryTest, BuildFlockWithoutFishBuildsNothing) {
  FakeHost host;
  PurselRecord()->BuildFlock(0, nullptr, "", host.Table(), 2);
  EXPECT_EQ(host.CountCalls("CreateFish"), 0);
  EXPECT_EQ(host.logs.front(), "BuildFlock Booted\n");
}

TEST(PurselEntryTest, MissingFishCreationLeaksNoAI) {
  FakeHost host;
  host.table.CreateFish = nullptr;  // every fish comes back null
  PurselRecord()->BuildFlock(0, &gFish, "", host.Table(), 2);
  EXPECT_EQ(host.CountCalls("SetAI"), 0);
  EXPECT_EQ(host.CountCalls("RegisterObject"), 0);
}

TEST(PurselEntryTest, EachFlockKeepsItsRowCollections) {
  FakeHost host;
  size_t before = PurselRowCollections().size();
  PurselRecord()->BuildFlock(0, &gFish, "Scale:少ない", host.Table(), 2);
  ASSERT_EQ(PurselRowCollections().size(), before + 4);
  EXPECT_EQ(PurselRowCollections().back()->size(), 3u);
  ReleasePurselRowCollections();
  EXPECT_TRUE(PurselRowCollections().empty());
}

// AI objects keep the table they were made with, even after another entry
// is called with a different table.
TEST(PurselEntryTest, AIsKeepTheirOwnTable) {
  auto first = std::make_unique<FakeHost>();
  PurselRecord()->BuildFlock(0, &gFish, "Scale:少ない", first->Table(), 0);
  auto* leader = dynamic_cast<C4FlyingBar*>(first->objects[1]->ai);
  ASSERT_NE(leader, nullptr);
  const X2HostCallbacks* firstTable = first->Table();
  {
    X2HostCallbacks other = {};
    PurselRecord()->CountFish(0, "", &other, 2);
  }
  EXPECT_EQ(leader->Host().Table(), firstTable);
}

namespace {
std::vector<std::string> gSecondLog;
void X2_CDECL SecondLogPrint(const char* format, ...) { gSecondLog.push_back(format); }
}  // namespace

// Every entry takes its table before it logs: nothing goes to the table of
// an earlier call.
TEST(PurselEntryTest, LogsGoToTheTableOfTheCall) {
  FakeHost first;
  PurselRecord()->CountFish(0, "", first.Table(), 2);
  X2HostCallbacks second = {};
  second.LogPrint = SecondLogPrint;
  gSecondLog.clear();
  PurselRecord()->BuildFlock(0, nullptr, "", &second, 2);
  EXPECT_TRUE(first.logs.empty());
  EXPECT_EQ(gSecondLog.size(), 1u);
}
