#include "X2FlockConfig.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "X2CameraConfig.h"
#include "X2FlockSet.h"
#include "diagnostics/Diagnostics.h"
#include "pluginlists/X2AIList.h"
#include "pluginlists/X2CameraAIList.h"
#include "pluginlists/X2FishList.h"

X2FlockConfig* TheFlockConfig = nullptr;

namespace {
constexpr char kSection[] = "flockConfig";
}

int X2FlockConfig::Load(const char* file) {
  const std::string path = PathOf(file);
  const int count = configini::Clamp(configini::ReadInt(path, kSection, "flockCount", 0), 0, kMaxEntries,
                                     "FlockConfig:flockCount");
  highPowerFactor = configini::Clamp(configini::ReadInt(path, kSection, "HighPowerFactor", 0), 0,
                                     kMultiplierCount - 1, "FlockConfig:HighPowerFactor");
  Clear();
  if (count == 0) return 0;
  for (int i = 0; i < count; ++i) {
    char section[32];
    snprintf(section, sizeof section, "flock%d", i);
    const std::string fish = configini::ReadText(path, section, "fishType");
    const std::string ai = configini::ReadText(path, section, "ai");
    const std::string param = configini::ReadText(path, section, "aiParam");
    AddFlock(fish.c_str(), ai.c_str(), param.c_str());
  }
  return 1;
}

bool X2FlockConfig::Save(const char* file) const {
  const std::string path = PathOf(file);
  bool ok = configini::WriteInt(path, kSection, "flockCount", Count());
  ok &= configini::WriteInt(path, kSection, "HighPowerFactor", highPowerFactor);
  for (int i = 0; i < Count(); ++i) {
    char section[32];
    snprintf(section, sizeof section, "flock%d", i);
    const X2ConfigEntry* e = Entry(i);
    ok &= configini::WriteText(path, section, "fishType", e->Name());
    ok &= configini::WriteText(path, section, "ai", e->AI());
    ok &= configini::WriteText(path, section, "aiParam", e->Param());
  }
  return ok;
}

int X2FlockConfig::AddFlock(const char* fishType, const char* ai, const char* aiParam) {
  if (Count() >= kMaxEntries) return -1;
  Append()->Set(fishType, ai, aiParam);
  return Count() - 1;
}

void X2FlockConfig::Clear() {
  TheFlocks.ClearFlocks();
  X2ConfigList::Clear();
}

void NormaliseConfigParams(X2ConfigList* list, const X2RecordList<X2AIData>* aiList, int removedIndex,
                           X2HostCallbacks* host) {
  if (!list || !aiList) return;
  for (int i = 0; i < list->Count(); ++i) {
    X2ConfigEntry* e = list->Entry(i);
    const X2AIData* ai = aiList->GetData(e->AI());
    if (!ai || !ai->NormaliseParameter) continue;
    char buffer[X2ConfigList::kTextSize] = "";
    if (e->Param()) strncpy(buffer, e->Param(), sizeof buffer - 1);
    ai->NormaliseParameter(removedIndex, buffer, sizeof buffer, host, 0);
    buffer[sizeof buffer - 1] = '\0';
    e->SetParam(buffer);
  }
}

void X2FlockConfig::RemoveFlock(int index, X2HostCallbacks* host) {
  if (index < 0 || index >= Count()) return;
  RemoveAt(index);
  NormaliseConfigParams(this, TheFlockAIList, index, host);
  NormaliseConfigParams(TheSourceCameraConfig, TheSourceCameraAIList, index, host);
  NormaliseConfigParams(TheTargetCameraConfig, TheTargetCameraAIList, index, host);
}

int X2FlockConfig::BuildFlocks(const X2FishList* fishList, const X2AIList* aiList, X2HostCallbacks* host,
                               X2FlockSet* flocks) const {
  flocks->ClearFlocks();
  FillFlockNames(flocks);
  for (int i = 0; i < Count(); ++i) {
    const X2ConfigEntry* e = Entry(i);
    if (flocks->BeginFlock() < 0) break;
    const X2FishData* fish = fishList ? fishList->GetData(e->Name()) : nullptr;
    if (!fish) {
      LogPrint("FlockConfig:Bad Fish Name %s\n", e->Name() ? e->Name() : "");
      continue;
    }
    const X2AIData* ai = aiList ? aiList->GetData(e->AI()) : nullptr;
    if (!ai) {
      LogPrint("FlockConfig:Bad AI Name %s\n", e->AI() ? e->AI() : "");
      continue;
    }
    if (!ai->BuildFlock) {
      LogPrint("FlockConfig:Not Supported BuildFlock\n");
      continue;
    }
    ai->BuildFlock(i, fish, e->Param() ? e->Param() : "", host, highPowerFactor);
    LogPrint("Flock %d:Fish For Camera %d\n", i, flocks->Size(i));
  }
  flocks->EndBuilding();
  return 1;
}

int X2FlockConfig::TotalFish(const X2AIList* aiList, X2HostCallbacks* host) const {
  int total = 0;
  for (int i = 0; i < Count() && aiList; ++i) {
    const X2ConfigEntry* e = Entry(i);
    const X2AIData* ai = aiList->GetData(e->AI());
    if (!ai) continue;
    if (!ai->CountFish) {
      LogPrint("FlockConfig:Not Supported BuildFlock\n");
      continue;
    }
    total += ai->CountFish(i, e->Param() ? e->Param() : "", host, highPowerFactor);
  }
  return total;
}

void X2FlockConfig::FillFlockNames(X2FlockSet* flocks) const {
  std::vector<const char*> keys;
  for (int i = 0; i < Count(); ++i) keys.push_back(Entry(i)->Name());
  flocks->SetEntries(keys);
}
