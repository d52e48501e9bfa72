#include "X2CoralConfig.h"

#include "pluginlists/X2CoralList.h"

X2CoralConfig* TheCoralConfig = nullptr;

const X2PluginList* X2CoralConfig::Records() const { return TheCoralList; }
