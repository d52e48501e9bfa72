#include "WorldPasses.h"

#include <cstdlib>
#include <cstring>

#include "C3Camera.h"
#include "servers/StaticTables.h"

bool IsNameRenderDisabled(const char* text, const char* name) {
  if (!text || !name || !*text || !*name) return false;
  const char* hit = std::strstr(text, name);
  if (!hit) return false;
  char after = hit[std::strlen(name)];
  return after == '\0' || after == ' ' || after == ',';
}

int EyeForView(bool swapped, int view) { return (swapped != (view != 0)) ? kEyeRight : kEyeLeft; }

FirstPassRoute RouteFirstPass(const C3Object& o, bool disabled, bool hiddenRider, bool debugRun) {
  if (disabled || o.farCulled) return FirstPassRoute::kSkip;
  if (!o.HasFlag(kObjAlwaysVisible) && o.HasFlag(kObjCulled)) return FirstPassRoute::kSkip;
  if (hiddenRider) return FirstPassRoute::kSkip;
  if (o.HasFlag(kObjSorted)) return FirstPassRoute::kSorted;
  if (o.HasFlag(kObjLate)) return FirstPassRoute::kLate;
  if (o.HasFlag(kObjDebugOnly) && !debugRun) return FirstPassRoute::kSkip;
  return FirstPassRoute::kDrawNow;
}

bool DrawInListPass(const C3Object& o, bool disabled, bool hiddenRider, bool debugRun) {
  if (disabled || hiddenRider) return false;
  return !(o.HasFlag(kObjDebugOnly) && !debugRun);
}

int CompareDrawDepth(const void* a, const void* b) {
  const C3Object* x = *static_cast<C3Object* const*>(a);
  const C3Object* y = *static_cast<C3Object* const*>(b);
  float kx = x->cameraDistance + x->sortBias;
  float ky = y->cameraDistance + y->sortBias;
  if (kx > ky) return -1;
  if (kx < ky) return 1;
  return 0;
}

void SortByDrawDepth(C3Object** items, int count) {
  if (items && count > 1) std::qsort(items, count, sizeof(C3Object*), CompareDrawDepth);
}

D3DCOLOR FogClearColor(const D3DXVECTOR4& c) { return PackFogColor(static_cast<const float*>(c)); }
