#include "X2StructureConfig.h"

#include "X2StructureList.h"

X2StructureConfig* TheStructureConfig = nullptr;

const X2PluginList* X2StructureConfig::Records() const { return TheStructureList; }
