#pragma once
// Flock AI records from the AI plug-ins (ai folder, *.qva).
#include "X2PluginList.h"

class X2AIList : public X2PluginList {
 public:
  X2AIList();  // scans the ai folder
  ~X2AIList() override = default;

  const char* SubFolder() const override { return "\\ai\\"; }
  const char* Pattern() const override { return "*.qva"; }
  const char* ExportName() const override { return X2_AI_EXPORT_NAME; }
  int Kind() const override { return X2_KIND_AI; }

  const X2AIData* Get(int index) const { return reinterpret_cast<const X2AIData*>(Header(index)); }
  const X2AIData* GetData(const char* key) const {
    return reinterpret_cast<const X2AIData*>(GetHeader(key));
  }
};

extern X2AIList* TheFlockAIList;
