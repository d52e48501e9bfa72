#include "MyApplication.h"

#include <d3dx9math.h>

#include "AppHooks.h"
#include "ApplicationHooks.h"
#include "DisplayOptions.h"
#include "Settings.h"
#include "common/SceneGlobals.h"
#include "config/X2FlockSet.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "status/C9DisplayInfo.h"
#include "world/C3Camera.h"

MyApplication* TheApp = nullptr;

namespace {
// The servers' choice between the pixel-shader and the fixed-function paths.
bool PixelShadersChosen() { return UsePixelShaders() != 0; }
}  // namespace

MyApplication::MyApplication() {
  LogPrint("constructor.\n");
  GetWindowNames(&m_windowTitle, &m_windowClass);
  m_enumeration.UsesDepthBuffer = true;
  m_enumeration.MinDepthBits = 24;
  m_startFullscreen = false;
  SetSceneHost(this);
  m_world = new C3World();
  for (C3ResourceServer* server : {static_cast<C3ResourceServer*>(m_world->vsServer),
                                    static_cast<C3ResourceServer*>(m_world->vbServer),
                                    static_cast<C3ResourceServer*>(m_world->sbServer)})
    if (server) server->SetPixelShaderQuery(PixelShadersChosen);
}

MyApplication::~MyApplication() {
  FinalCleanUp();
  SetSceneHost(nullptr);
}

bool MyApplication::PickFullscreenMode(bool, bool) {
  FullscreenKeys keys = ReadFullscreenKeys(MainIniPath());
  IDirect3D9* d3d = m_d3d;
  auto desktop = [d3d](UINT ordinal, D3DDISPLAYMODE* mode) {
    return d3d && SUCCEEDED(d3d->GetAdapterDisplayMode(ordinal, mode));
  };
  return ChooseFullscreenSettings(m_enumeration, keys, desktop, m_enumeration.UsesDepthBuffer, &m_settings);
}

HRESULT MyApplication::CheckDeviceCaps(D3DCAPS9* caps, DWORD behaviourFlags, D3DFORMAT, D3DFORMAT) {
  return CheckVertexProcessingCaps(caps, behaviourFlags);
}

LRESULT MyApplication::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  POINT cursor = m_mouseStart;
  if (message == WM_MOUSEMOVE) GetCursorPos(&cursor);
  MessageDecision decision = DecideWindowMessage(
      message, wParam, Mode(), GetTechSetting(kTechDisableMouseExit) != 0, m_mouseStart, cursor);
  if (m_world) {
    if (decision.capture) m_world->RequestCapture();
    if (decision.speedStep)
      m_world->SetSpeedFactor(NextSpeedFactor(m_world->GetSpeedFactor(), decision.speedStep));
  }
  if (ApplyMessageDecision(window, decision, cursor, &m_mouseStart)) return 0;
  m_arcball.OnMouseMessage(window, message, wParam, lParam);
  return C3Application::HandleWindowMessage(window, message, wParam, lParam);
}

HRESULT MyApplication::InitDeviceObjects() {
  LogPrint("init device objects %d.\n", ++m_initCount);
  if (m_world) m_world->InitDeviceObjects();
  return S_OK;
}

HRESULT MyApplication::RestoreDeviceObjects() {
  LogPrint("restore device objects %d.\n", ++m_restoreCount);
  if (m_world) FATAL_CHECK(m_world->RestoreDeviceObjects());
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  if (m_device) m_device->SetTransform(D3DTS_WORLD, &identity);
  RestoreRenderStates();
  m_arcball.SetWindow(static_cast<int>(m_backBufferDesc.Width), static_cast<int>(m_backBufferDesc.Height), 0.2f);
  m_arcball.SetTranslationRadius(5.0f);
  return S_OK;
}

// At log level 2 each once-a-second statistics line is followed by what the
// viewer sees: the fish drawn in the last frame and where the camera is.
void MyApplication::BuildStatsText() {
  const double lastStats = m_lastStatsTime;
  C3Application::BuildStatsText();
  if (m_lastStatsTime == lastStats || GetDebugLogLevel() < 2) return;
  D3DXVECTOR3 eye(0.0f, 0.0f, 0.0f);
  if (C3Camera* camera = GetMainCamera()) camera->GetPosition(&eye);
  LogPrint("view: %d fish, camera %.1f %.1f %.1f\n", TheDisplayInfo ? TheDisplayInfo->shownFishCount : 0,
           static_cast<double>(eye.x), static_cast<double>(eye.y), static_cast<double>(eye.z));
}

HRESULT MyApplication::Move() { return m_world ? m_world->Move(m_elapsedTime) : S_OK; }

HRESULT MyApplication::Render() {
  if (!m_world) return S_OK;
  m_world->PreRender();
  return m_world->Render();
}

HRESULT MyApplication::InvalidateDeviceObjects() {
  LogPrint("invalidate device objects %d.\n", ++m_invalidateCount);
  if (m_world) m_world->InvalidateDeviceObjects();
  return S_OK;
}

HRESULT MyApplication::DeleteDeviceObjects() {
  LogPrint("delete device objects %d.\n", ++m_deleteCount);
  if (m_world) m_world->DeleteDeviceObjects();
  return S_OK;
}

HRESULT MyApplication::FinalCleanUp() {
  LogPrint("final clean up.\n");
  // Deleting the world cleans up and deletes every registered object.
  delete m_world;
  m_world = nullptr;
  // The flocks listed the world's fish and the globals its objects: plug-ins
  // and hooks must not reach them now.
  TheFlocks.ClearFlocks();
  ClearSceneGlobals();
  SetMainCamera(nullptr);
  return S_OK;
}
