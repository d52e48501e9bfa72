#pragma once
// Coral colony species from the coral plug-ins (model folder, *.qvc).
#include "X2RecordList.h"

class X2CoralList : public X2RecordList<X2FishData> {
 public:
  X2CoralList();  // scans the model folder
  ~X2CoralList() override = default;

  const char* Pattern() const override { return "*.qvc"; }

 protected:
  const char* CheckRecord(const X2RecordHeader* record, const X2ModuleImage& image) const override;
};

extern X2CoralList* TheCoralList;
