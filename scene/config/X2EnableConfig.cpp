#include "X2EnableConfig.h"

#include <cstdio>

#include "pluginlists/X2PluginKey.h"
#include "pluginlists/X2PluginList.h"

namespace {
std::string RecordKey(const X2PluginList& list, int index) {
  char key[X2ConfigList::kTextSize * 2 + 2];
  const X2RecordHeader* h = list.Header(index);
  // The section carries the key as the record spells it; lookups ignore case.
  snprintf(key, sizeof key, "%.*s_%.*s", X2_NAME_SIZE - 1, h->name, X2_NAME_SIZE - 1, h->maker);
  return key;
}
}  // namespace

int X2EnableConfig::Load(const char* file) {
  const std::string path = PathOf(file);
  Clear();
  const X2PluginList* list = Records();
  for (int i = 0; list && i < list->Count(); ++i) {
    const std::string key = RecordKey(*list, i);
    AddEntry(key.c_str(), configini::ReadInt(path, key.c_str(), "enable", 1) != 0 ? 1 : 0);
  }
  return 1;
}

bool X2EnableConfig::Save(const char* file) const {
  const std::string path = PathOf(file);
  bool ok = true;
  const X2PluginList* list = Records();
  for (int i = 0; list && i < list->Count(); ++i) {
    const std::string key = RecordKey(*list, i);
    const X2ConfigEntry* e = Find(key.c_str());
    ok &= configini::WriteText(path, key.c_str(), "enable", e && e->enable == 0 ? "0" : "1");
  }
  return ok;
}
