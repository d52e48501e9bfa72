#include "EmptyScene.h"

#include "Diagnostics.h"

namespace {
constexpr D3DCOLOR kSeaBlue = D3DCOLOR_XRGB(0, 40, 96);
}

HRESULT EmptyScene::InitDeviceObjects(IDirect3DDevice9* device) {
  m_device = device;
  return S_OK;
}

HRESULT EmptyScene::RestoreDeviceObjects() {
#ifdef QV_FORCE_RESTORE_FAILURE
  // Test variant of the program: the device objects cannot be restored.
  return D3DERR_OUTOFVIDEOMEMORY;
#else
  return S_OK;
#endif
}

HRESULT EmptyScene::InvalidateDeviceObjects() { return S_OK; }

HRESULT EmptyScene::DeleteDeviceObjects() {
  m_device = nullptr;
  return S_OK;
}

HRESULT EmptyScene::Move(float) { return S_OK; }

HRESULT EmptyScene::PreRender() { return S_OK; }

HRESULT EmptyScene::Render() {
  if (!m_device) return S_OK;
  m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kSeaBlue, 1.0f, 0);
  if (SUCCEEDED(m_device->BeginScene())) m_device->EndScene();
  ++m_framesRendered;
  return S_OK;
}

HRESULT EmptyScene::FinalCleanUp() {
  m_device = nullptr;
  return S_OK;
}
