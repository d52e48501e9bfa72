// Direct3D start-up, the choice of start settings, and the device's life:
// creation, reset and release with the device objects around them.
#include <cstring>

#include "C3Application.h"
#include "EngineTimer.h"
#include "diagnostics/Diagnostics.h"
#include "util/EngineUtil.h"

namespace {

ULONG DeviceReferenceCount(IDirect3DDevice9* device) {
  device->AddRef();
  return device->Release();
}

}  // namespace

// Base versions of the product's slots: nothing to do.
bool C3Application::PickFullscreenMode(bool, bool) { return false; }
HRESULT C3Application::CheckDeviceCaps(D3DCAPS9*, DWORD, D3DFORMAT, D3DFORMAT) { return S_OK; }
HRESULT C3Application::OneTimeSceneInit() { return S_OK; }
HRESULT C3Application::InitDeviceObjects() { return S_OK; }
HRESULT C3Application::RestoreDeviceObjects() { return S_OK; }
HRESULT C3Application::Move() { return S_OK; }
HRESULT C3Application::Render() { return S_OK; }
HRESULT C3Application::InvalidateDeviceObjects() { return S_OK; }
HRESULT C3Application::DeleteDeviceObjects() { return S_OK; }
HRESULT C3Application::FinalCleanUp() { return S_OK; }

bool C3Application::ConfirmDeviceCallback(D3DCAPS9* caps, UINT vertexProcessingType, D3DFORMAT adapterFormat,
                                          D3DFORMAT backBufferFormat) {
  if (!s_current) return false;
  DWORD flags = BehaviourFlagsForVertexProcessing(vertexProcessingType);
  return s_current->CheckDeviceCaps(caps, flags, adapterFormat, backBufferFormat) >= 0;
}

void C3Application::ReleaseDirect3D() {
  if (m_d3d) m_d3d->Release();
  m_d3d = nullptr;
  m_enumeration.Direct3D = nullptr;
}

HRESULT C3Application::CreateDirect3DAndEnumerate() {
  m_d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (!m_d3d) return kErrNoDirect3D;
  m_enumeration.Direct3D = m_d3d;
  m_enumeration.ConfirmDevice = ConfirmDeviceCallback;
  HRESULT hr = m_enumeration.Enumerate();
  if (FAILED(hr)) ReleaseDirect3D();
  return hr;
}

HRESULT C3Application::Create(HINSTANCE instance) {
  m_instance = instance;
  HRESULT hr = CreateDirect3DAndEnumerate();
  if (hr == kErrNoDirect3D) {
    if (!m_mustExitShown) {
      ShowErrorBox(kErrNoDirect3D, kErrorMustExit);
    }
    return kErrNoDirect3D;
  }
  if (FAILED(hr)) return ShowErrorBox(hr, kErrorMustExit);

  if (m_mode == 3) m_dualView = 0;

  if (!m_mainWindow) {
    hr = CreateWindows();
    if (FAILED(hr)) {
      ReleaseDirect3D();
      return ShowErrorBox(hr, kErrorMustExit);
    }
  }
  if (!m_focusWindow) m_focusWindow = m_mainWindow;
  KeepWindowedBounds();

  if (!PickStartSettings()) {
    ReleaseDirect3D();
    return ShowErrorBox(kErrNoCompatibleDevices, kErrorMustExit);
  }

  EngineTimer(kTimerStart);
  hr = OneTimeSceneInit();
  if (FAILED(hr)) {
    ReleaseDirect3D();
    ShowErrorBox(hr, kErrorMustExit);
    return hr;
  }

  hr = InitDevice();
  if (SUCCEEDED(hr)) {
    SetPaused(false);
    return S_OK;
  }
  ReleaseDirect3D();
  return ShowErrorBox(hr, kErrorMustExit);
}

bool C3Application::PickStartSettings() {
  bool fullscreen = PickFullscreenMode(false, false);
  bool windowed = PickWindowedMode(false, false);
  if (!fullscreen && !windowed) return false;
  m_settings.IsWindowed = (fullscreen && (m_startFullscreen || !windowed)) ? FALSE : TRUE;
  return true;
}

