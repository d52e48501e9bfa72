#pragma once
// Camera AI records from the camera plug-ins (ai folder, *.qve). Only the
// first record of a library counts, and only when its capabilities meet the
// list's mask: X2_AI_CAMERA_SOURCE for the position list, X2_AI_CAMERA_TARGET
// for the look-at list.
#include "X2PluginList.h"

class X2CameraAIList : public X2PluginList {
 public:
  explicit X2CameraAIList(uint32_t mask);  // scans the ai folder
  ~X2CameraAIList() override = default;

  void Load(const char* path) override;
  const char* SubFolder() const override { return "\\ai\\"; }
  const char* Pattern() const override { return "*.qve"; }
  const char* ExportName() const override { return X2_AI_EXPORT_NAME; }
  int Kind() const override { return X2_KIND_AI; }

  uint32_t Mask() const { return mask_; }

  const X2AIData* Get(int index) const { return reinterpret_cast<const X2AIData*>(Header(index)); }
  const X2AIData* GetData(const char* key) const {
    return reinterpret_cast<const X2AIData*>(GetHeader(key));
  }

 private:
  uint32_t mask_;
};

extern X2CameraAIList* TheSourceCameraAIList;
extern X2CameraAIList* TheTargetCameraAIList;
