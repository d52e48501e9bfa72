#pragma once
// The chosen device and display mode: a windowed half and a full-screen half,
// pointing into the device enumeration's records. Copied whole when replaced.
#include <windows.h>
#include <d3d9.h>

#include <vector>

#include "enumeration/C3DeviceEnum.h"

struct DisplaySettings {
  BOOL IsWindowed = TRUE;

  C3AdapterInfo* windowedAdapterInfo = nullptr;
  C3DeviceInfo* windowedDeviceInfo = nullptr;
  C3DeviceCombo* windowedDeviceCombo = nullptr;
  D3DDISPLAYMODE windowedDisplayMode{};
  D3DFORMAT windowedDepthStencilFormat = D3DFMT_UNKNOWN;
  D3DMULTISAMPLE_TYPE windowedMultisampleType = D3DMULTISAMPLE_NONE;
  DWORD windowedMultisampleQuality = 0;
  UINT windowedVertexProcessingType = C3VP_SOFTWARE;
  UINT windowedPresentInterval = 0;
  int windowedWidth = 0;
  int windowedHeight = 0;

  C3AdapterInfo* fullscreenAdapterInfo = nullptr;
  C3DeviceInfo* fullscreenDeviceInfo = nullptr;
  C3DeviceCombo* fullscreenDeviceCombo = nullptr;
  D3DDISPLAYMODE fullscreenDisplayMode{};
  D3DFORMAT fullscreenDepthStencilFormat = D3DFMT_UNKNOWN;
  D3DMULTISAMPLE_TYPE fullscreenMultisampleType = D3DMULTISAMPLE_NONE;
  DWORD fullscreenMultisampleQuality = 0;
  UINT fullscreenVertexProcessingType = C3VP_SOFTWARE;
  UINT fullscreenPresentInterval = 0;

  // The half that is in use.
  C3AdapterInfo* AdapterInfo() const { return IsWindowed ? windowedAdapterInfo : fullscreenAdapterInfo; }
  C3DeviceInfo* DeviceInfo() const { return IsWindowed ? windowedDeviceInfo : fullscreenDeviceInfo; }
  C3DeviceCombo* DeviceCombo() const { return IsWindowed ? windowedDeviceCombo : fullscreenDeviceCombo; }
  const D3DDISPLAYMODE& DisplayMode() const { return IsWindowed ? windowedDisplayMode : fullscreenDisplayMode; }
  D3DFORMAT DepthStencilFormat() const {
    return IsWindowed ? windowedDepthStencilFormat : fullscreenDepthStencilFormat;
  }
  D3DMULTISAMPLE_TYPE MultisampleType() const {
    return IsWindowed ? windowedMultisampleType : fullscreenMultisampleType;
  }
  DWORD MultisampleQuality() const {
    return IsWindowed ? windowedMultisampleQuality : fullscreenMultisampleQuality;
  }
  UINT VertexProcessingType() const {
    return IsWindowed ? windowedVertexProcessingType : fullscreenVertexProcessingType;
  }
  UINT PresentInterval() const { return IsWindowed ? windowedPresentInterval : fullscreenPresentInterval; }
};

// Device creation flags for a vertex processing type (0 for an unknown one).
DWORD BehaviourFlagsForVertexProcessing(UINT type);

// Present parameters of the single-window device for the active half.
// `backBufferFormat` is the active combo's back-buffer format; `client` the
// main window's client size (used when windowed).
D3DPRESENT_PARAMETERS BuildPresentParameters(const DisplaySettings& settings, D3DFORMAT backBufferFormat,
                                             HWND window, int clientWidth, int clientHeight,
                                             bool usesDepthBuffer);

// Present parameters of an adapter-group device: one record per adapter of
// the group (`adapterCount`, at least 1), each sized by the active display
// mode. The first head presents into `first`, the second into `second`;
// heads past the second have no window of their own.
std::vector<D3DPRESENT_PARAMETERS> BuildGroupPresentParameters(const DisplaySettings& settings,
                                                               D3DFORMAT backBufferFormat, HWND first,
                                                               HWND second, UINT adapterCount,
                                                               bool usesDepthBuffer);
