#pragma once
// The camera look-at AI's record and entry points.
#include "X2PluginAbi.h"

X2AIData* ForelensRecord();
