#pragma once
// Structures from the structure plug-ins (model folder, *.qvs); a record of format version 2 is drawn from X files.
#include "X2RecordList.h"

class X2StructureList : public X2RecordList<X2FishData> {
 public:
  X2StructureList();  // scans the model folder
  ~X2StructureList() override = default;

  const char* Pattern() const override { return "*.qvs"; }

 protected:
  const char* CheckRecord(const X2RecordHeader* record, const X2ModuleImage& image) const override;
};

extern X2StructureList* TheStructureList;
