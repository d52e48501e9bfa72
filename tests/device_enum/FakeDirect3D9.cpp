#include "FakeDirect3D9.h"

#include <cstring>

namespace qvtest {

FakeDirect3D9::FakeDirect3D9() {}

D3DCAPS9 FakeDirect3D9::MakeCaps(D3DDEVTYPE type, DWORD devCaps, DWORD presentIntervals) {
  D3DCAPS9 caps;
  std::memset(&caps, 0, sizeof caps);
  caps.DeviceType = type;
  caps.DevCaps = devCaps;
  caps.PresentationIntervals = presentIntervals;
  caps.NumberOfAdaptersInGroup = 1;
  // Shader versions of a current device (the product needs vs 1.0 for
  // hardware vertex processing).
  caps.VertexShaderVersion = D3DVS_VERSION(3, 0);
  caps.PixelShaderVersion = D3DPS_VERSION(3, 0);
  return caps;
}

FakeAdapter FakeDirect3D9::MakeAdapter(const std::vector<D3DDISPLAYMODE>& modes) {
  FakeAdapter adapter;
  adapter.modes = modes;
  adapter.devices[D3DDEVTYPE_HAL] = MakeCaps(D3DDEVTYPE_HAL);
  return adapter;
}

HRESULT WINAPI FakeDirect3D9::QueryInterface(REFIID, void** object) {
  if (object) *object = nullptr;
  return E_NOINTERFACE;
}

ULONG WINAPI FakeDirect3D9::AddRef() { return ++refCount; }
ULONG WINAPI FakeDirect3D9::Release() { return --refCount; }  // owned by the test
HRESULT WINAPI FakeDirect3D9::RegisterSoftwareDevice(void*) { return D3DERR_INVALIDCALL; }
UINT WINAPI FakeDirect3D9::GetAdapterCount() { return UINT(adapters.size()); }

HRESULT WINAPI FakeDirect3D9::GetAdapterIdentifier(UINT adapter, DWORD,
                                                   D3DADAPTER_IDENTIFIER9* identifier) {
  if (adapter >= adapters.size() || identifier == nullptr) return D3DERR_INVALIDCALL;
  std::memset(identifier, 0, sizeof *identifier);
  std::strncpy(identifier->Description, adapters[adapter].description.c_str(),
               sizeof identifier->Description - 1);
  std::strncpy(identifier->Driver, "fake.dll", sizeof identifier->Driver - 1);
  return D3D_OK;
}

std::vector<D3DDISPLAYMODE> FakeDirect3D9::ModesOf(UINT adapter, D3DFORMAT format) const {
  std::vector<D3DDISPLAYMODE> result;
  if (adapter >= adapters.size()) return result;
  for (const D3DDISPLAYMODE& mode : adapters[adapter].modes) {
    if (mode.Format == format) result.push_back(mode);
  }
  return result;
}

UINT WINAPI FakeDirect3D9::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
  return UINT(ModesOf(adapter, format).size());
}

HRESULT WINAPI FakeDirect3D9::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode,
                                               D3DDISPLAYMODE* out) {
  std::vector<D3DDISPLAYMODE> modes = ModesOf(adapter, format);
  if (mode >= modes.size() || out == nullptr) return D3DERR_INVALIDCALL;
  *out = modes[mode];
  return D3D_OK;
}

HRESULT WINAPI FakeDirect3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* out) {
  if (adapter >= adapters.size() || out == nullptr) return D3DERR_INVALIDCALL;
  *out = adapters[adapter].desktop;
  return D3D_OK;
}

HRESULT WINAPI FakeDirect3D9::CheckDeviceType(UINT adapter, D3DDEVTYPE type,
                                              D3DFORMAT displayFormat, D3DFORMAT backBufferFormat,
                                              WINBOOL windowed) {
  if (adapter >= adapters.size()) return D3DERR_INVALIDCALL;
  if (checkDeviceType) return checkDeviceType(adapter, type, displayFormat, backBufferFormat, windowed);
  return D3D_OK;
}

HRESULT WINAPI FakeDirect3D9::CheckDeviceFormat(UINT adapter, D3DDEVTYPE type,
                                                D3DFORMAT adapterFormat, DWORD usage,
                                                D3DRESOURCETYPE, D3DFORMAT checkFormat) {
  if (adapter >= adapters.size()) return D3DERR_INVALIDCALL;
  if ((usage & D3DUSAGE_DEPTHSTENCIL) && checkDepthFormat) {
    return checkDepthFormat(adapter, type, adapterFormat, checkFormat);
  }
  return D3D_OK;
}

HRESULT WINAPI FakeDirect3D9::CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type,
                                                         D3DFORMAT surface, WINBOOL windowed,
                                                         D3DMULTISAMPLE_TYPE msType,
                                                         DWORD* quality) {
  if (adapter >= adapters.size()) return D3DERR_INVALIDCALL;
  if (quality) *quality = 1;
  if (checkMultiSample) return checkMultiSample(adapter, type, surface, windowed, msType, quality);
  return msType == D3DMULTISAMPLE_NONE ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT WINAPI FakeDirect3D9::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type,
                                                     D3DFORMAT adapterFormat,
                                                     D3DFORMAT renderTarget, D3DFORMAT depth) {
  if (adapter >= adapters.size()) return D3DERR_INVALIDCALL;
  if (checkDepthStencilMatch) return checkDepthStencilMatch(adapter, type, adapterFormat, renderTarget, depth);
  return D3D_OK;
}

HRESULT WINAPI FakeDirect3D9::CheckDeviceFormatConversion(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT) {
  return D3DERR_NOTAVAILABLE;
}

HRESULT WINAPI FakeDirect3D9::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) {
  if (adapter >= adapters.size() || caps == nullptr) return D3DERR_INVALIDCALL;
  auto it = adapters[adapter].devices.find(type);
  if (it == adapters[adapter].devices.end()) return D3DERR_NOTAVAILABLE;
  *caps = it->second;
  caps->AdapterOrdinal = adapter;
  return D3D_OK;
}

HMONITOR WINAPI FakeDirect3D9::GetAdapterMonitor(UINT) { return nullptr; }

HRESULT WINAPI FakeDirect3D9::CreateDevice(UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS*,
                                           IDirect3DDevice9** device) {
  if (device) *device = nullptr;
  return D3DERR_NOTAVAILABLE;
}

}  // namespace qvtest
