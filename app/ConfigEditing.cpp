#include "ConfigEditing.h"

#include <cstdio>
#include <cstring>

#include "Settings.h"
#include "config/X2CameraConfig.h"
#include "config/X2CoralConfig.h"
#include "config/X2FlockConfig.h"
#include "config/X2StructureConfig.h"
#include "diagnostics/Diagnostics.h"
#include "pluginlists/X2PluginKey.h"

std::string RecordKeyOf(const X2RecordHeader* header) {
  if (!header) return "";
  // The plug-in lists build their keys in a buffer of this size too, so a
  // key made here always finds its record.
  char key[X2_NAME_SIZE];
  X2BuildKey(header, key, sizeof key);
  return key;
}

std::string RecordNameOf(const X2RecordHeader* header) {
  if (!header) return "";
  return std::string(header->name, strnlen(header->name, sizeof header->name));
}

bool SameKey(const char* a, const char* b) {
  return X2LowerKey(std::string(a ? a : "")) == X2LowerKey(std::string(b ? b : ""));
}

AIOffer OfferFlockAIs(const X2RecordList<X2AIData>& ais, const X2FishData* fish, const char* preferred,
                      const char* fallback) {
  AIOffer offer;
  if (fish && (fish->flags & X2_FISH_AI_RESTRICTED)) {
    const int only = fish->defaultAI ? ais.Find(fish->defaultAI) : -1;
    if (only >= 0) {
      offer.aiIndexes.push_back(only);
      offer.selected = 0;
    }
    return offer;
  }
  const std::string fishKey = fish ? RecordKeyOf(&fish->header) : "";
  for (int i = 0; i < ais.Count(); ++i) {
    const X2AIData* ai = ais.Get(i);
    if (!ai) continue;
    if ((ai->capabilities & X2_AI_DEDICATED) &&
        (!fish || !ai->dedicatedFish || !SameKey(ai->dedicatedFish, fishKey.c_str())))
      continue;
    offer.aiIndexes.push_back(i);
  }
  for (const char* key : {preferred, fallback}) {
    if (!key || !*key) continue;
    for (size_t k = 0; k < offer.aiIndexes.size(); ++k) {
      if (SameKey(RecordKeyOf(&ais.Get(offer.aiIndexes[k])->header).c_str(), key)) {
        offer.selected = static_cast<int>(k);
        return offer;
      }
    }
  }
  return offer;
}

std::string FlockRowText(int row, const X2ConfigEntry& entry) {
  char text[1200];
  if (!entry.Name() || !*entry.Name())
    snprintf(text, sizeof text, "%d", row);
  else
    snprintf(text, sizeof text, "%d\t%s\t%s\t%s", row, entry.DisplayName().c_str(),
             entry.AIDisplayName().c_str(), entry.Param() ? entry.Param() : "");
  return text;
}

std::string CameraRowText(int row, const X2ConfigEntry& entry) {
  char text[1200];
  if (!entry.AI() || !*entry.AI())
    snprintf(text, sizeof text, "%d", row);
  else
    snprintf(text, sizeof text, "%d\t%s\t%s", row, entry.AIDisplayName().c_str(),
             entry.Param() ? entry.Param() : "");
  return text;
}

std::string EnableRowText(const X2ConfigEntry& entry) {
  return std::string(entry.enable ? "On" : "Off") + "\t" + entry.DisplayName();
}

std::string TotalFishText(int total) {
  char text[32];
  snprintf(text, sizeof text, "TOTAL Fish:%d", total);
  return text;
}

int RowAfterDelete(int deleted, int remaining) {
  if (remaining <= 0) return -1;
  if (deleted < 0) return 0;
  return deleted < remaining ? deleted : remaining - 1;
}

std::string DefaultParam(const X2AIData* ai, X2HostCallbacks* host, int highPowerFactor) {
  if (!ai || !ai->GetDefaultParam) return "";
  char buffer[kParamEditSize] = "";
  ai->GetDefaultParam(0, buffer, sizeof buffer, host, highPowerFactor);
  buffer[sizeof buffer - 1] = '\0';
  return buffer;
}

bool ChooseEntryAI(X2ConfigEntry* entry, const X2AIData* ai, bool withDefault, X2HostCallbacks* host,
                   int highPowerFactor) {
  if (!entry || !ai) return false;
  const std::string key = RecordKeyOf(&ai->header);
  if (SameKey(entry->AI(), key.c_str())) return false;
  LogPrint("AI Truely Changed\n");
  entry->SetAI(key.c_str());
  entry->SetParam(withDefault ? DefaultParam(ai, host, highPowerFactor).c_str() : "");
  return true;
}

bool EditEntryParam(X2ConfigEntry* entry, const X2AIData* ai, HMODULE module, int row, X2HostCallbacks* host,
                    int lastArgument) {
  if (!entry || !ai || !ai->Configure) return false;
  char buffer[kParamEditSize] = "";
  if (entry->Param()) strncpy(buffer, entry->Param(), sizeof buffer - 1);
  const int result = ai->Configure(module, row, buffer, sizeof buffer, host, lastArgument);
  LogPrint("-RetVal %d\n", result);
  if (result != 1) return false;
  buffer[sizeof buffer - 1] = '\0';
  LogPrint("Editted Parameter:%s\n", buffer);
  entry->SetParam(buffer);
  return true;
}

int AddFlockEntry(X2FlockConfig* config, const X2FishData* fish, const X2AIData* ai, X2HostCallbacks* host) {
  if (!config) return -1;
  if (!fish || !ai) {
    LogPrint("FlockConfig: no %s to add a flock with\n", fish ? "AI" : "fish");
    return -1;
  }
  const std::string param = DefaultParam(ai, host, config->highPowerFactor);
  return config->AddFlock(RecordKeyOf(&fish->header).c_str(), RecordKeyOf(&ai->header).c_str(), param.c_str());
}

int AddCameraEntry(X2CameraConfig* config, const X2AIData* ai) {
  if (!config) return -1;
  if (!ai) {
    LogPrint("CameraConfig: no AI to add a camera with\n");
    return -1;
  }
  return config->AddCamera(RecordKeyOf(&ai->header).c_str(), "");
}

namespace {

template <class List>
void LoadPresetList(List* list, int preset, const char* file) {
  if (!list) return;
  char name[MAX_PATH];
  snprintf(name, sizeof name, "\\preset\\%d\\%s", preset, file);
  if (!list->Load(name)) LogPrint("KWEX flockconfig\n");
}

}  // namespace

bool LoadPreset(int preset) {
  if (preset < 1 || preset > 3) return false;
  std::string folder = GetProgramFolder();
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
  folder += "preset\\" + std::to_string(preset);
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    LogPrint("Preset %d not installed (%s); nothing loaded\n", preset, folder.c_str());
    return false;
  }
  LoadSettings(preset);
  LoadPresetList(TheStructureConfig, preset, "StructureConfig.ini");
  LoadPresetList(TheFlockConfig, preset, "FlockConfig.ini");
  LoadPresetList(TheCoralConfig, preset, "CoralConfig.ini");
  LoadPresetList(TheSourceCameraConfig, preset, "CameraConfig.ini");
  LoadPresetList(TheTargetCameraConfig, preset, "CameraConfig.ini");
  return true;
}
