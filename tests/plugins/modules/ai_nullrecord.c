/* The export hands back nothing. */
#include "TestModule.h"

X2AIData* GetAIData(char* a, char* b) {
  (void)a; (void)b;
  return 0;
}
