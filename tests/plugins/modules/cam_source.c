/* Camera position AI only, with the per-entry flag. */
#include "TestModule.h"

static X2AIObject* CreateInstance(const char* param, X2HostCallbacks* host) {
  (void)param; (void)host;
  return 0;
}

static X2AIData gRecord = {.header = HEADER(X2_VERSION_AI, 0, "CamSource"),
                           .capabilities = X2_AI_CAMERA_SOURCE | X2_AI_CAMERA_FLAG,
                           .CreateInstance = CreateInstance};

X2AIData* GetAIData(char* a, char* b) {
  (void)a; (void)b;
  return &gRecord;
}
