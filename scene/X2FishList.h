#pragma once
// Swimming fish: the seven built-in species, then the fish plug-ins (model folder, *.qvf).
#include "X2PluginList.h"

class X2FishList : public X2PluginList {
 public:
  X2FishList();  // appends the built-in species, then scans the model folder
  ~X2FishList() override = default;

  const char* SubFolder() const override { return "\\model\\"; }
  const char* Pattern() const override { return "*.qvf"; }
  const char* ExportName() const override { return X2_FISH_EXPORT_NAME; }
  int Kind() const override { return X2_KIND_FISH; }

  const X2FishData* Get(int index) const { return reinterpret_cast<const X2FishData*>(Header(index)); }
  const X2FishData* GetData(const char* key) const {
    return reinterpret_cast<const X2FishData*>(GetHeader(key));
  }
};

extern X2FishList* TheFishList;
