#include "X2FlockSet.h"

#include <algorithm>

#include "pluginlists/X2PluginKey.h"

X2FlockSet TheFlocks;

std::string X2DisplayName(const char* key) {
  std::string name;
  if (!key) return name;
  for (const char* p = key; *p;) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (X2IsLeadByte(c) && p[1]) {
      name.append(p, 2);
      p += 2;
      continue;
    }
    if (c == '_') break;
    name.push_back(*p++);
  }
  return name;
}

void X2FlockSet::Clear() {
  ClearFlocks();
  ClearEntries();
}

void X2FlockSet::ClearEntries() {
  names_.clear();
  std::fill(std::begin(nameList_), std::end(nameList_), nullptr);
}

bool X2FlockSet::AddEntry(const char* fishKey) {
  if (EntryCount() >= kMaxFlocks) return false;
  names_.push_back(X2DisplayName(fishKey));
  return true;
}

void X2FlockSet::SetEntries(const std::vector<const char*>& fishKeys) {
  std::vector<std::string> names;
  for (size_t i = 0; i < fishKeys.size() && i < static_cast<size_t>(kMaxFlocks); ++i)
    names.push_back(X2DisplayName(fishKeys[i]));
  if (names != names_) names_ = std::move(names);
}

const char* X2FlockSet::EntryName(int index) const {
  if (index < 0 || index >= EntryCount()) return nullptr;
  return names_[static_cast<size_t>(index)].c_str();
}

const char** X2FlockSet::Names() {
  std::fill(std::begin(nameList_), std::end(nameList_), nullptr);
  const int n = std::min(EntryCount(), static_cast<int>(kMaxFlocks));
  for (int i = 0; i < n; ++i) nameList_[i] = names_[static_cast<size_t>(i)].c_str();
  return nameList_;
}

int X2FlockSet::BeginFlock() {
  if (FlockCount() >= kMaxFlocks) {
    building_ = -1;
    return -1;
  }
  flocks_.emplace_back();
  building_ = FlockCount() - 1;
  return building_;
}

void X2FlockSet::AddToBuilding(C3Object* object) {
  if (!object || building_ < 0 || building_ >= FlockCount()) return;
  flocks_[static_cast<size_t>(building_)].push_back(object);
}

void X2FlockSet::ClearFlocks() {
  flocks_.clear();
  building_ = -1;
}

const std::vector<C3Object*>* X2FlockSet::Flock(int flock) const {
  if (flocks_.empty()) return nullptr;
  if (flock < 0 || flock >= FlockCount()) flock = FlockCount() - 1;
  return &flocks_[static_cast<size_t>(flock)];
}

int X2FlockSet::Size(int flock) const {
  const std::vector<C3Object*>* list = Flock(flock);
  return list ? static_cast<int>(list->size()) : 0;
}

C3Object* X2FlockSet::Member(int flock, int member) const {
  const std::vector<C3Object*>* list = Flock(flock);
  if (!list || member < 0 || member >= static_cast<int>(list->size())) return nullptr;
  return (*list)[static_cast<size_t>(member)];
}
