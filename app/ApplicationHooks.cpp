#include "ApplicationHooks.h"

void GetWindowNames(const char** title, const char** className) {
  // Engine defaults until the product names its window.
  *title = "Velmire WS1";
  *className = "Velmire_WS1_CLASS";
}

void RestoreRenderStates() {
  // Engine defaults: the device's own render states.
}
