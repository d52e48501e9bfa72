#pragma once
// Coral colony species from the coral plug-ins (model folder, *.qvc).
#include "X2PluginList.h"

class X2CoralList : public X2PluginList {
 public:
  X2CoralList();  // scans the model folder
  ~X2CoralList() override = default;

  const char* SubFolder() const override { return "\\model\\"; }
  const char* Pattern() const override { return "*.qvc"; }
  const char* ExportName() const override { return X2_FISH_EXPORT_NAME; }
  int Kind() const override { return X2_KIND_FISH; }

  const X2FishData* Get(int index) const { return reinterpret_cast<const X2FishData*>(Header(index)); }
  const X2FishData* GetData(const char* key) const {
    return reinterpret_cast<const X2FishData*>(GetHeader(key));
  }

 protected:
  const char* CheckRecord(const X2RecordHeader* record, const X2ModuleImage& image) const override;
};

extern X2CoralList* TheCoralList;
