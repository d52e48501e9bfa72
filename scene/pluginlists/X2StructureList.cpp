#include "X2StructureList.h"

#include "X2RecordCheck.h"

X2StructureList* TheStructureList = nullptr;

X2StructureList::X2StructureList() {
  Scan();
}

const char* X2StructureList::CheckRecord(const X2RecordHeader* record, const X2ModuleImage& image) const {
  return X2CheckFishRecord(reinterpret_cast<const X2FishData*>(record), image, kX2UseStructure);
}
