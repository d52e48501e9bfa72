#pragma once
// A fish that follows a path of its own points.
#include "C4BasicAI.h"
#include "X2PositionHistory.h"

class C4WanderAI : public C4BasicAI {
 public:
  explicit C4WanderAI(const X2Host& host);

  // Restarts the path at p (three points at time 0) and aims there.
  void SetStartPoint(const aimath::Vec3& p);
  const X2PositionHistory& Path() const { return path_; }
  int Depth() const { return depth_; }
  void SetDepth(int depth) { depth_ = depth; }

 protected:
  X2PositionHistory path_;
  int pathStep_ = 0;
  float lastPathTime_ = -10.0f;
  int depth_ = 0;
};
