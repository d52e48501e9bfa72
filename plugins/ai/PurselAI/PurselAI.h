#pragma once
// The formation flock AI's record and entry points.
#include "FlockBuilder.h"
#include "X2PluginAbi.h"

// The one static record of the library.
X2AIData* PurselRecord();

// Row collections of every flock built so far; released at unload.
FlockRowList& PurselRowCollections();
void ReleasePurselRowCollections();

// The controller of the flock built last (null before the first).
C4FlockController* PurselCurrentController();
