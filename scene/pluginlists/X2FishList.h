#pragma once
// Swimming fish: the seven built-in species, then the fish plug-ins (model folder, *.qvf).
#include "X2RecordList.h"

class X2FishList : public X2RecordList<X2FishData> {
 public:
  X2FishList();  // appends the built-in species, then scans the model folder
  ~X2FishList() override = default;

  const char* Pattern() const override { return "*.qvf"; }
};

extern X2FishList* TheFishList;
