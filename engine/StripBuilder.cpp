#include "StripBuilder.h"

namespace {

int g_stripCacheSize = 16;

}  // namespace

void SetStripCacheSize(int cacheSize) { g_stripCacheSize = cacheSize; }

int GetStripCacheSize() { return g_stripCacheSize; }

void GenerateStrips(const unsigned short* indices, unsigned int indexCount,
                    C8PrimitiveGroup** groups, unsigned short* groupCount) {
  (void)indices;
  (void)indexCount;
  *groups = new C8PrimitiveGroup[1];
  *groupCount = 1;
}
