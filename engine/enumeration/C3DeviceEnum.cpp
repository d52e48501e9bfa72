#include "C3DeviceEnum.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

const D3DFORMAT kAllowedAdapterFormats[] = {D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, D3DFMT_R5G6B5,
                                            D3DFMT_A2R10G10B10};
const D3DFORMAT kBackBufferFormats[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A2R10G10B10,
                                        D3DFMT_R5G6B5,   D3DFMT_A1R5G5B5, D3DFMT_X1R5G5B5};
const D3DDEVTYPE kDeviceTypes[] = {D3DDEVTYPE_HAL, D3DDEVTYPE_SW, D3DDEVTYPE_REF};
const D3DFORMAT kDepthStencilFormats[] = {D3DFMT_D16,   D3DFMT_D15S1,   D3DFMT_D24X8,
                                          D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32};
const UINT kMaxMultiSampleType = 16;

}  // namespace

// ---------------------------------------------------------------------------
// Plain rules of the enumeration.

const char* GetDeviceTypeName(D3DDEVTYPE type) {
  switch (type) {
    case D3DDEVTYPE_HAL: return "D3DDEVTYPE_HAL";
    case D3DDEVTYPE_REF: return "D3DDEVTYPE_REF";
    case D3DDEVTYPE_SW: return "D3DDEVTYPE_SW";
    default: return "Unknown devType";
  }
}

UINT GetColorChannelBits(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_R8G8B8:
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8: return 8;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5: return 5;
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4: return 4;
    case D3DFMT_R3G3B2:
    case D3DFMT_A8R3G3B2: return 2;
    case D3DFMT_A2B10G10R10:
    case D3DFMT_A2R10G10B10: return 10;
    default: return 0;
  }
}

UINT GetAlphaChannelBits(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_A8R3G3B2: return 8;
    case D3DFMT_A1R5G5B5: return 1;
    case D3DFMT_A4R4G4B4: return 4;
    case D3DFMT_A2B10G10R10:
    case D3DFMT_A2R10G10B10: return 2;
    default: return 0;
  }
}

UINT GetDepthBits(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_D16: return 16;
    case D3DFMT_D15S1: return 15;
    case D3DFMT_D24X8:
    case D3DFMT_D24S8:
    case D3DFMT_D24X4S4: return 24;
    case D3DFMT_D32: return 32;
    default: return 0;
  }
}

UINT GetStencilBits(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_D15S1: return 1;
    case D3DFMT_D24S8: return 8;
    case D3DFMT_D24X4S4: return 4;
    default: return 0;
  }
}

bool DisplayModeLess(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
  if (a.Width != b.Width) return a.Width < b.Width;
  if (a.Height != b.Height) return a.Height < b.Height;
  if (a.Format != b.Format) return a.Format < b.Format;
  return a.RefreshRate < b.RefreshRate;
}

UINT SelectPresentIntervals(DWORD capsPresentationIntervals, bool windowed, UINT out[6]) {
  const UINT candidates[] = {D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT,
                             D3DPRESENT_INTERVAL_ONE,       D3DPRESENT_INTERVAL_TWO,
                             D3DPRESENT_INTERVAL_THREE,     D3DPRESENT_INTERVAL_FOUR};
  UINT count = 0;
  for (UINT interval : candidates) {
    if (windowed && (interval == D3DPRESENT_INTERVAL_TWO || interval == D3DPRESENT_INTERVAL_THREE ||
                     interval == D3DPRESENT_INTERVAL_FOUR)) {
      continue;
    }
    if (interval == D3DPRESENT_INTERVAL_DEFAULT ||
        (capsPresentationIntervals & interval) == interval) {
      out[count++] = interval;
    }
  }
  return count;
}

// ---------------------------------------------------------------------------
// Records.

C3DeviceCombo::C3DeviceCombo()
    : DepthStencilFormats(C3ArrayList::ByValue, sizeof(D3DFORMAT)),
      MultiSampleTypes(C3ArrayList::ByValue, sizeof(D3DMULTISAMPLE_TYPE)),
      MultiSampleQualities(C3ArrayList::ByValue, sizeof(DWORD)),
      DSMSConflicts(C3ArrayList::ByValue, sizeof(C3DSMSConflict)),
      VertexProcessingTypes(C3ArrayList::ByValue, sizeof(UINT)),
      PresentIntervals(C3ArrayList::ByValue, sizeof(UINT)) {}

