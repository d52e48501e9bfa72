#include "StripBuilder.h"

#include <vector>

#include "C8Stripifier.h"

namespace {

int g_stripCacheSize = 16;

}  // namespace

void SetStripCacheSize(int cacheSize) { g_stripCacheSize = cacheSize; }

int GetStripCacheSize() { return g_stripCacheSize; }

void GenerateStrips(const unsigned short* indices, unsigned int indexCount,
                    C8PrimitiveGroup** groups, unsigned short* groupCount) {
  std::vector<int> list;
  if (indices) list.assign(indices, indices + indexCount);

  std::vector<int> strip;
  {
    C8Stripifier stripifier(g_stripCacheSize);
    strip = stripifier.MakeStrip(list);
  }

  C8PrimitiveGroup* group = new C8PrimitiveGroup[1];
  group->type = C8PrimitiveGroup::kTypeStrip;
  group->indexCount = static_cast<unsigned int>(strip.size());
  if (!strip.empty()) {
    group->indices = new unsigned short[strip.size()];
    for (size_t k = 0; k < strip.size(); ++k) {
      group->indices[k] = static_cast<unsigned short>(strip[k]);
    }
  }
  *groups = group;
  *groupCount = 1;
}
