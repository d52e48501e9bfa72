#pragma once
// Structures from the structure plug-ins (model folder, *.qvs); a record of format version 2 is drawn from X files.
#include "X2PluginList.h"

class X2StructureList : public X2PluginList {
 public:
  X2StructureList();  // scans the model folder
  ~X2StructureList() override = default;

  const char* SubFolder() const override { return "\\model\\"; }
  const char* Pattern() const override { return "*.qvs"; }
  const char* ExportName() const override { return X2_FISH_EXPORT_NAME; }
  int Kind() const override { return X2_KIND_FISH; }

  const X2FishData* Get(int index) const { return reinterpret_cast<const X2FishData*>(Header(index)); }
  const X2FishData* GetData(const char* key) const {
    return reinterpret_cast<const X2FishData*>(GetHeader(key));
  }

 protected:
  const char* CheckRecord(const X2RecordHeader* record, const X2ModuleImage& image) const override;
};

extern X2StructureList* TheStructureList;
