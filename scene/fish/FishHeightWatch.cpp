#include "FishHeightWatch.h"

#include "collision/CollisionMath.h"
#include "diagnostics/Diagnostics.h"

void FishHeightWatch::Note(float y, float floor, float ceiling) {
  const float over = y - floor;
  if (!std::isfinite(over)) {
    ++lost_;
    return;
  }
  ++fish_;
  top_ = std::fmax(top_, y);
  if (std::isnan(ceiling)) {
    least_ = std::fmin(least_, over);
    return;
  }
  ceiling_ = true;
  under_ = std::fmin(under_, ceiling - y);
  if (ceiling < floor + kFloorClearance)
    ++dry_;
  else
    least_ = std::fmin(least_, over);
}

void FishHeightWatch::Report(float now) {
  if (!(now >= next_) || fish_ + lost_ == 0) return;
  next_ = now + 1.0f;
  if (ceiling_)
    LogPrint("fish heights: %d noted, least over the floor %.2f, highest %.2f, not finite %d, least under the waves "
             "%.2f, in the ground under the waves %d\n",
             fish_, least_, top_, lost_, under_, dry_);
  else
    LogPrint("fish heights: %d noted, least over the floor %.2f, highest %.2f, not finite %d\n", fish_, least_, top_,
             lost_);
  fish_ = lost_ = dry_ = 0;
  least_ = INFINITY;
  top_ = -INFINITY;
  under_ = INFINITY;
  ceiling_ = false;
}
