#pragma once
// Which installed records of a plug-in list are shown: one section per record
// key ("name_maker") with "enable" 1 or 0. The entries mirror the list's
// records in list order; sections of records no longer installed are left
// alone in the file, records without a section are shown.
#include "X2ConfigList.h"

class X2PluginList;

class X2EnableConfig : public X2ConfigList {
 public:
  // Always 1.
  int Load(const char* file);
  bool Save(const char* file) const;

 protected:
  // The plug-in list whose records the entries mirror (may be null).
  virtual const X2PluginList* Records() const = 0;
};
