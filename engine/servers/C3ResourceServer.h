#pragma once
// Common shape of the three resource servers (shaders, buffers, state
// blocks): the device-object life cycle the world forwards to them.
#include <d3d9.h>

class C3ResourceServer {
 public:
  // Answers whether the device's pixel shaders are used (the product's
  // choice); without an answer pixel shaders are used.
  using PixelShaderQuery = bool (*)();

  C3ResourceServer() = default;
  virtual ~C3ResourceServer() = default;
  C3ResourceServer(const C3ResourceServer&) = delete;
  C3ResourceServer& operator=(const C3ResourceServer&) = delete;

  // Remembers the device every later call works on (the server does not
  // hold a reference; the application owns the device).
  virtual HRESULT InitDeviceObjects(IDirect3DDevice9* device);
  virtual HRESULT RestoreDeviceObjects() { return 0; }
  virtual HRESULT InvalidateDeviceObjects() { return 0; }
  virtual HRESULT DeleteDeviceObjects() { return 0; }
  virtual HRESULT Spare() { return 0; }

  IDirect3DDevice9* Device() const { return device_; }
  void SetPixelShaderQuery(PixelShaderQuery query) { pixelShaderQuery_ = query; }
  bool UsePixelShaders() const;

 protected:
  IDirect3DDevice9* device_ = nullptr;

 private:
  PixelShaderQuery pixelShaderQuery_ = nullptr;
};
