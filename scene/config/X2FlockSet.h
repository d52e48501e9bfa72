#pragma once
// The flocks of the scene as plug-ins see them through the host table: the
// fish display names of the flock entries, and per flock the fish the flock
// AI listed while it built that flock. The fish belong to the world; the
// set only lists them.
#include <string>
#include <vector>

class C3Object;

class X2FlockSet {
 public:
  static constexpr int kMaxFlocks = 100;

  // Forgets the flocks, the building state and the entry names.
  void Clear();

  // Flock entries, in configuration order: the display name is the fish
  // key up to its first underscore (a Shift-JIS trail byte is never taken
  // for one). Entries past the hundredth are refused (false).
  void ClearEntries();
  bool AddEntry(const char* fishKey);
  // All entries at once, from the configuration's fish keys (the first 100).
  // Keys that give the names the set holds already change nothing, so the
  // texts handed out stay valid until the configuration changes.
  void SetEntries(const std::vector<const char*>& fishKeys);
  int EntryCount() const { return static_cast<int>(names_.size()); }
  const char* EntryName(int index) const;
  // Display names, ended by a null entry (at most 100 names and the null).
  // The array is shared and rewritten on every call; the texts stay valid
  // until the entries change.
  const char** Names();

  // Flock building: BeginFlock appends a new empty flock and makes it the
  // one AddToBuilding appends to (-1 and nothing to build past the
  // hundredth flock); EndBuilding ends it. Outside building nothing is
  // added; null objects are never listed.
  int BeginFlock();
  void EndBuilding() { building_ = -1; }
  int BuildingIndex() const { return building_; }
  void AddToBuilding(C3Object* object);
  // Forgets the built flocks (not the entries).
  void ClearFlocks();

  // Lookups: a flock index that is negative or past the last flock means
  // the last flock; with no flocks, null and 0; a member outside the flock
  // gives null.
  int FlockCount() const { return static_cast<int>(flocks_.size()); }
  int Size(int flock) const;
  C3Object* Member(int flock, int member) const;

 private:
  const std::vector<C3Object*>* Flock(int flock) const;

  std::vector<std::string> names_;
  std::vector<std::vector<C3Object*>> flocks_;
  int building_ = -1;
  const char* nameList_[kMaxFlocks + 1] = {};
};

// The scene's one flock set.
extern X2FlockSet TheFlocks;

// A fish key cut at its first underscore, stepping over double-byte
// characters.
std::string X2DisplayName(const char* key);
