/* Camera AI for both lists; its chained second record is never read. */
#include "TestModule.h"

static X2AIObject* CreateInstance(const char* param, X2HostCallbacks* host) {
  (void)param; (void)host;
  return 0;
}

static X2AIData gRecords[2] = {
    {.header = HEADER(X2_VERSION_AI, AI_NEXT, "カメラ両方"),
     .capabilities = X2_AI_CAMERA_SOURCE | X2_AI_CAMERA_TARGET, .CreateInstance = CreateInstance},
    {.header = HEADER(X2_VERSION_AI, 0, "CamChained"), .capabilities = X2_AI_CAMERA_TARGET,
     .CreateInstance = CreateInstance},
};

X2AIData* GetAIData(char* a, char* b) {
  (void)a; (void)b;
  return &gRecords[0];
}
