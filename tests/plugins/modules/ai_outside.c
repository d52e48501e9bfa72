/* The export hands back an address far beyond the library's image. */
#include "TestModule.h"

static X2AIData gRecord = {.header = HEADER(X2_VERSION_AI, 0, "Outside"), .capabilities = X2_AI_FLOCK};

X2AIData* GetAIData(char* a, char* b) {
  (void)a; (void)b;
  return (X2AIData*)((uintptr_t)&gRecord + 0x1000000);
}
