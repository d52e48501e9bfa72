#pragma once
// The address range a loaded plug-in library occupies, taken from its PE
// headers, and bounds tests against it. Plug-in records and everything they
// point at are static data of the library, so anything outside this range is
// a corrupt record.
#include <windows.h>

#include <cstddef>
#include <cstdint>

class X2ModuleImage {
 public:
  X2ModuleImage() = default;
  X2ModuleImage(uintptr_t begin, size_t size) : begin_(begin), size_(size) {}

  // Reads SizeOfImage from the module's headers; false when they are not
  // those of a loaded image of this build's architecture.
  bool Attach(HMODULE module);

  uintptr_t Begin() const { return begin_; }
  size_t Size() const { return size_; }

  // [p, p + bytes) lies wholly inside the image (p non-null).
  bool Contains(const void* p, size_t bytes) const;
  // count elements of elementSize bytes, without overflow.
  bool ContainsArray(const void* p, size_t count, size_t elementSize) const;
  // A zero-terminated string inside the image, at most maxLength characters
  // before its terminator.
  bool ContainsString(const char* s, size_t maxLength) const;
  // A code or data address inside the image (functions of the library).
  bool ContainsAddress(const void* p) const { return Contains(p, 1); }

 private:
  uintptr_t begin_ = 0;
  size_t size_ = 0;
};
