// The status line and the panel texts it prints, and the fish heights line
// of the debug log, without a device.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "LogTestSupport.h"
#include "frame/C3SceneHost.h"
#include "panels/C7TexturePanel.h"
#include "status/C9DisplayInfo.h"
#include "world/C3World.h"

namespace {

class InfoHost : public C3SceneHost {
 public:
  bool IsDisplayInfoShown() override { return shown; }
  float GetFramesPerSecond() override { return 59.94f; }
  const char* GetFrameStatsText() override { return "60.00 fps (640x480), %s%n"; }
  const char* GetDeviceStatsText() override { return "HAL (hw vp)"; }
  int GetPanelLevel() override { return level; }
  bool shown = true;
  int level = 2;
};

class DisplayInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSceneHost(&host);
    for (int i : {10, 11, 12, 33}) panels[i] = new C7TexturePanel(-1.0f, 1.0f, 0.05f, 0.0f);
  }
  void TearDown() override {
    for (auto* p : panels) delete p;
    SetSceneHost(nullptr);
  }
  InfoHost host;
  C3World world;
  C7TexturePanel* panels[35] = {};
};

TEST_F(DisplayInfoTest, StatusLineCountsTheFishOfThePreviousFrame) {
  C9DisplayInfo info(panels, 35);
  world.SetSpeedFactor(0.5f);
  for (int i = 0; i < 12; ++i) info.AddFish();
  info.Move(1.0f, 0.9f);
  EXPECT_STREQ(panels[33]->Text(), "59.94fps    0fish 1/2");
  info.PreRender();
  info.Move(1.1f, 1.0f);
  EXPECT_STREQ(panels[33]->Text(), "59.94fps   12fish 1/2");
  EXPECT_EQ(info.runningFishCount, 0);
  // Statistic texts are printed as they stand, never used as formats.
  EXPECT_STREQ(panels[10]->Text(), "60.00 fps (640x480), %s%n");
  EXPECT_STREQ(panels[11]->Text(), "");
  EXPECT_STREQ(panels[12]->Text(), "HAL (hw vp)");
}

TEST_F(DisplayInfoTest, StatisticsStopAfterTheStartAndNothingPrintsWhenOff) {
  C9DisplayInfo info(panels, 35);
  world.started = 1;
  info.Move(1.0f, 0.9f);
  EXPECT_STREQ(panels[10]->Text(), "");
  EXPECT_STREQ(panels[33]->Text(), "59.94fps    0fish ");

  host.shown = false;
  panels[33]->AddLine("old");
  for (int i = 0; i < 3; ++i) info.AddFish();
  info.Move(2.0f, 1.9f);
  info.PreRender();
  EXPECT_STREQ(panels[33]->Text(), "old");
  EXPECT_EQ(info.shownFishCount, 3);  // counters still hand over
}

TEST_F(DisplayInfoTest, MissingPanelsAreSkipped) {
  C9DisplayInfo shortTable(panels, 20);  // no panel 33
  shortTable.Move(1.0f, 0.9f);
  C9DisplayInfo none(nullptr, 35);
  none.Move(1.0f, 0.9f);
  EXPECT_STREQ(panels[33]->Text(), "");
}

TEST_F(DisplayInfoTest, PrintfIsBoundedAndObeysThePanelLevel) {
  C7TexturePanel* p = panels[10];
  std::string longText(5000, 'x');
  C7TexturePanel::Printf(p, "%s-%s", longText.c_str(), longText.c_str());
  EXPECT_EQ(p->Length(), 63u);
  EXPECT_EQ(p->Alpha(), 1.0f);
  host.level = 1;
  C7TexturePanel::Printf(p, "%s", "new");
  EXPECT_EQ(p->Length(), 63u);
  C7TexturePanel::Printf(nullptr, "%s", "nobody");
}

}  // namespace

// The fish heights line: the least height over the floor leaves out the fish
// held in the ground by the waves' ceiling (no water there), which are
// counted apart; a second with only such fish still gives a line a reader
// can parse.
TEST(FishHeights, FishWithoutWaterAreCountedApart) {
  qvtest::ClearLog();
  SetDebugLogLevel(2);
  FishHeightWatch watch;
  watch.Note(-5.0f, -9.0f, NAN);  // no sea surface
  watch.Note(-8.7f, -9.0f, NAN);
  watch.Report(0.0f);
  watch.Note(-2.0f, -4.0f, 0.5f);   // water over the floor
  watch.Note(-1.2f, -1.5f, 0.5f);
  watch.Note(-1.0f, 2.0f, -1.0f);   // the ground over the ceiling
  watch.Note(-1.0f, -1.2f, -1.0f);  // less than the clearance between them
  watch.Note(NAN, -4.0f, 0.5f);
  watch.Report(0.5f);  // within the second: nothing yet
  watch.Report(1.0f);
  watch.Note(-1.0f, 2.0f, -1.0f);
  watch.Report(2.0f);
  SetDebugLogLevel(0);

  const std::string log = qvtest::ReadLog();
  std::vector<std::array<float, 6>> lines;
  for (size_t at = log.find("fish heights: "); at != std::string::npos; at = log.find("fish heights: ", at + 1)) {
    std::array<float, 6> v{};
    const int n = sscanf(log.c_str() + at + 14,
                         "%f noted, least over the floor %f, highest %f, not finite %f, least under the waves %f, "
                         "in the ground under the waves %f",
                         &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    EXPECT_EQ(n, lines.empty() ? 4 : 6) << log.substr(at, 160);
    lines.push_back(v);
  }
  ASSERT_EQ(lines.size(), 3u) << log;
  EXPECT_EQ(lines[0][0], 2.0f);
  EXPECT_NEAR(lines[0][1], 0.3f, 1e-4f);
  EXPECT_NEAR(lines[1][1], 0.3f, 1e-4f);  // the two with water only
  EXPECT_EQ(lines[1][0], 4.0f);
  EXPECT_EQ(lines[1][3], 1.0f);
  EXPECT_EQ(lines[1][4], 0.0f);
  EXPECT_EQ(lines[1][5], 2.0f);
  EXPECT_TRUE(std::isinf(lines[2][1]));
  EXPECT_EQ(lines[2][5], 1.0f);
}
