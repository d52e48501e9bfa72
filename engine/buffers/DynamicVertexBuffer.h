#pragma once
// A vertex buffer that an object refills every frame: a dynamic, write-only
// buffer of the default pool, made when the device objects are restored and
// released when they are invalidated (a lost device takes it), with a copy of
// its vertices in memory that the object builds in its move and uploads
// whole, discarding the old contents, before it draws.
#include <d3d9.h>

#include <cstddef>
#include <vector>

class DynamicVertexBuffer {
 public:
  // owner: the module name its device results are checked under.
  explicit DynamicVertexBuffer(const char* owner) : owner_(owner) {}
  ~DynamicVertexBuffer() { Release(); }
  DynamicVertexBuffer(const DynamicVertexBuffer&) = delete;
  DynamicVertexBuffer& operator=(const DynamicVertexBuffer&) = delete;

  // Makes a buffer of `bytes` (any earlier one is released first) and a
  // copy of `floats` zeros; the result of the creation, checked.
  HRESULT Restore(IDirect3DDevice9* device, UINT bytes, size_t floats, DWORD fvf = 0);
  // Releases the buffer and frees the copy.
  void Release();

  // Writes the first `bytes` of `data` (of the copy when null) into the
  // buffer; the result of the lock, checked.
  HRESULT Upload(size_t bytes, const void* data = nullptr);

  IDirect3DVertexBuffer9* Buffer() const { return buffer_; }
  float* Vertices() { return vertices_.data(); }
  size_t Floats() const { return vertices_.size(); }

 private:
  const char* owner_;
  IDirect3DVertexBuffer9* buffer_ = nullptr;
  UINT bytes_ = 0;
  std::vector<float> vertices_;
};
