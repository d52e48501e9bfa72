#include "C3ArrayList.h"

#include <cstring>
#include <new>

C3ArrayList::C3ArrayList(int kind, UINT elementSize)
    : kind_(kind == ByReference ? ByReference : ByValue),
      elementSize_(kind == ByReference ? static_cast<UINT>(sizeof(void*)) : elementSize) {}

C3ArrayList::~C3ArrayList() { delete[] items_; }

HRESULT C3ArrayList::Add(const void* item) {
  if (elementSize_ == 0) return E_FAIL;
  if (kind_ == ByValue && item == nullptr) return E_FAIL;
  if (items_ == nullptr || count_ >= capacity_) {
    UINT newCapacity = capacity_ == 0 ? 16 : capacity_ * 2;
    if (newCapacity < capacity_ || newCapacity > 0xFFFFFFFFu / elementSize_) return E_OUTOFMEMORY;
    unsigned char* grown = new (std::nothrow) unsigned char[size_t(newCapacity) * elementSize_];
    if (grown == nullptr) return E_OUTOFMEMORY;
    if (items_ != nullptr && count_ > 0) std::memcpy(grown, items_, size_t(count_) * elementSize_);
    delete[] items_;
    items_ = grown;
    capacity_ = newCapacity;
  }
  unsigned char* slot = items_ + size_t(count_) * elementSize_;
  if (kind_ == ByReference) {
    std::memcpy(slot, &item, sizeof(void*));
  } else {
    std::memcpy(slot, item, elementSize_);
  }
  ++count_;
  return S_OK;
}

void* C3ArrayList::GetPtr(UINT i) const {
  if (items_ == nullptr) return nullptr;
  unsigned char* slot = items_ + size_t(i) * elementSize_;
  if (kind_ == ByReference) {
    void* stored;
    std::memcpy(&stored, slot, sizeof(void*));
    return stored;
  }
  return slot;
}

bool C3ArrayList::Contains(const void* item) const {
  for (UINT i = 0; i < count_; ++i) {
    const unsigned char* slot = items_ + size_t(i) * elementSize_;
    if (kind_ == ByReference) {
      void* stored;
      std::memcpy(&stored, slot, sizeof(void*));
      if (stored == item) return true;
    } else if (item != nullptr && std::memcmp(slot, item, elementSize_) == 0) {
      return true;
    }
  }
  return false;
}

void C3ArrayList::RemoveAll() {
  delete[] items_;
  items_ = nullptr;
  count_ = 0;
  capacity_ = 0;
}
