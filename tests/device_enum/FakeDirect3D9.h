#pragma once
// A scripted IDirect3D9 for tests that need an enumeration without real
// hardware: adapters with their modes and device caps, and every Check*
// answer decided by a replaceable function.
#include <windows.h>
#include <d3d9.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace qvtest {

struct FakeAdapter {
  std::string description = "Fake adapter";
  D3DDISPLAYMODE desktop = {1024, 768, 60, D3DFMT_X8R8G8B8};
  std::vector<D3DDISPLAYMODE> modes;            // reported per format, in this order
  std::map<D3DDEVTYPE, D3DCAPS9> devices;       // device types with caps; others fail
};

class FakeDirect3D9 : public IDirect3D9 {
 public:
  FakeDirect3D9();
  virtual ~FakeDirect3D9() = default;

  // A device type entry with hardware T&L, pure device and the given
  // present intervals.
  static D3DCAPS9 MakeCaps(D3DDEVTYPE type, DWORD devCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT |
                                                             D3DDEVCAPS_PUREDEVICE,
                           DWORD presentIntervals = D3DPRESENT_INTERVAL_IMMEDIATE |
                                                    D3DPRESENT_INTERVAL_ONE);
  // One adapter with a HAL device and the modes given.
  static FakeAdapter MakeAdapter(const std::vector<D3DDISPLAYMODE>& modes);

  std::vector<FakeAdapter> adapters;

  // Scripted answers; each default accepts.
  std::function<HRESULT(UINT, D3DDEVTYPE, D3DFORMAT adapterFormat, D3DFORMAT backBuffer, BOOL)>
      checkDeviceType;
  // Depth/stencil format support (CheckDeviceFormat with D3DUSAGE_DEPTHSTENCIL).
  std::function<HRESULT(UINT, D3DDEVTYPE, D3DFORMAT adapterFormat, D3DFORMAT depth)>
      checkDepthFormat;
  std::function<HRESULT(UINT, D3DDEVTYPE, D3DFORMAT adapterFormat, D3DFORMAT target,
                        D3DFORMAT depth)>
      checkDepthStencilMatch;
  // Quality levels are written as 1 on success unless the function sets them.
  std::function<HRESULT(UINT, D3DDEVTYPE, D3DFORMAT surface, BOOL, D3DMULTISAMPLE_TYPE,
                        DWORD* quality)>
      checkMultiSample;

  ULONG refCount = 1;

  // IUnknown
  HRESULT WINAPI QueryInterface(REFIID riid, void** object) override;
  ULONG WINAPI AddRef() override;
  ULONG WINAPI Release() override;
  // IDirect3D9
  HRESULT WINAPI RegisterSoftwareDevice(void*) override;
  UINT WINAPI GetAdapterCount() override;
  HRESULT WINAPI GetAdapterIdentifier(UINT adapter, DWORD flags,
                                      D3DADAPTER_IDENTIFIER9* identifier) override;
  UINT WINAPI GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
  HRESULT WINAPI EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode,
                                  D3DDISPLAYMODE* out) override;
  HRESULT WINAPI GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* out) override;
  HRESULT WINAPI CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT displayFormat,
                                 D3DFORMAT backBufferFormat, WINBOOL windowed) override;
  HRESULT WINAPI CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                   DWORD usage, D3DRESOURCETYPE rtype,
                                   D3DFORMAT checkFormat) override;
  HRESULT WINAPI CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type, D3DFORMAT surface,
                                            WINBOOL windowed, D3DMULTISAMPLE_TYPE msType,
                                            DWORD* quality) override;
  HRESULT WINAPI CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                        D3DFORMAT renderTarget, D3DFORMAT depth) override;
  HRESULT WINAPI CheckDeviceFormatConversion(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT) override;
  HRESULT WINAPI GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override;
  HMONITOR WINAPI GetAdapterMonitor(UINT adapter) override;
  HRESULT WINAPI CreateDevice(UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS*,
                              IDirect3DDevice9** device) override;

 private:
  std::vector<D3DDISPLAYMODE> ModesOf(UINT adapter, D3DFORMAT format) const;
};

}  // namespace qvtest
