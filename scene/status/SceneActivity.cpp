#include "SceneActivity.h"

#include "diagnostics/Diagnostics.h"

void SceneActivity::Report(float now) {
  if (!(now >= next_)) return;
  next_ = now + 1.0f;
  LogPrint("scene activity: %d fish moves under an AI, %d with a morph, %d coral pieces drawn, %d coral colonies\n",
           steered_, morphing_, coralDrawn_, colonies_);
  steered_ = morphing_ = coralDrawn_ = 0;
}
