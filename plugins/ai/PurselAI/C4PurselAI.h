#pragma once
// A formation fish: swims the path of its lane one second later per row.
#include "C4BasicAI.h"

class C4PurselAI : public C4BasicAI {
 public:
  explicit C4PurselAI(const X2Host& host);

  X2AIObject* X2_THISCALL Step(float now, float previous, X2Object self) override;
  C4FlyingBar* FlyingBar() override;

  int Row() const { return row_; }
  int Lane() const { return lane_; }
  void SetSlot(int row, int lane) {
    row_ = row;
    lane_ = lane;
  }

 private:
  int row_ = 0;
  int lane_ = 0;
  bool missingLeaderLogged_ = false;
};