D3DFORMAT C3DeviceCombo::GetDepthStencilFormat(UINT i) const {
  return DepthStencilFormats.ValueAt(i, D3DFMT_UNKNOWN);
}

D3DMULTISAMPLE_TYPE C3DeviceCombo::GetMultiSampleType(UINT i) const {
  return MultiSampleTypes.ValueAt(i, D3DMULTISAMPLE_NONE);
}

DWORD C3DeviceCombo::GetMultiSampleQuality(UINT i) const { return MultiSampleQualities.ValueAt<DWORD>(i, 0); }

UINT C3DeviceCombo::GetVertexProcessingType(UINT i) const {
  return VertexProcessingTypes.ValueAt<UINT>(i, C3VP_SOFTWARE);
}

UINT C3DeviceCombo::GetPresentInterval(UINT i) const {
  return PresentIntervals.ValueAt<UINT>(i, D3DPRESENT_INTERVAL_DEFAULT);
}

C3DeviceInfo::C3DeviceInfo() : DeviceCombos(C3ArrayList::ByReference) {
  std::memset(&Caps, 0, sizeof Caps);
}

C3DeviceInfo::~C3DeviceInfo() {
  for (UINT i = 0; i < DeviceCombos.Count(); ++i) delete DeviceCombos.Get<C3DeviceCombo>(i);
}

C3DeviceCombo* C3DeviceInfo::GetCombo(UINT i) const { return DeviceCombos.At<C3DeviceCombo>(i); }

C3AdapterInfo::C3AdapterInfo()
    : DisplayModes(C3ArrayList::ByValue, sizeof(D3DDISPLAYMODE)),
      DeviceInfos(C3ArrayList::ByReference) {
  std::memset(&AdapterIdentifier, 0, sizeof AdapterIdentifier);
}

C3AdapterInfo::~C3AdapterInfo() {
  for (UINT i = 0; i < DeviceInfos.Count(); ++i) delete DeviceInfos.Get<C3DeviceInfo>(i);
}

const D3DDISPLAYMODE* C3AdapterInfo::GetMode(UINT i) const { return DisplayModes.At<D3DDISPLAYMODE>(i); }

C3DeviceInfo* C3AdapterInfo::GetDeviceInfo(UINT i) const { return DeviceInfos.At<C3DeviceInfo>(i); }

// ---------------------------------------------------------------------------
// The enumeration.

C3DeviceEnum::C3DeviceEnum()
    : Adapters(C3ArrayList::ByReference),
      AllowedAdapterFormats(C3ArrayList::ByValue, sizeof(D3DFORMAT)) {}

C3DeviceEnum::~C3DeviceEnum() { Clear(); }

void C3DeviceEnum::Clear() {
  for (UINT i = 0; i < Adapters.Count(); ++i) delete Adapters.Get<C3AdapterInfo>(i);
  Adapters.RemoveAll();
  AllowedAdapterFormats.RemoveAll();
}

C3AdapterInfo* C3DeviceEnum::GetAdapter(UINT i) const { return Adapters.At<C3AdapterInfo>(i); }

HRESULT C3DeviceEnum::Enumerate() {
  if (Direct3D == nullptr) return E_FAIL;
  Clear();
  for (D3DFORMAT format : kAllowedAdapterFormats) {
    if (FAILED(AllowedAdapterFormats.Add(&format))) return E_OUTOFMEMORY;
  }

  const UINT adapterCount = Direct3D->GetAdapterCount();
  for (UINT ordinal = 0; ordinal < adapterCount; ++ordinal) {
    C3AdapterInfo* adapter = new (std::nothrow) C3AdapterInfo;
    if (adapter == nullptr) return E_OUTOFMEMORY;
    adapter->AdapterOrdinal = ordinal;
    Direct3D->GetAdapterIdentifier(ordinal, 0, &adapter->AdapterIdentifier);

    C3ArrayList adapterFormats(C3ArrayList::ByValue, sizeof(D3DFORMAT));
    for (UINT f = 0; f < AllowedAdapterFormats.Count(); ++f) {
      D3DFORMAT allowed = *AllowedAdapterFormats.Get<D3DFORMAT>(f);
      const UINT modeCount = Direct3D->GetAdapterModeCount(ordinal, allowed);
      for (UINT m = 0; m < modeCount; ++m) {
        D3DDISPLAYMODE mode{};
        if (FAILED(Direct3D->EnumAdapterModes(ordinal, allowed, m, &mode))) continue;
        if (mode.Width < MinFullscreenWidth || mode.Height < MinFullscreenHeight ||
            GetColorChannelBits(mode.Format) < MinColorChannelBits) {
          continue;
        }
        if (FAILED(adapter->DisplayModes.Add(&mode)) ||
            (!adapterFormats.Contains(&mode.Format) && FAILED(adapterFormats.Add(&mode.Format)))) {
          delete adapter;
          return E_OUTOFMEMORY;
        }
      }
    }
    if (adapter->DisplayModes.Count() > 1) {
      D3DDISPLAYMODE* first = adapter->DisplayModes.Get<D3DDISPLAYMODE>(0);
      std::sort(first, first + adapter->DisplayModes.Count(), DisplayModeLess);
    }

    HRESULT hr = EnumerateDevices(adapter, &adapterFormats);
    if (FAILED(hr)) {
      delete adapter;
      return hr;
    }
    if (adapter->DeviceInfos.Count() == 0) {
      delete adapter;
      continue;
    }
    if (FAILED(Adapters.Add(adapter))) {
      delete adapter;
      return E_OUTOFMEMORY;
    }
  }
  return S_OK;
}

