#pragma once
// Release helpers for the COM pointers the engine's classes hold.
#include <memory>

// Releases a held pointer and forgets it.
template <class T>
void SafeRelease(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

// A held pointer released at the end of a scope.
template <class T>
struct ComRelease {
  void operator()(T* p) const {
    if (p) p->Release();
  }
};
template <class T>
using ComPtr = std::unique_ptr<T, ComRelease<T>>;
