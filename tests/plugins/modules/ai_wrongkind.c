/* Three chained records; the second claims to be a fish-kind record. */
#include "TestModule.h"

static X2AIData gRecords[3] = {
    {.header = HEADER(X2_VERSION_AI, AI_NEXT, "KindFirst"), .capabilities = X2_AI_FLOCK},
    {.header = HEADER(X2_VERSION_FISH, AI_NEXT, "KindSecond"), .capabilities = X2_AI_FLOCK},
    {.header = HEADER(X2_VERSION_AI, 0, "KindThird"), .capabilities = X2_AI_FLOCK},
};

X2AIData* GetAIData(char* a, char* b) {
  (void)a; (void)b;
  return &gRecords[0];
}
