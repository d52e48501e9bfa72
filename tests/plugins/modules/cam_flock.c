/* A flock AI in a camera file: listed in neither camera list. */
#include "TestModule.h"

static X2AIData gRecord = {.header = HEADER(X2_VERSION_AI, 0, "CamFlock"),
                           .capabilities = X2_AI_FLOCK};

X2AIData* GetAIData(char* a, char* b) {
  (void)a; (void)b;
  return &gRecord;
}
