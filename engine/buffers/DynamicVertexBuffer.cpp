#include "DynamicVertexBuffer.h"

#include <cstring>

#include "diagnostics/Diagnostics.h"
#include "util/ComRelease.h"

#define DYNAMIC_VB_CHECK(code) FatalCheck(owner_, __LINE__, __TIME__, (code))

HRESULT DynamicVertexBuffer::Restore(IDirect3DDevice9* device, UINT bytes, size_t floats, DWORD fvf) {
  // A second restore without an invalidation must not leak the first buffer.
  Release();
  if (!device) return 0;
  const HRESULT hr = DYNAMIC_VB_CHECK(
      device->CreateVertexBuffer(bytes, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, fvf, D3DPOOL_DEFAULT, &buffer_, nullptr));
  if (hr != 0) return hr;
  bytes_ = bytes;
  vertices_.assign(floats, 0.0f);
  return 0;
}

void DynamicVertexBuffer::Release() {
  SafeRelease(buffer_);
  bytes_ = 0;
  vertices_.clear();
  vertices_.shrink_to_fit();
}

HRESULT DynamicVertexBuffer::Upload(size_t bytes, const void* data) {
  if (!buffer_) return 0;
  if (!data) {
    data = vertices_.data();
    if (bytes > vertices_.size() * sizeof(float)) bytes = vertices_.size() * sizeof(float);
  }
  if (bytes > bytes_) bytes = bytes_;
  void* out = nullptr;
  const HRESULT hr = DYNAMIC_VB_CHECK(buffer_->Lock(0, 0, &out, D3DLOCK_DISCARD));
  if (hr != 0) return hr;
  if (bytes) std::memcpy(out, data, bytes);
  return DYNAMIC_VB_CHECK(buffer_->Unlock());
}
