#pragma once
// Growable array used by the device enumeration and the engine frame. It
// holds either copies of fixed-size elements (by value) or pointers (by
// reference). The list owns its storage only; items referenced by pointer
// belong to whoever added them.
#include <windows.h>

class C3ArrayList {
 public:
  enum Kind { ByValue = 0, ByReference = 1 };

  // elementSize is ignored by reference (a pointer is stored). A by-value
  // list with element size 0 refuses every Add.
  C3ArrayList(int kind, UINT elementSize = 0);
  ~C3ArrayList();
  C3ArrayList(const C3ArrayList&) = delete;
  C3ArrayList& operator=(const C3ArrayList&) = delete;

  // By reference stores the pointer, by value copies ElementSize() bytes
  // from item. The capacity becomes 16 on the first add and doubles when
  // full. E_FAIL for element size 0 (or a null by-value item),
  // E_OUTOFMEMORY when growing fails (the list is left as it was).
  HRESULT Add(const void* item);

  // By reference the stored pointer, by value the address of element i.
  // Callers keep i below Count().
  void* GetPtr(UINT i) const;
  template <typename T>
  T* Get(UINT i) const { return static_cast<T*>(GetPtr(i)); }
  // Bounds-checked reads: the item (by reference) or null, and the value
  // (by value) or the fallback, when i is not below Count().
  template <typename T>
  T* At(UINT i) const { return i < count_ ? Get<T>(i) : nullptr; }
  template <typename T>
  T ValueAt(UINT i, T fallback) const { return i < count_ ? *Get<T>(i) : fallback; }

  // By reference pointer equality, by value byte equality.
  bool Contains(const void* item) const;

  // Forgets every item and frees the storage (referenced items untouched).
  void RemoveAll();

  int  GetKind() const { return kind_; }
  UINT ElementSize() const { return elementSize_; }
  UINT Count() const { return count_; }
  UINT Capacity() const { return capacity_; }

 private:
  int kind_;
  UINT elementSize_;
  unsigned char* items_ = nullptr;
  UINT count_ = 0;
  UINT capacity_ = 0;
};
