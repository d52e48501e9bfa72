/* Common part of the small plug-in libraries the list tests load. They are
   plain C without a runtime, so their images stay a few pages long and a
   record's nextOffset can point past the end of the image. */
#include "X2PluginAbi.h"

BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}

#define TEST_MAKER "QvTest"
#define AI_NEXT ((uint16_t)sizeof(X2AIData))
#define FISH_NEXT ((uint16_t)sizeof(X2FishData))
#define HEADER(version, next, name) {(version), (next), {0}, name, TEST_MAKER}
