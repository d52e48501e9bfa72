#include "FishHeightWatch.h"

#include "diagnostics/Diagnostics.h"

void FishHeightWatch::Note(float y, float floor, float ceiling) {
  const float over = y - floor;
  if (!std::isfinite(over)) {
    ++lost_;
    return;
  }
  ++fish_;
  least_ = std::fmin(least_, over);
  top_ = std::fmax(top_, y);
  if (!std::isnan(ceiling)) {
    ceiling_ = true;
    under_ = std::fmin(under_, ceiling - y);
  }
}

void FishHeightWatch::Report(float now) {
  if (!(now >= next_) || fish_ + lost_ == 0) return;
  next_ = now + 1.0f;
  if (ceiling_)
    LogPrint("fish heights: %d noted, least over the floor %.2f, highest %.2f, not finite %d, least under the waves %.2f\n",
             fish_, least_, top_, lost_, under_);
  else
    LogPrint("fish heights: %d noted, least over the floor %.2f, highest %.2f, not finite %d\n", fish_, least_, top_,
             lost_);
  fish_ = lost_ = 0;
  least_ = INFINITY;
  top_ = -INFINITY;
  under_ = INFINITY;
  ceiling_ = false;
}