HRESULT C3DeviceEnum::EnumerateDevices(C3AdapterInfo* adapter, C3ArrayList* adapterFormats) {
  for (D3DDEVTYPE type : kDeviceTypes) {
    C3DeviceInfo* device = new (std::nothrow) C3DeviceInfo;
    if (device == nullptr) return E_OUTOFMEMORY;
    device->AdapterOrdinal = adapter->AdapterOrdinal;
    device->DevType = type;
    if (FAILED(Direct3D->GetDeviceCaps(adapter->AdapterOrdinal, type, &device->Caps))) {
      delete device;
      continue;
    }
    HRESULT hr = EnumerateCombos(device, adapterFormats);
    if (FAILED(hr)) {
      delete device;
      return hr;
    }
    if (device->DeviceCombos.Count() == 0) {
      delete device;
      continue;
    }
    if (FAILED(adapter->DeviceInfos.Add(device))) {
      delete device;
      return E_OUTOFMEMORY;
    }
  }
  return S_OK;
}

HRESULT C3DeviceEnum::EnumerateCombos(C3DeviceInfo* device, C3ArrayList* adapterFormats) {
  const bool windowedChoices[] = {false, true};
  for (UINT f = 0; f < adapterFormats->Count(); ++f) {
    const D3DFORMAT adapterFormat = *adapterFormats->Get<D3DFORMAT>(f);
    for (D3DFORMAT backBufferFormat : kBackBufferFormats) {
      if (GetAlphaChannelBits(backBufferFormat) < MinAlphaChannelBits) continue;
      for (bool windowed : windowedChoices) {
        if (!windowed && RequiresWindowed) continue;
        if (windowed && RequiresFullscreen) continue;
        if (FAILED(Direct3D->CheckDeviceType(device->AdapterOrdinal, device->DevType, adapterFormat,
                                             backBufferFormat, windowed))) {
          continue;
        }
        C3DeviceCombo* combo = new (std::nothrow) C3DeviceCombo;
        if (combo == nullptr) return E_OUTOFMEMORY;
        combo->AdapterOrdinal = device->AdapterOrdinal;
        combo->DevType = device->DevType;
        combo->AdapterFormat = adapterFormat;
        combo->BackBufferFormat = backBufferFormat;
        combo->IsWindowed = windowed;

        HRESULT hr = S_OK;
        bool keep = true;
        if (UsesDepthBuffer) {
          hr = BuildDepthStencilFormats(combo);
          keep = SUCCEEDED(hr) && combo->DepthStencilFormats.Count() > 0;
        }
        if (keep) {
          hr = BuildMultiSampleTypes(combo);
          keep = SUCCEEDED(hr) && combo->MultiSampleTypes.Count() > 0;
        }
        if (keep) {
          hr = BuildConflicts(combo);
          keep = SUCCEEDED(hr);
        }
        if (keep) {
          hr = BuildVertexProcessingTypes(device, combo);
          keep = SUCCEEDED(hr) && combo->VertexProcessingTypes.Count() > 0;
        }
        if (keep) {
          UINT intervals[6];
          UINT count = SelectPresentIntervals(device->Caps.PresentationIntervals, windowed,
                                              intervals);
          for (UINT i = 0; i < count && SUCCEEDED(hr); ++i) hr = combo->PresentIntervals.Add(&intervals[i]);
          keep = SUCCEEDED(hr);
        }
        if (keep) hr = device->DeviceCombos.Add(combo);
        if (!keep || FAILED(hr)) delete combo;
        if (FAILED(hr)) return hr;
      }
    }
  }
  return S_OK;
}

