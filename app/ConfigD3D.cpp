#include "ConfigD3D.h"

#include "MyApplication.h"
#include "diagnostics/Diagnostics.h"

HRESULT CreateConfigD3D() {
  MyApplication* app = TheApp;
  if (!app) return E_FAIL;
  HRESULT hr = app->CreateDirect3DAndEnumerate();
  if (FAILED(hr)) return app->ShowErrorBox(hr, kErrorMustExit);

  C3DeviceEnum& enumeration = app->Enumeration();
  for (UINT a = 0; a < enumeration.AdapterCount(); ++a) {
    C3AdapterInfo* adapter = enumeration.GetAdapter(a);
    if (!adapter) continue;
    LogPrint("Adapter %s DevType:", adapter->AdapterIdentifier.Description);
    for (UINT d = 0; d < adapter->DeviceInfoCount(); ++d)
      if (C3DeviceInfo* device = adapter->GetDeviceInfo(d)) LogPrint("%d ", static_cast<int>(device->DevType));
    LogPrint("\n");
    for (UINT m = 0; m < adapter->ModeCount(); ++m) {
      const D3DDISPLAYMODE* mode = adapter->GetMode(m);
      LogPrint("Adapter:%d MODE %02d %dx%d %dHz Format %d\n", static_cast<int>(a), static_cast<int>(m),
               static_cast<int>(mode->Width), static_cast<int>(mode->Height),
               static_cast<int>(mode->RefreshRate), static_cast<int>(mode->Format));
    }
  }

  if (app->PickStartSettings()) return S_OK;
  app->ReleaseDirect3D();
  return app->ShowErrorBox(kErrNoCompatibleDevices, kErrorMustExit);
}
