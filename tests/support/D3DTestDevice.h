#pragma once
// A real window and Direct3D 9 device for rendering tests, with back-buffer
// read-back. Under Wine on Xvfb this is a HAL device on Mesa's software GL.
#include <d3d9.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qvtest {

class D3DTestDevice {
 public:
  D3DTestDevice() = default;
  ~D3DTestDevice();
  D3DTestDevice(const D3DTestDevice&) = delete;
  D3DTestDevice& operator=(const D3DTestDevice&) = delete;

  // Creates a visible window of the given client size and a windowed device
  // with a D3DFMT_D24S8 depth buffer. Returns false (with Error()) on failure.
  bool Create(int width, int height);
  void Release();

  IDirect3DDevice9* Device() const { return device_; }
  IDirect3D9* D3D() const { return d3d_; }
  HWND Window() const { return window_; }
  const D3DPRESENT_PARAMETERS& Params() const { return params_; }
  const std::string& Error() const { return error_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Resets the device with its own parameters (the reset road objects see).
  HRESULT Reset();

  // The back buffer as 0xAARRGGBB pixels, row by row from the top.
  std::vector<uint32_t> ReadBackBuffer();
  // Any render-target surface of the device's back-buffer format.
  std::vector<uint32_t> ReadSurface(IDirect3DSurface9* surface, int* width = nullptr,
                                    int* height = nullptr);

 private:
  IDirect3D9* d3d_ = nullptr;
  IDirect3DDevice9* device_ = nullptr;
  HWND window_ = nullptr;
  D3DPRESENT_PARAMETERS params_{};
  int width_ = 0;
  int height_ = 0;
  std::string error_;
};

// The device's reference count: a test that takes it before and after shows
// that everything made on the device was released.
inline ULONG DeviceReferences(IDirect3DDevice9* d) {
  d->AddRef();
  return d->Release();
}

// Pixel helpers for checks on read-back images.
inline int Red(uint32_t p) { return (p >> 16) & 0xFF; }
inline int Green(uint32_t p) { return (p >> 8) & 0xFF; }
inline int Blue(uint32_t p) { return p & 0xFF; }

}  // namespace qvtest
