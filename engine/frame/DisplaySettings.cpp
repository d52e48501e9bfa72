#include "DisplaySettings.h"

DWORD BehaviourFlagsForVertexProcessing(UINT type) {
  switch (type) {
    case C3VP_SOFTWARE: return D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    case C3VP_MIXED: return D3DCREATE_MIXED_VERTEXPROCESSING;
    case C3VP_HARDWARE: return D3DCREATE_HARDWARE_VERTEXPROCESSING;
    case C3VP_PURE_HARDWARE: return D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
    default: return 0;
  }
}

namespace {

D3DPRESENT_PARAMETERS CommonParameters(const DisplaySettings& settings, D3DFORMAT backBufferFormat,
                                       HWND window, bool usesDepthBuffer) {
  D3DPRESENT_PARAMETERS p{};
  p.Windowed = settings.IsWindowed;
  p.BackBufferCount = 1;
  p.MultiSampleType = settings.MultisampleType();
  p.MultiSampleQuality = settings.MultisampleQuality();
  p.SwapEffect = D3DSWAPEFFECT_DISCARD;
  p.hDeviceWindow = window;
  p.EnableAutoDepthStencil = usesDepthBuffer;
  if (usesDepthBuffer) {
    p.AutoDepthStencilFormat = settings.DepthStencilFormat();
    p.Flags = D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;
  } else {
    p.Flags = 0;
  }
  p.BackBufferFormat = backBufferFormat;
  p.PresentationInterval = settings.PresentInterval();
  return p;
}

}  // namespace

D3DPRESENT_PARAMETERS BuildPresentParameters(const DisplaySettings& settings, D3DFORMAT backBufferFormat,
                                             HWND window, int clientWidth, int clientHeight,
                                             bool usesDepthBuffer) {
  D3DPRESENT_PARAMETERS p = CommonParameters(settings, backBufferFormat, window, usesDepthBuffer);
  if (settings.IsWindowed) {
    p.BackBufferWidth = clientWidth > 0 ? static_cast<UINT>(clientWidth) : 0;
    p.BackBufferHeight = clientHeight > 0 ? static_cast<UINT>(clientHeight) : 0;
    p.FullScreen_RefreshRateInHz = 0;
  } else {
    p.BackBufferWidth = settings.fullscreenDisplayMode.Width;
    p.BackBufferHeight = settings.fullscreenDisplayMode.Height;
    p.FullScreen_RefreshRateInHz = settings.fullscreenDisplayMode.RefreshRate;
  }
  return p;
}

std::vector<D3DPRESENT_PARAMETERS> BuildGroupPresentParameters(const DisplaySettings& settings,
                                                               D3DFORMAT backBufferFormat, HWND first,
                                                               HWND second, UINT adapterCount,
                                                               bool usesDepthBuffer) {
  if (adapterCount < 1) adapterCount = 1;
  std::vector<D3DPRESENT_PARAMETERS> heads;
  heads.reserve(adapterCount);
  for (UINT i = 0; i < adapterCount; ++i) {
    HWND window = i == 0 ? first : (i == 1 ? second : nullptr);
    D3DPRESENT_PARAMETERS p = CommonParameters(settings, backBufferFormat, window, usesDepthBuffer);
    p.BackBufferWidth = settings.DisplayMode().Width;
    p.BackBufferHeight = settings.DisplayMode().Height;
    p.FullScreen_RefreshRateInHz = settings.fullscreenDisplayMode.RefreshRate;
    heads.push_back(p);
  }
  return heads;
}
