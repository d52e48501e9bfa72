#include "X2CoralList.h"

#include "X2RecordCheck.h"

X2CoralList* TheCoralList = nullptr;

X2CoralList::X2CoralList() {
  Scan();
}

const char* X2CoralList::CheckRecord(const X2RecordHeader* record, const X2ModuleImage& image) const {
  return X2CheckFishRecord(reinterpret_cast<const X2FishData*>(record), image, kX2UseCoral);
}
