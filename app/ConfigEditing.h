#pragma once
// The editing rules of the settings dialog's flock and camera pages, apart
// from their windows: which AIs are offered for a fish, the list rows, the
// reselection after a delete, and the entry edits that call into the AI
// plug-ins (default parameters, the plug-in's own parameter dialog).
#include <windows.h>

#include <string>
#include <vector>

#include "config/X2ConfigEntry.h"
#include "pluginlists/X2RecordList.h"

class X2CameraConfig;
class X2FlockConfig;

// The parameter buffer handed to an AI's Configure and GetDefaultParam.
constexpr int kParamEditSize = 520;

// A record's key: name, "_", maker, lower-cased (as the plug-in lists
// compare keys).
std::string RecordKeyOf(const X2RecordHeader* header);
// A record's display name (its name field, bounded).
std::string RecordNameOf(const X2RecordHeader* header);
// Keys compared without regard to the case of ASCII letters; null is "".
bool SameKey(const char* a, const char* b);

// The AIs the flock page offers for a fish: positions in the AI list, in
// list order, and the position in `aiIndexes` that is preselected (-1 none).
struct AIOffer {
  std::vector<int> aiIndexes;
  int selected = -1;
};

// A fish restricted to its AI (flag 0x2) is offered exactly its default AI,
// preselected (nothing when that AI is not installed). Any other fish, and
// no fish at all, is offered every AI except the dedicated ones (0x40) that
// serve another fish. The preselection is the AI whose key is `preferred`,
// else the one whose key is `fallback`, else none.
AIOffer OfferFlockAIs(const X2RecordList<X2AIData>& ais, const X2FishData* fish,
                      const char* preferred, const char* fallback);

// List rows: "%d\t%s\t%s\t%s" (row, fish, AI, parameter) for a flock, "%d"
// when it has no fish; "%d\t%s\t%s" (row, AI, parameter) for a camera, "%d"
// without an AI; "On\t%s" / "Off\t%s" for coral and structures.
std::string FlockRowText(int row, const X2ConfigEntry& entry);
std::string CameraRowText(int row, const X2ConfigEntry& entry);
std::string EnableRowText(const X2ConfigEntry& entry);
std::string TotalFishText(int total);

// The row to select after row `deleted` was removed and `remaining` rows are
// left: the same row, the one before when the last was deleted, -1 for an
// empty list.
int RowAfterDelete(int deleted, int remaining);

// The AI's default parameter string; "" without GetDefaultParam.
std::string DefaultParam(const X2AIData* ai, X2HostCallbacks* host, int highPowerFactor);

// Makes `ai` the entry's AI unless the entry has it already (keys compared
// without regard to case). The parameter then starts afresh: the AI's
// default (withDefault, the flock page) or empty (the camera page). Returns
// whether the entry changed; nothing happens without an entry or an AI.
bool ChooseEntryAI(X2ConfigEntry* entry, const X2AIData* ai, bool withDefault, X2HostCallbacks* host,
                   int highPowerFactor);

// The parameter button: the AI's Configure edits a copy of the entry's
// parameter; only a result of 1 stores it. False (entry unchanged) without
// an entry, an AI or its Configure.
bool EditEntryParam(X2ConfigEntry* entry, const X2AIData* ai, HMODULE module, int row, X2HostCallbacks* host,
                    int lastArgument);

// A new flock of `fish` with `ai` and the AI's default parameter; a new
// camera entry of `ai` with an empty parameter. The new index, or -1 when
// the list is full or the fish or AI is missing (nothing added).
int AddFlockEntry(X2FlockConfig* config, const X2FishData* fish, const X2AIData* ai, X2HostCallbacks* host);
int AddCameraEntry(X2CameraConfig* config, const X2AIData* ai);

// Loads preset 1..3 into the settings tables and the five configuration
// lists (the globals), from the preset copies in the program folder.
// Nothing changes, and false is returned, when the preset is not installed.
bool LoadPreset(int preset);
