#include "X2FishList.h"

#include "fish/BuiltinFish.h"

X2FishList* TheFishList = nullptr;

X2FishList::X2FishList() {
  // The built-in species come first, without checks and without a library.
  int count = 0;
  const X2FishData* const* builtin = GetBuiltinSpecies(&count);
  for (int i = 0; builtin && i < count; ++i)
    if (builtin[i]) Append(&builtin[i]->header, nullptr);
  Scan();
}
