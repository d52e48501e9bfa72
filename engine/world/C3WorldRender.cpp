// The world's draw passes per view and the screenshot capture.
#include <vector>

#include "C3Camera.h"
#include "C3World.h"
#include "WorldPasses.h"
#include "buffers/X1GlareBuffer.h"
#include "buffers/X5RenderingScene.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/CaptureBmp.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"

namespace {

// Rows of a locked surface as top-down X8R8G8B8; false for formats the
// capture does not read.
bool ToX8R8G8B8(const D3DLOCKED_RECT& lock, D3DFORMAT format, int w, int h, std::vector<uint32_t>* out) {
  out->resize(static_cast<size_t>(w) * h);
  const uint8_t* base = static_cast<const uint8_t*>(lock.pBits);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = base + static_cast<size_t>(y) * lock.Pitch;
    uint32_t* dst = out->data() + static_cast<size_t>(y) * w;
    for (int x = 0; x < w; ++x) {
      switch (format) {
        case D3DFMT_X8R8G8B8:
        case D3DFMT_A8R8G8B8:
          dst[x] = reinterpret_cast<const uint32_t*>(row)[x];
          break;
        case D3DFMT_R5G6B5: {
          uint32_t p = reinterpret_cast<const uint16_t*>(row)[x];
          uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
          dst[x] = ((r * 255 / 31) << 16) | ((g * 255 / 63) << 8) | (b * 255 / 31);
          break;
        }
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5: {
          uint32_t p = reinterpret_cast<const uint16_t*>(row)[x];
          uint32_t r = (p >> 10) & 31, g = (p >> 5) & 31, b = p & 31;
          dst[x] = ((r * 255 / 31) << 16) | ((g * 255 / 31) << 8) | (b * 255 / 31);
          break;
        }
        default:
          return false;
      }
    }
  }
  return true;
}

}  // namespace

// The host's answers are read once per pass, not once per object.
void C3World::RunFirstPass(const D3DXMATRIX& view, const D3DXMATRIX& projection) {
  C3SceneHost* host = GetSceneHost();
  const bool debugRun = host->IsDebugRun();
  const char* disableText = host->GetDebugDisableRender();
  const C3Object* rider = HiddenRider();
  for (int i = 0; i < children.count; ++i) {
    C3Object* object = children.items[i];
    bool disabled = IsNameRenderDisabled(disableText, object->className);
    switch (RouteFirstPass(*object, disabled, !disabled && object == rider, debugRun)) {
      case FirstPassRoute::kSorted:
        sortedList.Add(object);
        break;
      case FirstPassRoute::kLate:
        lateList.Add(object);
        break;
      case FirstPassRoute::kDrawNow:
        object->SetViewProjection(&view, &projection);
        object->Render();
        break;
      case FirstPassRoute::kSkip:
        break;
    }
  }
}

void C3World::RunListPass(C4Collection& list, const D3DXMATRIX& view, const D3DXMATRIX& projection) {
  C3SceneHost* host = GetSceneHost();
  const bool debugRun = host->IsDebugRun();
  const char* disableText = host->GetDebugDisableRender();
  const C3Object* rider = HiddenRider();
  for (int i = 0; i < list.count; ++i) {
    C3Object* object = list.items[i];
    if (!DrawInListPass(*object, IsNameRenderDisabled(disableText, object->className), object == rider, debugRun))
      continue;
    object->SetViewProjection(&view, &projection);
    object->Render();
  }
}

