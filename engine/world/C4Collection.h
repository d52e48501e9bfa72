#pragma once
// The scene's growable list of object pointers. It never owns or deletes the
// objects it points to; users walk items[0 .. count - 1] directly.
#include "C3Object.h"

class C4Collection : public C3Object {
 public:
  C4Collection(int initialCapacity = 10, int growStep = 10);
  ~C4Collection() override;

  HRESULT DeleteDeviceObjects() override;
  HRESULT FinalCleanUp() override;

  // Appends; when full grows by the grow step or by half the capacity,
  // whichever is larger. After Clear the storage is
  // made again with the old capacity (or one grow step when that was 0).
  void Add(C3Object* object);
  // Releases the storage and empties the list; returns 0.
  HRESULT Clear();
  // Empties the list but keeps the storage (per-frame lists).
  void ClearKeepStorage();
  bool Contains(const C3Object* object) const;

  int capacity;
  int growStep;
  C3Object** items = nullptr;
  int count = 0;
};
