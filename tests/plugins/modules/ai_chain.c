/* Three chained flock AI records; the second name holds ア (0x83 0x41),
   whose trail byte looks like a capital A. */
#include "TestModule.h"

static int CountFish(int flock, const char* param, X2HostCallbacks* host, int factor) {
  (void)flock; (void)param; (void)host; (void)factor;
  return 12;
}

static X2AIData gRecords[3] = {
    {.header = HEADER(X2_VERSION_AI, AI_NEXT, "ダイバーAI"), .capabilities = X2_AI_FLOCK,
     .CountFish = CountFish},
    {.header = HEADER(X2_VERSION_AI, AI_NEXT, "アBC"), .capabilities = X2_AI_FLOCK},
    {.header = HEADER(X2_VERSION_AI, 0, "Third"), .capabilities = X2_AI_FLOCK | X2_AI_DEDICATED,
     .dedicatedFish = "マアジ_ハルベノルソフト"},
};

X2AIData* GetAIData(char* a, char* b) {
  (void)a; (void)b;
  return &gRecords[0];
}
