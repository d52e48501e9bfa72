#pragma once
// Camera AI records from the camera plug-ins (ai folder, *.qve). Only the
// first record of a library counts, and only when its capabilities meet the
// list's mask: X2_AI_CAMERA_SOURCE for the position list, X2_AI_CAMERA_TARGET
// for the look-at list.
#include "X2RecordList.h"

class X2CameraAIList : public X2RecordList<X2AIData> {
 public:
  explicit X2CameraAIList(uint32_t mask);  // scans the ai folder
  ~X2CameraAIList() override = default;

  void Load(const char* path) override;
  const char* Pattern() const override { return "*.qve"; }

  uint32_t Mask() const { return mask_; }

 private:
  uint32_t mask_;
};

extern X2CameraAIList* TheSourceCameraAIList;
extern X2CameraAIList* TheTargetCameraAIList;
