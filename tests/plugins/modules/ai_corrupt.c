/* A damaged chain: a good record, one whose name fills its whole field
   without a terminator, a good one, and then a nextOffset that leads out of
   the image. */
#include "TestModule.h"

#define X10 "xxxxxxxxxx"
#define X50 X10 X10 X10 X10 X10
#define X260 X50 X50 X50 X50 X50 X10  /* exactly the field: no terminator */

static X2AIData gRecords[3] = {
    {.header = HEADER(X2_VERSION_AI, AI_NEXT, "Intact1"), .capabilities = X2_AI_FLOCK},
    {.header = HEADER(X2_VERSION_AI, AI_NEXT, X260), .capabilities = X2_AI_FLOCK},
    {.header = HEADER(X2_VERSION_AI, 0xFFF0, "Intact2"), .capabilities = X2_AI_FLOCK},
};

X2AIData* GetAIData(char* a, char* b) {
  (void)a; (void)b;
  return &gRecords[0];
}
