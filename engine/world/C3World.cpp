#include "C3World.h"

#include "C3Camera.h"
#include "WorldPasses.h"
#include "buffers/X1GlareBuffer.h"
#include "buffers/X5RenderingScene.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "util/ComRelease.h"

C3World* C3World::s_current = nullptr;

namespace {

// The frame move walks thousands of fish, each in its own block of memory
// with its AI object beside it, and waiting for each one to come in from
// memory as its Move starts costs more than the step itself. So the loop
// asks for the memory of the children ahead of it: the start of an object
// (a moving object's placement and matrices, and the members a fish adds
// after them) eight places ahead, and the start of its AI object, whose
// address the object holds, four places ahead.
constexpr int kPrefetchObjectAhead = 8;
constexpr int kPrefetchAIAhead = 4;
constexpr int kPrefetchObjectBytes = 960;
constexpr int kPrefetchAIBytes = 192;

void PrefetchObject(const C3Object* child) {
  const char* object = reinterpret_cast<const char*>(child);
  for (int at = 0; at < kPrefetchObjectBytes; at += 64) __builtin_prefetch(object + at);
}

void PrefetchAI(const C3Object* child) {
  if (const char* ai = reinterpret_cast<const char*>(child->ai))
    for (int at = 0; at < kPrefetchAIBytes; at += 64) __builtin_prefetch(ai + at);
}

}  // namespace

C3World::C3World() {
  SetClassName("C3World");
  vsServer = new VSServer;
  vbServer = new VBServer;
  sbServer = new SBServer;
  s_current = this;
}

C3World::~C3World() {
  FinalCleanUp();
  if (s_current == this) s_current = nullptr;
}

void C3World::DeleteServers() {
  delete vbServer;
  delete vsServer;
  delete sbServer;
  vbServer = nullptr;
  vsServer = nullptr;
  sbServer = nullptr;
}

void C3World::DeleteViewBuffers() {
  for (auto& scene : renderingScenes) {
    delete scene;
    scene = nullptr;
  }
  for (auto& glare : glareBuffers) {
    delete glare;
    glare = nullptr;
  }
}

int C3World::ViewCount() const { return GetSceneHost()->IsDualView() ? 2 : 1; }

void C3World::AddChild(C3Object* object) {
  if (!object) return;
  object->listIndex = children.count;
  children.Add(object);
  LogPrint("WORLD AddChild : %s\n", object->className);
  if (deviceObjectsMade_) object->InitDeviceObjects();
  if (deviceObjectsRestored_ && object->RestoreDeviceObjects() != 0)
    LogPrint("KWEX Restore Fail:%s\n", object->className);
}

bool C3World::HasChild(const C3Object* object) const {
  if (!object) return false;
  const int at = object->listIndex;
  return at >= 0 && at < children.count && children.items[at] == object;
}

bool C3World::IsRenderDisabled(const C3Object* object) const {
  return IsNameRenderDisabled(GetSceneHost()->GetDebugDisableRender(), object->className);
}

const C3Object* C3World::HiddenRider() const {
  C3Camera* camera = GetMainCamera();
  if (!camera || !GetSceneHost()->HideCameraObject()) return nullptr;
  return camera->GetRiderObject();
}

void C3World::SetSpeedFactor(float factor) { clockB.SetScale(ClampSpeedFactor(factor)); }

void C3World::ResetServers() {
  if (vbServer) vbServer->ResetStreams();
  if (vsServer) vsServer->ResetCurrent();
  if (sbServer) sbServer->ResetCurrent();
}

HRESULT C3World::InitDeviceObjects() {
  // The servers learn the device first: children load their meshes through
  // them during their own init.
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (vsServer) vsServer->InitDeviceObjects(device);
  if (vbServer) vbServer->InitDeviceObjects(device);
  if (sbServer) sbServer->InitDeviceObjects(device);
  // A second init (after the device was deleted and made again) keeps the
  // objects made by the first.
  C3SceneHost* host = GetSceneHost();
  const int kept = host->GetMultiSurfaceCount();
  for (int v = 0; v < ViewCount(); ++v) {
    if (kept > 0 && !renderingScenes[v]) renderingScenes[v] = new X5RenderingScene(static_cast<unsigned>(kept));
    if (renderingScenes[v]) renderingScenes[v]->InitDeviceObjects();
  }
  for (int v = 0; v < ViewCount(); ++v) {
    if (host->IsMultiSurface() && !glareBuffers[v]) glareBuffers[v] = new X1GlareBuffer;
    if (glareBuffers[v]) glareBuffers[v]->InitDeviceObjects();
  }
  for (int i = 0; i < children.count; ++i) children.items[i]->InitDeviceObjects();
  deviceObjectsMade_ = true;
  return 0;
}

