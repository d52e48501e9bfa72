#pragma once
// Every species plug-in defines its one static record; the shared export
// (ModelExport.cpp) hands it to the program.
#include "X2PluginAbi.h"

X2FishData* SpeciesRecord();