HRESULT C3DeviceEnum::BuildDepthStencilFormats(C3DeviceCombo* combo) {
  for (D3DFORMAT candidate : kDepthStencilFormats) {
    if (GetDepthBits(candidate) < MinDepthBits || GetStencilBits(candidate) < MinStencilBits) {
      continue;
    }
    if (FAILED(Direct3D->CheckDeviceFormat(combo->AdapterOrdinal, combo->DevType,
                                           combo->AdapterFormat, D3DUSAGE_DEPTHSTENCIL,
                                           D3DRTYPE_SURFACE, candidate))) {
      continue;
    }
    if (FAILED(Direct3D->CheckDepthStencilMatch(combo->AdapterOrdinal, combo->DevType,
                                                combo->AdapterFormat, combo->BackBufferFormat,
                                                candidate))) {
      continue;
    }
    if (FAILED(combo->DepthStencilFormats.Add(&candidate))) return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT C3DeviceEnum::BuildMultiSampleTypes(C3DeviceCombo* combo) {
  for (UINT t = 0; t <= kMaxMultiSampleType; ++t) {
    D3DMULTISAMPLE_TYPE type = static_cast<D3DMULTISAMPLE_TYPE>(t);
    DWORD quality = 0;
    if (FAILED(Direct3D->CheckDeviceMultiSampleType(combo->AdapterOrdinal, combo->DevType,
                                                    combo->BackBufferFormat, combo->IsWindowed,
                                                    type, &quality))) {
      continue;
    }
    if (FAILED(combo->MultiSampleTypes.Add(&type)) ||
        FAILED(combo->MultiSampleQualities.Add(&quality))) {
      return E_OUTOFMEMORY;
    }
  }
  return S_OK;
}

HRESULT C3DeviceEnum::BuildConflicts(C3DeviceCombo* combo) {
  for (UINT d = 0; d < combo->DepthStencilFormats.Count(); ++d) {
    D3DFORMAT depth = *combo->DepthStencilFormats.Get<D3DFORMAT>(d);
    for (UINT m = 0; m < combo->MultiSampleTypes.Count(); ++m) {
      D3DMULTISAMPLE_TYPE type = *combo->MultiSampleTypes.Get<D3DMULTISAMPLE_TYPE>(m);
      if (SUCCEEDED(Direct3D->CheckDeviceMultiSampleType(combo->AdapterOrdinal, combo->DevType,
                                                         depth, combo->IsWindowed, type,
                                                         nullptr))) {
        continue;
      }
      C3DSMSConflict conflict = {depth, type};
      if (FAILED(combo->DSMSConflicts.Add(&conflict))) return E_OUTOFMEMORY;
    }
  }
  return S_OK;
}

HRESULT C3DeviceEnum::BuildVertexProcessingTypes(const C3DeviceInfo* device,
                                                 C3DeviceCombo* combo) {
  D3DCAPS9 caps = device->Caps;  // the callback may not change the stored caps
  auto accepts = [&](UINT type) {
    if (ConfirmDevice == nullptr) return true;
    caps = device->Caps;
    return ConfirmDevice(&caps, type, combo->AdapterFormat, combo->BackBufferFormat);
  };
  auto add = [&](UINT type) { return combo->VertexProcessingTypes.Add(&type); };

  HRESULT hr = S_OK;
  if (device->Caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) {
    if ((device->Caps.DevCaps & D3DDEVCAPS_PUREDEVICE) && accepts(C3VP_PURE_HARDWARE)) {
      hr = add(C3VP_PURE_HARDWARE);
    }
    if (SUCCEEDED(hr) && accepts(C3VP_HARDWARE)) hr = add(C3VP_HARDWARE);
    if (SUCCEEDED(hr) && UsesMixedVP && accepts(C3VP_MIXED)) hr = add(C3VP_MIXED);
  }
  if (SUCCEEDED(hr) && accepts(C3VP_SOFTWARE)) hr = add(C3VP_SOFTWARE);
  return hr;
}
