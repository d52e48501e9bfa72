// GetFishData of a species plug-in, exported under its decorated name by
// Model.def.
#include "ModelRecord.h"

extern "C" X2FishData* X2_CDECL GetFishData(const char*, const char*) { return SpeciesRecord(); }
