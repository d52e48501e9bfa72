// The status line and the panel texts it prints, without a device.
#include <gtest/gtest.h>

#include <cstring>

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
