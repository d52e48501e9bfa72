#pragma once
// StructureConfig.ini: which structures of the structure list are shown, and
// their placement in the scene.
#include "X2EnableConfig.h"

class X2StructureConfig : public X2EnableConfig {
 protected:
  const X2PluginList* Records() const override;
};

extern X2StructureConfig* TheStructureConfig;
