#pragma once
// The flocks of FlockConfig.ini: per entry the fish key, the flock AI key and
// its parameter string, plus the fish-count multiplier handed to every flock
// AI. Builds the flocks through the AI plug-ins at scene set-up.
#include "X2ConfigList.h"
#include "pluginlists/X2RecordList.h"

class X2FishList;
class X2AIList;
class X2FlockSet;

class X2FlockConfig : public X2ConfigList {
 public:
  static constexpr int kMultiplierCount = 6;  // "X 1/4" .. "X 8"

  // Reads flockCount and HighPowerFactor, then the [flock<i>] sections.
  // Returns 0 when the file names no flock.
  int Load(const char* file);
  bool Save(const char* file) const;
  // Appends an entry; -1 when the list holds 100 already.
  int AddFlock(const char* fishType, const char* ai, const char* aiParam);
  // Removes flock entry i and lets every remaining flock and camera AI repair
  // parameters that refer to flocks by index. An invalid i does nothing.
  void RemoveFlock(int index, X2HostCallbacks* host);
  // Builds flock i of every entry i through its AI's BuildFlock into flocks
  // (flock indexes equal entry indexes, failed entries stay empty). Returns 1.
  int BuildFlocks(const X2FishList* fishList, const X2AIList* aiList, X2HostCallbacks* host,
                  X2FlockSet* flocks) const;
  // The fish all entries would build, as their AIs count them.
  int TotalFish(const X2AIList* aiList, X2HostCallbacks* host) const;
  // The entries' fish display names, in order, as the flock slots list them.
  void FillFlockNames(X2FlockSet* flocks) const;

  // Also forgets the built flocks.
  void Clear() override;

  int highPowerFactor = 2;
};

extern X2FlockConfig* TheFlockConfig;

// Lets the AI of each entry of list (looked up in aiList) rewrite its
// parameter string after flock removedIndex was deleted.
void NormaliseConfigParams(X2ConfigList* list, const X2RecordList<X2AIData>* aiList, int removedIndex,
                           X2HostCallbacks* host);
