// The library's export and its unload hook.
#include <windows.h>

#include "PurselAI.h"

extern "C" X2AIData* X2_CDECL GetAIData(char*, char*) { return PurselRecord(); }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) ReleasePurselRowCollections();
  return TRUE;
}
