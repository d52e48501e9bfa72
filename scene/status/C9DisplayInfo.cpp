#include "C9DisplayInfo.h"

#include "StatusLine.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "panels/C7TexturePanel.h"
#include "world/C3World.h"

C9DisplayInfo::C9DisplayInfo(C7TexturePanel* const* panels, int panelCount)
    : panels_(panels), panelCount_(panels ? panelCount : 0) {
  SetClassName("C9DisplayInfo");
  flags |= kObjAlwaysVisible;
}

C7TexturePanel* C9DisplayInfo::Panel(int index) const {
  return index >= 0 && index < panelCount_ ? panels_[index] : nullptr;
}

HRESULT C9DisplayInfo::Move(float current, float previous) {
  C3SceneHost* host = GetSceneHost();
  if (host->IsDisplayInfoShown()) {
    C3World* world = C3World::Current();
    // The texts are data, never formats.
    if (world && !world->started) {
      C7TexturePanel::Printf(Panel(kFrameStatsPanel), "%s", host->GetFrameStatsText());
      C7TexturePanel::Printf(Panel(kSecondStatsPanel), "%s", host->GetSecondStatsText());
      C7TexturePanel::Printf(Panel(kDeviceStatsPanel), "%s", host->GetDeviceStatsText());
    }
    char line[128];
    FormatStatusLine(line, sizeof line, host->GetFramesPerSecond(), shownFishCount,
                     world ? world->GetSpeedFactor() : 1.0f);
    C7TexturePanel::Printf(Panel(kStatusPanel), "%s", line);
  }
  if (GetDebugLogLevel() >= 2) {
    heights.Report(current);
    activity.Report(current);
  }
  return C3Object::Move(current, previous);
}

HRESULT C9DisplayInfo::PreRender() {
  shownFishCount = runningFishCount;
  runningFishCount = 0;
  return 0;
}