HRESULT C3World::Render() {
  C3SceneHost* host = GetSceneHost();
  IDirect3DDevice9* device = host->GetDevice();
  if (!device) return 0;
  C3Camera* camera = GetMainCamera();
  const bool dual = host->IsDualView();
  const int views = dual ? 2 : 1;
  for (int v = 0; v < views; ++v) {
    currentView = v;
    X5RenderingScene* trail = renderingScenes[v];
    X1GlareBuffer* glare = glareBuffers[v];
    if (dual) {
      if (!trail && backBuffers[v]) FATAL_CHECK(device->SetRenderTarget(0, backBuffers[v]));
      if (camera) camera->SetEye(EyeForView(host->IsEyeSwapped(), v));
    }
    // The trail's own depth surface has no stencil to clear.
    if (trail) trail->BeginTarget();
    DWORD clearFlags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | (clearStencil_ && !trail ? D3DCLEAR_STENCIL : 0);
    C3DrawCounter::Clear(device, clearFlags, FogClearColor(host->GetFogColor()), 1.0f, 0);
    D3DXMATRIX view, projection;
    GetMainCameraMatrices(&view, &projection);
    if (SUCCEEDED(device->BeginScene())) {
      ResetServers();
      if (children.count > 0) {
        sortedList.ClearKeepStorage();
        lateList.ClearKeepStorage();
        host->SetFrameShaderConstants();
        RunFirstPass(view, projection);
        SortByDrawDepth(sortedList.items, sortedList.count);
        RunListPass(sortedList, view, projection);
        if (!trail) RunListPass(lateList, view, projection);
      }
      if (glare) glare->Render();
      device->EndScene();
    }
    if (!trail) continue;
    // The kept frames onto the screen, then the late pass over them.
    if (dual && backBuffers[v])
      device->SetRenderTarget(0, backBuffers[v]);
    else
      trail->EndTarget(true);
    if (SUCCEEDED(device->BeginScene())) {
      trail->Render();
      if (dual && camera) camera->SetEye(EyeForView(host->IsEyeSwapped(), v));
      if (children.count > 0) RunListPass(lateList, view, projection);
      device->EndScene();
    }
  }
  if (camera) camera->SetEye(kEyeCentre);
  if (captureRequested) {
    Capture(0);
    if (dual) Capture(1);
    captureRequested = 0;
  }
  return 0;
}

void C3World::RequestCapture() {
  captureRequested = 1;
  if (GetDebugLogLevel() >= 2) C3DrawCounter::RecordNextFrame();
}

// Failures here are logged and the file skipped: a screenshot never ends the run.
HRESULT C3World::Capture(int view) {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!device) return 0;
  std::string name = NextCaptureName(GetProgramFolder(), view, &captureCounter, CaptureFileExists);
  IDirect3DSurface9* back = nullptr;
  IDirect3DSurface9* resolved = nullptr;
  IDirect3DSurface9* copy = nullptr;
  HRESULT hr = device->GetBackBuffer(static_cast<UINT>(view), 0, D3DBACKBUFFER_TYPE_MONO, &back);
  D3DSURFACE_DESC desc{};
  if (SUCCEEDED(hr)) hr = back->GetDesc(&desc);
  IDirect3DSurface9* source = back;
  if (SUCCEEDED(hr) && desc.MultiSampleType != D3DMULTISAMPLE_NONE) {
    // Read-back needs a single-sample surface.
    hr = device->CreateRenderTarget(desc.Width, desc.Height, desc.Format, D3DMULTISAMPLE_NONE, 0, FALSE,
                                    &resolved, nullptr);
    if (SUCCEEDED(hr)) hr = device->StretchRect(back, nullptr, resolved, nullptr, D3DTEXF_NONE);
    source = resolved;
  }
  if (SUCCEEDED(hr))
    hr = device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy,
                                             nullptr);
  if (SUCCEEDED(hr)) hr = device->GetRenderTargetData(source, copy);
  if (FAILED(hr)) {
    LogPrint("KWEX Capture failed:%X\n", static_cast<unsigned>(hr));
  } else {
    D3DLOCKED_RECT lock;
    if (FAILED(copy->LockRect(&lock, nullptr, D3DLOCK_READONLY))) {
      LogPrint("KWEX 3\n");
    } else {
      std::vector<uint32_t> pixels;
      const int w = static_cast<int>(desc.Width), h = static_cast<int>(desc.Height);
      if (ToX8R8G8B8(lock, desc.Format, w, h, &pixels)) {
        // The program never makes the capture folder; without it nothing is saved.
        if (!WriteBmp24File(name.c_str(), pixels.data(), w, h, w * 4))
          LogPrint("KWEX Capture not written:%s\n", name.c_str());
      } else
        LogPrint("KWEX Capture format:%d\n", static_cast<int>(desc.Format));
      if (FAILED(copy->UnlockRect())) LogPrint("KWEX 3\n");
    }
  }
  if (copy) copy->Release();
  if (resolved) resolved->Release();
  if (back) back->Release();
  return 0;
}
