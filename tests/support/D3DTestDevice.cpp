#include "D3DTestDevice.h"

#include <cstdio>

namespace qvtest {

namespace {

const char kWindowClass[] = "QvTestDeviceWindow";

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void RegisterTestClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = TestWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  RegisterClassA(&wc);
  done = true;
}

}  // namespace

D3DTestDevice::~D3DTestDevice() { Release(); }

void D3DTestDevice::Release() {
  if (device_) device_->Release();
  device_ = nullptr;
  if (d3d_) d3d_->Release();
  d3d_ = nullptr;
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
}

bool D3DTestDevice::Create(int width, int height) {
  Release();
  width_ = width;
  height_ = height;
  RegisterTestClass();
  RECT rc{0, 0, width, height};
  AdjustWindowRect(&rc, WS_OVERLAPPEDWINDOW, FALSE);
  window_ = CreateWindowA(kWindowClass, "qv test device", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                          rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  if (!window_) {
    error_ = "CreateWindow failed";
    return false;
  }
  d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
  if (!d3d_) {
    error_ = "Direct3DCreate9 failed";
    return false;
  }
  params_ = D3DPRESENT_PARAMETERS{};
  params_.BackBufferWidth = width;
  params_.BackBufferHeight = height;
  params_.BackBufferFormat = D3DFMT_X8R8G8B8;
  params_.BackBufferCount = 1;
  params_.SwapEffect = D3DSWAPEFFECT_DISCARD;
  params_.hDeviceWindow = window_;
  params_.Windowed = TRUE;
  params_.EnableAutoDepthStencil = TRUE;
  params_.AutoDepthStencilFormat = D3DFMT_D24S8;
  params_.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  HRESULT hr = d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_,
                                  D3DCREATE_HARDWARE_VERTEXPROCESSING, &params_, &device_);
  if (FAILED(hr))
    hr = d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_,
                            D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params_, &device_);
  if (FAILED(hr)) {
    char text[64];
    snprintf(text, sizeof text, "CreateDevice failed: 0x%08lX", static_cast<unsigned long>(hr));
    error_ = text;
    return false;
  }
  return true;
}

HRESULT D3DTestDevice::Reset() {
  if (!device_) return E_FAIL;
  D3DPRESENT_PARAMETERS p = params_;
  return device_->Reset(&p);
}

std::vector<uint32_t> D3DTestDevice::ReadSurface(IDirect3DSurface9* surface, int* width,
                                                 int* height) {
  std::vector<uint32_t> pixels;
  if (!device_ || !surface) return pixels;
  D3DSURFACE_DESC desc;
  if (FAILED(surface->GetDesc(&desc))) return pixels;
  IDirect3DSurface9* copy = nullptr;
  if (FAILED(device_->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                  D3DPOOL_SYSTEMMEM, &copy, nullptr)))
    return pixels;
  if (SUCCEEDED(device_->GetRenderTargetData(surface, copy))) {
    D3DLOCKED_RECT locked;
    if (SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
      pixels.resize(static_cast<size_t>(desc.Width) * desc.Height);
      for (UINT y = 0; y < desc.Height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) +
                                                            y * locked.Pitch);
        for (UINT x = 0; x < desc.Width; ++x) pixels[y * desc.Width + x] = row[x];
      }
      copy->UnlockRect();
    }
  }
  copy->Release();
  if (width) *width = static_cast<int>(desc.Width);
  if (height) *height = static_cast<int>(desc.Height);
  return pixels;
}

std::vector<uint32_t> D3DTestDevice::ReadBackBuffer() {
  std::vector<uint32_t> pixels;
  IDirect3DSurface9* back = nullptr;
  if (device_ && SUCCEEDED(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) {
    pixels = ReadSurface(back);
    back->Release();
  }
  return pixels;
}

}  // namespace qvtest
