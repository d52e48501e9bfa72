#include "X2ModuleImage.h"

bool X2ModuleImage::Attach(HMODULE module) {
  begin_ = 0;
  size_ = 0;
  if (!module) return false;
  const auto* base = reinterpret_cast<const unsigned char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
  // The NT headers follow within the first page of a mapped image.
  if (dos->e_lfanew < static_cast<LONG>(sizeof(IMAGE_DOS_HEADER)) ||
      dos->e_lfanew > 4096 - static_cast<LONG>(sizeof(IMAGE_NT_HEADERS)))
    return false;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return false;
  if (nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC) return false;
  size_t size = nt->OptionalHeader.SizeOfImage;
  if (size < static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS)) return false;
  begin_ = reinterpret_cast<uintptr_t>(module);
  size_ = size;
  return true;
}

bool X2ModuleImage::Contains(const void* p, size_t bytes) const {
  uintptr_t a = reinterpret_cast<uintptr_t>(p);
  if (!p || a < begin_) return false;
  uintptr_t offset = a - begin_;
  return offset <= size_ && bytes <= size_ - offset;
}

bool X2ModuleImage::ContainsArray(const void* p, size_t count, size_t elementSize) const {
  if (elementSize != 0 && count > size_ / elementSize) return false;
  return Contains(p, count * elementSize);
}

bool X2ModuleImage::ContainsString(const char* s, size_t maxLength) const {
  if (!Contains(s, 1)) return false;
  uintptr_t offset = reinterpret_cast<uintptr_t>(s) - begin_;
  size_t room = size_ - offset;
  size_t limit = maxLength + 1 < room ? maxLength + 1 : room;
  for (size_t i = 0; i < limit; ++i)
    if (s[i] == '\0') return true;
  return false;
}
