#pragma once
// The seven species compiled into the program, in list order: マアジ, ブリ,
// マイワシ, マダイ, クロダイ, マダイ（青）, マダイ（黄）. The records are static
// data of the program and live until it ends.
#include "X2PluginAbi.h"

// The records and their number (7).
const X2FishData* const* GetBuiltinSpecies(int* count);
