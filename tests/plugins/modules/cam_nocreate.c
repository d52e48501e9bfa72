/* A camera position AI without CreateInstance. */
#include "TestModule.h"

static X2AIData gRecord = {.header = HEADER(X2_VERSION_AI, 0, "CamNoCreate"),
                           .capabilities = X2_AI_CAMERA_SOURCE};

X2AIData* GetAIData(char* a, char* b) {
  (void)a; (void)b;
  return &gRecord;
}
