#include "X2ConfigList.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "diagnostics/Diagnostics.h"
#include "pluginlists/X2PluginKey.h"

void X2ConfigList::RemoveAt(int index) {
  if (index < 0 || index >= Count()) return;
  entries_.erase(entries_.begin() + index);
}

void X2ConfigList::Clear() { entries_.clear(); }

void X2ConfigList::SetFolder(const char* folder) { folder_ = folder ? folder : ""; }

X2ConfigEntry* X2ConfigList::Find(const char* key) const {
  if (!key) return nullptr;
  const std::string wanted = X2LowerKey(std::string(key));
  for (const auto& entry : entries_)
    if (entry->Name() && X2LowerKey(std::string(entry->Name())) == wanted) return entry.get();
  return nullptr;
}

int X2ConfigList::AddEntry(const char* key, int enable) {
  Append()->SetName(key, enable);
  return Count() - 1;
}

X2ConfigEntry* X2ConfigList::Entry(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return entries_[static_cast<size_t>(index)].get();
}

X2ConfigEntry* X2ConfigList::Append() {
  entries_.push_back(std::make_unique<X2ConfigEntry>());
  return entries_.back().get();
}

std::string X2ConfigList::PathOf(const char* file) const {
  std::string folder = folder_;
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  const char* name = file ? file : "";
  while (*name == '\\' || *name == '/') ++name;
  std::string path = folder + "\\" + name;
  if (path.size() >= MAX_PATH) path.resize(MAX_PATH - 1);
  return path;
}

namespace configini {

int ReadInt(const std::string& path, const char* section, const char* key, int fallback) {
  // A present value must start with a number (as the private-profile reader
  // takes it); one that does not (empty, a word) would read as 0.
  static const char kMissing[] = "\x01";
  char text[64] = "";
  GetPrivateProfileStringA(section, key, kMissing, text, sizeof text, path.c_str());
  if (std::strcmp(text, kMissing) == 0) return fallback;
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  if (*p == '-' || *p == '+') ++p;
  if (*p < '0' || *p > '9') {
    LogPrint("%s [%s] %s=%s is not a number, default %d\n", path.c_str(), section, key, text, fallback);
    return fallback;
  }
  return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, path.c_str()));
}

std::string ReadText(const std::string& path, const char* section, const char* key) {
  char text[X2ConfigList::kTextSize] = "";
  GetPrivateProfileStringA(section, key, "", text, sizeof text, path.c_str());
  text[sizeof text - 1] = '\0';
  return text;
}

bool WriteText(const std::string& path, const char* section, const char* key, const char* value) {
  return WritePrivateProfileStringA(section, key, value ? value : "", path.c_str()) != FALSE;
}

bool WriteInt(const std::string& path, const char* section, const char* key, int value) {
  char text[16];
  snprintf(text, sizeof text, "%d", value);
  return WriteText(path, section, key, text);
}

int Clamp(int value, int low, int high, const char* what) {
  if (value >= low && value <= high) return value;
  LogPrint("%s %d out of range %d..%d\n", what, value, low, high);
  return std::clamp(value, low, high);
}

}  // namespace configini
