/* A nextOffset shorter than a record: the next one would overlap. */
#include "TestModule.h"

static X2AIData gRecords[2] = {
    {.header = HEADER(X2_VERSION_AI, 8, "Overlap1"), .capabilities = X2_AI_FLOCK},
    {.header = HEADER(X2_VERSION_AI, 0, "Overlap2"), .capabilities = X2_AI_FLOCK},
};

X2AIData* GetAIData(char* a, char* b) {
  (void)a; (void)b;
  return &gRecords[0];
}
