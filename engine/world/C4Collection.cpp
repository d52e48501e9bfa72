#include "C4Collection.h"

#include <algorithm>

C4Collection::C4Collection(int initialCapacity, int step)
    : capacity(std::max(0, initialCapacity)), growStep(step > 0 ? step : 10) {
  SetClassName("C4Collection");
  items = new C3Object*[capacity]();
}

C4Collection::~C4Collection() {
  delete[] items;
  items = nullptr;
  count = 0;
}

HRESULT C4Collection::DeleteDeviceObjects() { return Clear(); }
HRESULT C4Collection::FinalCleanUp() { return Clear(); }

void C4Collection::Add(C3Object* object) {
  if (!items) {
    if (capacity <= 0) capacity = growStep;
    items = new C3Object*[capacity]();
    count = 0;
  }
  if (count >= capacity) {
    // At least the grow step, and half the capacity once that is larger, so
    // that filling a long list (tens of thousands of fish) copies it a few
    // dozen times rather than thousands.
    const int grow = std::max(growStep, capacity / 2);
    C3Object** grown = new C3Object*[capacity + grow]();
    std::copy(items, items + capacity, grown);
    capacity += grow;
    delete[] items;
    items = grown;
  }
  items[count++] = object;
}

HRESULT C4Collection::Clear() {
  delete[] items;
  items = nullptr;
  count = 0;
  return 0;
}

void C4Collection::ClearKeepStorage() {
  if (items) std::fill(items, items + capacity, nullptr);
  count = 0;
}

bool C4Collection::Contains(const C3Object* object) const {
  for (int i = 0; i < count; ++i)
    if (items[i] == object) return true;
  return false;
}