bool C3Application::PickWindowedMode(bool requireHAL, bool requireREF) {
  if (!m_d3d) return false;
  D3DDISPLAYMODE desktop{};
  if (FAILED(m_d3d->GetAdapterDisplayMode(0, &desktop))) return false;

  C3AdapterInfo* bestAdapter = nullptr;
  C3DeviceInfo* bestDevice = nullptr;
  C3DeviceCombo* bestCombo = nullptr;
  for (UINT a = 0; a < m_enumeration.AdapterCount(); ++a) {
    C3AdapterInfo* adapter = m_enumeration.GetAdapter(a);
    for (UINT d = 0; adapter && d < adapter->DeviceInfoCount(); ++d) {
      C3DeviceInfo* device = adapter->GetDeviceInfo(d);
      if (!device) continue;
      if (requireHAL && device->DevType != D3DDEVTYPE_HAL) continue;
      if (requireREF && device->DevType != D3DDEVTYPE_REF) continue;
      for (UINT c = 0; c < device->ComboCount(); ++c) {
        C3DeviceCombo* combo = device->GetCombo(c);
        if (!combo || !combo->IsWindowed || combo->AdapterFormat != desktop.Format) continue;
        bool exact = combo->DevType == D3DDEVTYPE_HAL && combo->BackBufferFormat == combo->AdapterFormat;
        if (!bestCombo || (bestCombo->DevType != D3DDEVTYPE_HAL && combo->DevType == D3DDEVTYPE_HAL) || exact) {
          bestAdapter = adapter;
          bestDevice = device;
          bestCombo = combo;
          if (exact) goto done;
        }
      }
    }
  }
done:
  if (!bestCombo) return false;

  m_settings.windowedAdapterInfo = bestAdapter;
  m_settings.windowedDeviceInfo = bestDevice;
  m_settings.windowedDeviceCombo = bestCombo;
  m_settings.windowedDisplayMode = desktop;
  m_settings.windowedWidth = m_clientRect.right - m_clientRect.left;
  m_settings.windowedHeight = m_clientRect.bottom - m_clientRect.top;
  if (m_enumeration.UsesDepthBuffer) m_settings.windowedDepthStencilFormat = bestCombo->GetDepthStencilFormat(0);
  m_settings.windowedMultisampleType = bestCombo->GetMultiSampleType(0);
  m_settings.windowedMultisampleQuality = 0;
  m_settings.windowedVertexProcessingType = bestCombo->GetVertexProcessingType(0);
  m_settings.windowedPresentInterval = bestCombo->GetPresentInterval(0);
  m_settings.IsWindowed = TRUE;
  return true;
}

void C3Application::RefreshBackBufferDesc() {
  IDirect3DSurface9* backBuffer = nullptr;
  if (SUCCEEDED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) && backBuffer) {
    backBuffer->GetDesc(&m_backBufferDesc);
    backBuffer->Release();
  }
}

void C3Application::ApplyCursorSettings() {
  if (!m_windowed && m_showCursorWhenFullscreen) {
    HCURSOR cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrA(m_mainWindow, GCLP_HCURSOR));
    MakeDeviceCursor(m_device, cursor, TRUE);
    m_device->ShowCursor(TRUE);
  }
  if (m_clipCursorWhenFullscreen) {
    if (!m_windowed) {
      RECT windowRect;
      GetWindowRect(m_mainWindow, &windowRect);
      ClipCursor(&windowRect);
    } else {
      ClipCursor(nullptr);
    }
  }
}

