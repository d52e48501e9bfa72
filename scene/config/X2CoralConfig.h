#pragma once
// CoralConfig.ini: which coral species of the coral list are shown.
#include "X2EnableConfig.h"

class X2CoralConfig : public X2EnableConfig {
 protected:
  const X2PluginList* Records() const override;
};

extern X2CoralConfig* TheCoralConfig;
