// The library's export.
#include <windows.h>

#include "ForelensAI.h"

extern "C" X2AIData* X2_CDECL GetAIData(char*, char*) { return ForelensRecord(); }