HRESULT C3Application::InitDevice() {
  // A device left over from an earlier creation is never leaked.
  if (m_device) ReleaseDevice();

  C3AdapterInfo* adapter = m_settings.AdapterInfo();
  C3DeviceInfo* device = m_settings.DeviceInfo();
  C3DeviceCombo* combo = m_settings.DeviceCombo();
  if (!adapter || !device || !combo || !m_d3d) return kErrNoCompatibleDevices;
  m_windowed = m_settings.IsWindowed != FALSE;
  ApplyWindowStyle();

  // The single-window record is always built: the group device falls back to it.
  bool usesDepth = m_enumeration.UsesDepthBuffer;
  m_presentParams = BuildPresentParameters(m_settings, combo->BackBufferFormat, m_mainWindow,
                                           m_clientRect.right - m_clientRect.left,
                                           m_clientRect.bottom - m_clientRect.top, usesDepth);
  m_groupPresentParams.clear();
  if (m_dualView)
    m_groupPresentParams = BuildGroupPresentParameters(m_settings, combo->BackBufferFormat, m_mainWindow,
                                                       m_secondWindow, device->Caps.NumberOfAdaptersInGroup,
                                                       usesDepth);

  if (device->Caps.PrimitiveMiscCaps & D3DPMISCCAPS_NULLREFERENCE) ShowErrorBox(kErrNullRefDevice, kErrorWarning);

  DWORD flags = BehaviourFlagsForVertexProcessing(m_settings.VertexProcessingType());
  HRESULT hr = E_FAIL;
  if (m_dualView) {
    hr = m_d3d->CreateDevice(combo->AdapterOrdinal, device->DevType, m_focusWindow,
                             flags | D3DCREATE_ADAPTERGROUP_DEVICE, m_groupPresentParams.data(), &m_device);
    if (FAILED(hr)) LogPrint("adapter group device failed %08X; single view\n", static_cast<unsigned>(hr));
  }
  // The single-window device, also when the group device failed.
  if (!m_dualView || FAILED(hr)) {
    hr = m_d3d->CreateDevice(combo->AdapterOrdinal, device->DevType, m_focusWindow, flags, &m_presentParams,
                             &m_device);
    if (FAILED(hr)) {
      m_device = nullptr;
      return hr;
    }
    m_dualView = 0;
  }

  if (m_windowed) ShowAtWindowedBounds();
  m_device->GetDeviceCaps(&m_caps);
  m_behaviourFlags = flags;
  if (m_caps.NumberOfAdaptersInGroup < 2) m_dualView = 0;
  if (!m_dualView) {
    m_groupPresentParams.clear();
    // Single view runs in the first window only.
    if (m_secondWindow) DestroyWindow(m_secondWindow);
    m_secondWindow = nullptr;
  }

  FormatDeviceStatsText(m_deviceStats, sizeof m_deviceStats, device->DevType, flags,
                        adapter->AdapterIdentifier.Description);
  LogPrint("device: %s\n", m_deviceStats);

  RefreshBackBufferDesc();
  ApplyCursorSettings();

  hr = InitDeviceObjects();
  if (FAILED(hr)) {
    DeleteDeviceObjects();
  } else {
    m_deviceObjectsInited = true;
    hr = RestoreDeviceObjects();
    if (SUCCEEDED(hr)) {
      m_deviceObjectsRestored = true;
      if (GetDebugLogLevel() >= 2)
        LogPrint("device created: %lu references after restore\n",
                 static_cast<unsigned long>(DeviceReferenceCount(m_device)));
      return S_OK;
    }
    InvalidateDeviceObjects();
  }
  ReleaseDevice();
  return hr;
}

HRESULT C3Application::ResetDevice() {
  if (!m_device) return S_OK;
  if (m_deviceObjectsRestored) {
    m_deviceObjectsRestored = false;
    InvalidateDeviceObjects();
  }
  const ULONG before = DeviceReferenceCount(m_device);
  HRESULT hr = m_device->Reset(m_dualView && !m_groupPresentParams.empty() ? m_groupPresentParams.data()
                                                                             : &m_presentParams);
  if (FAILED(hr)) {
    OutputDebugStringA("Device Reset Fail.\n");
    LogPrint("device reset failed %08X\n", static_cast<unsigned>(hr));
    return hr;
  }
  RefreshBackBufferDesc();
  ApplyCursorSettings();

  hr = RestoreDeviceObjects();
  if (FAILED(hr)) {
    InvalidateDeviceObjects();
    return hr;
  }
  m_deviceObjectsRestored = true;
  // What the device objects hold before a reset and after it: equal counts
  // show that the reset road re-creates nothing it did not release.
  if (GetDebugLogLevel() >= 2)
    LogPrint("device reset: %lu references before, %lu after restore\n", static_cast<unsigned long>(before),
             static_cast<unsigned long>(DeviceReferenceCount(m_device)));
  if (!m_frameMoving) {
    m_singleStep = true;
    EngineTimer(kTimerStart);
    EngineTimer(kTimerStop);
  }
  return S_OK;
}

void C3Application::ReleaseDevice() {
  if (!m_device) return;
  if (m_deviceObjectsRestored) {
    m_deviceObjectsRestored = false;
    InvalidateDeviceObjects();
  }
  if (m_deviceObjectsInited) {
    m_deviceObjectsInited = false;
    DeleteDeviceObjects();
  }
  ULONG references = m_device->Release();
  // Cleared before any box: the close such a box starts must not release twice.
  m_device = nullptr;
  if (references > 0) ShowErrorBox(kErrNonZeroRefCount, kErrorMustExit);
}