HRESULT C3World::RestoreDeviceObjects() {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  for (C3Object* buffer : {static_cast<C3Object*>(renderingScenes[0]), static_cast<C3Object*>(renderingScenes[1]),
                           static_cast<C3Object*>(glareBuffers[0]), static_cast<C3Object*>(glareBuffers[1])}) {
    if (!buffer) continue;
    HRESULT hr = buffer->RestoreDeviceObjects();
    if (hr != 0) {
      LogPrint("KWEX Restore Fail:%s\n", buffer->className);
      return hr;
    }
  }
  for (int i = 0; i < children.count; ++i) {
    C3Object* child = children.items[i];
    if (device) LogPrint("Texture MEMORY %s : %X\n", child->className, device->GetAvailableTextureMem());
    HRESULT hr = child->RestoreDeviceObjects();
    if (hr != 0) {
      LogPrint("KWEX Restore Fail:%s\n", child->className);
      return hr;
    }
  }
  C3ResourceServer* servers[] = {vsServer, vbServer, sbServer};
  for (C3ResourceServer* server : servers) {
    if (!server || !device) continue;
    HRESULT hr = FATAL_CHECK(server->RestoreDeviceObjects());
    if (hr != 0) return hr;
  }
  deviceObjectsRestored_ = true;
  clearStencil_ = false;
  if (!device) return 0;
  IDirect3DSurface9* depth = nullptr;
  if (SUCCEEDED(device->GetDepthStencilSurface(&depth)) && depth) {
    D3DSURFACE_DESC desc;
    if (SUCCEEDED(depth->GetDesc(&desc)))
      clearStencil_ = desc.Format == D3DFMT_D24S8 || desc.Format == D3DFMT_D15S1 ||
                      desc.Format == D3DFMT_D24X4S4 || desc.Format == D3DFMT_D24FS8;
    depth->Release();
  }
  if (GetSceneHost()->IsDualView()) {
    ReleaseBackBuffers();
    UINT chains = device->GetNumberOfSwapChains();
    for (UINT i = 0; i < chains && i < 2; ++i) {
      IDirect3DSwapChain9* chain = nullptr;
      FATAL_CHECK(device->GetSwapChain(i, &chain));
      FATAL_CHECK(chain->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &backBuffers[i]));
      chain->Release();
      swapChainCount = static_cast<int>(i + 1);
    }
  }
  return 0;
}

void C3World::ReleaseBackBuffers() {
  for (auto& surface : backBuffers) SafeRelease(surface);
  swapChainCount = 0;
}

HRESULT C3World::InvalidateDeviceObjects() {
  deviceObjectsRestored_ = false;
  for (auto* scene : renderingScenes)
    if (scene) scene->InvalidateDeviceObjects();
  for (auto* glare : glareBuffers)
    if (glare) glare->InvalidateDeviceObjects();
  for (int i = children.count - 1; i >= 0; --i) children.items[i]->InvalidateDeviceObjects();
  if (vsServer) vsServer->InvalidateDeviceObjects();
  if (vbServer) vbServer->InvalidateDeviceObjects();
  if (sbServer) sbServer->InvalidateDeviceObjects();
  ReleaseBackBuffers();
  return 0;
}

HRESULT C3World::DeleteDeviceObjects() {
  deviceObjectsRestored_ = false;
  deviceObjectsMade_ = false;
  for (auto* scene : renderingScenes)
    if (scene) scene->DeleteDeviceObjects();
  for (auto* glare : glareBuffers)
    if (glare) glare->DeleteDeviceObjects();
  for (int i = children.count - 1; i >= 0; --i) children.items[i]->DeleteDeviceObjects();
  if (vsServer) vsServer->DeleteDeviceObjects();
  if (vbServer) vbServer->DeleteDeviceObjects();
  if (sbServer) sbServer->DeleteDeviceObjects();
  return 0;
}

HRESULT C3World::FinalCleanUp() {
  DeleteServers();
  DeleteViewBuffers();
  ReleaseBackBuffers();
  for (int i = children.count - 1; i >= 0; --i) {
    C3Object* child = children.items[i];
    children.items[i] = nullptr;
    if (GetMainCamera() && static_cast<C3Object*>(GetMainCamera()) == child) SetMainCamera(nullptr);
    child->FinalCleanUp();
    delete child;
  }
  children.ClearKeepStorage();
  return 0;
}

HRESULT C3World::PreRender() {
  for (int i = 0; i < children.count; ++i) children.items[i]->PreRender();
  return 0;
}

HRESULT C3World::Move(float elapsed) {
  C3SceneHost* host = GetSceneHost();
  host->ResetHalationFlag();
  if (!host->IsScenePaused()) {
    clockA.Advance(elapsed);
    clockB.Advance(elapsed);
  }
  if (!started && clockA.GetCurrent() > 10.0f) {
    started = 1;
    host->CameraStartHook();
  }
  if (!settled && clockA.GetCurrent() > 20.0f) settled = 1;
  ResetServers();
  lightDirection = host->GetLightDirection();
  lightValue = rawLightValue = host->GetSunVisibility();
  const float a = clockA.GetCurrent(), aPrevious = clockA.GetPrevious();
  for (auto* scene : renderingScenes)
    if (scene) scene->Move(a, aPrevious);
  for (int i = 0; i < children.count; ++i) {
    if (i + kPrefetchObjectAhead < children.count) PrefetchObject(children.items[i + kPrefetchObjectAhead]);
    if (i + kPrefetchAIAhead < children.count) PrefetchAI(children.items[i + kPrefetchAIAhead]);
    C3Object* child = children.items[i];
    const C3TimeLine& clock = child->HasFlag(kObjUnscaledClock) ? clockA : clockB;
    child->Move(clock.GetCurrent(), clock.GetPrevious());
  }
  if (!host->IsDualView()) {
    if (glareBuffers[0]) glareBuffers[0]->Move(a, aPrevious);
    return 0;
  }
  // Dual view: each glare buffer sees the scene from its own eye.
  C3Camera* camera = GetMainCamera();
  const bool swapped = host->IsEyeSwapped();
  for (int v = 0; v < 2; ++v) {
    if (!glareBuffers[v]) continue;
    if (camera) camera->SetEye(EyeForView(swapped, v));
    glareBuffers[v]->Move(a, aPrevious);
  }
  if (camera) camera->SetEye(kEyeCentre);
  return 0;
}
