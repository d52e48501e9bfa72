#include "X2CameraAIList.h"

#include "diagnostics/Diagnostics.h"

X2CameraAIList* TheSourceCameraAIList = nullptr;
X2CameraAIList* TheTargetCameraAIList = nullptr;

X2CameraAIList::X2CameraAIList(uint32_t mask) : mask_(mask) {
  Scan();
}

// Masked rule: the first record only. The camera calls CreateInstance of its
// records without a test, so a record that lacks it is refused here.
void X2CameraAIList::Load(const char* path) {
  HMODULE module;
  X2ModuleImage image;
  const X2RecordHeader* record = OpenLibrary(path, &module, &image);
  if (!record) return;
  if (!image.Contains(record, sizeof(X2AIData))) {
    LogPrint("LOAD Data : Record Outside Module %s\n", path);
  } else if (AcceptKindAndVersion(record, path)) {
    const X2AIData* ai = reinterpret_cast<const X2AIData*>(record);
    if (ai->capabilities & mask_) {
      if (const char* why = CheckRecord(record, image))
        LogPrint("LOAD Data : Bad Record %s : %s\n", path, why);
      else if (!ai->CreateInstance)
        LogPrint("LOAD Data : No CreateInstance %s\n", path);
      else
        Append(record, module);
    }
  }
  ReleaseIfUnused(module);
}
