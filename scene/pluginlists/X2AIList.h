#pragma once
// Flock AI records from the AI plug-ins (ai folder, *.qva).
#include "X2RecordList.h"

class X2AIList : public X2RecordList<X2AIData> {
 public:
  X2AIList();  // scans the ai folder
  ~X2AIList() override = default;

  const char* Pattern() const override { return "*.qva"; }
};

extern X2AIList* TheFlockAIList;
