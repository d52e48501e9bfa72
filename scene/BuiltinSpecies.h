#pragma once
// The seven fish species compiled into the program. The fish list appends
// them, in this order, before any species plug-in.
#include "X2PluginAbi.h"

// The records, valid for the whole run; *count receives 7 (count may be null).
const X2FishData* const* GetBuiltinSpecies(int* count);
