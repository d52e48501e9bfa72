#pragma once
// The status line: frame rate, fish drawn in the previous frame and the
// simulation speed, printed into a text panel every frame while the
// DisplayInfo setting is on; during the first seconds it also hands the
// application's statistic texts to three other panels.
#include "SceneActivity.h"
#include "fish/FishHeightWatch.h"
#include "world/C3Object.h"

class C7TexturePanel;

class C9DisplayInfo : public C3Object {
 public:
  // Panels the texts go to (statistics 10, 11, 12; status line 33); the
  // array is the scene's panel table and must outlive the object. Missing
  // panels (index out of range or null) are skipped.
  static constexpr int kFrameStatsPanel = 10;
  static constexpr int kSecondStatsPanel = 11;
  static constexpr int kDeviceStatsPanel = 12;
  static constexpr int kStatusPanel = 33;

  C9DisplayInfo(C7TexturePanel* const* panels, int panelCount);

  HRESULT Move(float current, float previous) override;
  // Hands the running fish count over to the shown count.
  HRESULT PreRender() override;

  // Called by every visible fish in its frame move.
  void AddFish() { ++runningFishCount; }

  int shownFishCount = 0;
  int runningFishCount = 0;
  // Every fish's height over the floor, logged at debug log level 2.
  FishHeightWatch heights;
  // Fish steered and morphed, coral drawn: logged at debug log level 2.
  SceneActivity activity;

 private:
  C7TexturePanel* Panel(int index) const;

  C7TexturePanel* const* panels_;
  int panelCount_;
};
