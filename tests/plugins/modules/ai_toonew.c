/* An AI record of format version 2, newer than the program reads. */
#include "TestModule.h"

static X2AIData gRecord = {.header = HEADER(0x00010201, 0, "TooNew"), .capabilities = X2_AI_FLOCK};

X2AIData* GetAIData(char* a, char* b) {
  (void)a; (void)b;
  return &gRecord;
}
