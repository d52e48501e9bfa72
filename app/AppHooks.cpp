#include "AppHooks.h"

#include <cmath>
#include <cstring>

#include "Settings.h"
#include "diagnostics/Diagnostics.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/StaticTables.h"

namespace {

// A key, a button or a long mouse move: ends the saver in the full-screen
// run (mode 0 never gets here with a device, but is treated the same).
MessageDecision KeyPress(int mode) {
  MessageDecision d;
  if (mode == kModeDebug) return d;  // on to the arcball and the base
  d.handled = true;
  d.logInput = true;
  d.postClose = (mode == kModePreview || mode == kModeFullScreen);
  return d;
}

}  // namespace

MessageDecision DecideWindowMessage(UINT message, WPARAM wParam, int mode, bool disableMouseExit,
                                    POINT mouseStart, POINT cursor) {
  MessageDecision d;
  switch (message) {
    case WM_ACTIVATEAPP:
      if (wParam == 0 && mode != kModeDebug) {
        d.handled = true;
        d.postClose = true;
      }
      return d;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kCmdIgnored:
          d.handled = true;
          break;
        case kCmdCapture:
          d.handled = true;
          d.capture = true;
          break;
        case kCmdSpeedUp:
          d.handled = true;
          d.speedStep = 1;
          break;
        case kCmdSpeedDown:
          d.handled = true;
          d.speedStep = -1;
          break;
        default:
          break;
      }
      return d;
    case WM_MOUSEMOVE: {
      if (mode == kModeDebug || disableMouseExit) return d;
      long long dx = static_cast<long long>(cursor.x) - mouseStart.x;
      long long dy = static_cast<long long>(cursor.y) - mouseStart.y;
      if ((dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy) < kMouseExitDistance) {
        d.newStartPoint = true;
        return d;
      }
      return KeyPress(mode);
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (disableMouseExit) return d;
      return KeyPress(mode);
    case WM_KEYDOWN:
      return KeyPress(mode);
    case WM_CONTEXTMENU:
      d.handled = true;
      return d;
    default:
      return d;
  }
}

bool ApplyMessageDecision(HWND window, const MessageDecision& decision, POINT cursor,
                          POINT* mouseStart) {
  if (decision.newStartPoint && mouseStart) *mouseStart = cursor;
  if (decision.logInput) LogPrint("get key/mouse\n");
  if (decision.postClose) PostMessageA(window, WM_CLOSE, 0, 0);
  return decision.handled;
}

float NextSpeedFactor(float current, int step) {
  if (!(current > 0.0f)) current = 1.0f;  // a broken factor starts over
  if (step > 0 && current < kMaxSpeedFactor) {
    current *= 2.0f;
    if (current > kMaxSpeedFactor) current = kMaxSpeedFactor;
  } else if (step < 0 && current > kMinSpeedFactor) {
    current *= 0.5f;
    if (current < kMinSpeedFactor) current = kMinSpeedFactor;
  }
  return current;
}

HRESULT CheckVertexProcessingCaps(const D3DCAPS9* caps, DWORD behaviourFlags) {
  if ((behaviourFlags & 0xFF) < 0x40) return S_OK;  // software vertex processing
  if (caps && caps->VertexShaderVersion >= 0xFFFE0100) return S_OK;
  return E_FAIL;
}

int UsePixelShadersFor(DWORD pixelShaderVersion) {
  return GetTechSetting(kTechPixelShader11) != 0 && pixelShaderVersion >= 0xFFFF0100 ? 1 : 0;
}

void ApplyRenderStates(IDirect3DDevice9* device, DWORD textureFilterCaps) {
  if (!device) return;
  for (DWORD stage = 0; stage < 6; ++stage) {
    device->SetSamplerState(stage, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(stage, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  }
  device->SetRenderState(D3DRS_ZENABLE, TRUE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device->SetRenderState(D3DRS_ALPHAREF, 1);
  device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
  device->SetRenderState(D3DRS_FOGENABLE, TRUE);
  device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
  device->SetRenderState(D3DRS_DITHERENABLE, TRUE);
  DWORD mip = 0;
  if (textureFilterCaps & D3DPTFILTERCAPS_MIPFLINEAR)
    mip = D3DTEXF_LINEAR;
  else if (textureFilterCaps & D3DPTFILTERCAPS_MIPFPOINT)
    mip = D3DTEXF_POINT;
  if (mip != 0) {
    for (DWORD stage = 0; stage < 4; ++stage) device->SetSamplerState(stage, D3DSAMP_MIPFILTER, mip);
  }
}

int GetMultiSurfaceCount() {
  switch (GetTechSetting(kTechMultiSurface)) {
    case 1: return 3;
    case 2: return 8;
    case 3: return 12;
    default: return 0;
  }
}

int IsMultiSurface() { return GetTechSetting(kTechMultiSurface) != 0 ? 1 : 0; }
float GetDefaultRange() { return 80.0f; }
int HideCameraObject() { return 1; }
int GetPanelLogLevel() { return 2; }
void CameraStartHook() {}

void ZeroBlock32(void* record) {
  if (record) memset(record, 0, 8 * sizeof(unsigned int));
}

LightsLevels LevelsForLights(int lights) {
  switch (lights) {
    case 0: return {0.5f, 0.5f, 0.2f};
    case 1: return {0.3f, 0.4f, 0.1f};
    case 2: return {0.2f, 0.3f, 0.05f};
    default: return {0.0f, 0.0f, 0.0f};
  }
}

D3DXVECTOR4 DefaultFogColor(int lights) {
  switch (lights) {
    case 0: return D3DXVECTOR4(0.0f, 0.4f, 1.0f, 1.0f);
    case 1: return D3DXVECTOR4(0.0f, 0.2f, 0.8f, 1.0f);
    case 2: return D3DXVECTOR4(0.0f, 0.1f, 0.4f, 0.6f);
    default: return D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f);
  }
}

D3DXVECTOR3 DefaultLightDirection() {
  // Exactly the float bits 0xBF3504E6 and 0x3F3504E6.
  return D3DXVECTOR3(0.0f, -0.70710599f, 0.70710599f);
}

D3DXVECTOR4 GetFogColor(const D3DXVECTOR4* fogObjectColour) {
  return fogObjectColour ? *fogObjectColour : DefaultFogColor(GetSceneSetting(kSceneLights));
}

D3DXVECTOR3 GetLightDirection(const D3DXVECTOR3* sunDirection) {
  return sunDirection ? *sunDirection : DefaultLightDirection();
}

D3DCOLOR PackFogColor(const D3DXVECTOR4& colour) { return ::PackFogColor(static_cast<const float*>(colour)); }

HRESULT WriteMatrixShaderConstants(IDirect3DDevice9* device, const D3DXMATRIX& world,
                                   const D3DXMATRIX& worldViewProjT, const D3DXMATRIX& worldViewT,
                                   const D3DXMATRIX& viewT) {
  D3DXMATRIX worldT;
  D3DXMatrixTranspose(&worldT, &world);
  HRESULT hr = S_OK;
  auto set = [&](UINT reg, const D3DXMATRIX& m, UINT rows) {
    HRESULT r = SetVertexConstants(device, reg, static_cast<const float*>(m), rows);
    if (FAILED(r) && SUCCEEDED(hr)) hr = r;
  };
  set(8, world, 4);
  set(0, worldViewProjT, 4);
  set(12, worldT, 4);
  set(16, worldT, 3);
  set(4, worldViewT, 4);
  set(19, viewT, 3);
  return hr;
}

HRESULT WriteFrameShaderConstants(IDirect3DDevice9* device, const FrameShaderInputs& in) {
  HRESULT hr = S_OK;
  auto set = [&](UINT reg, float x, float y, float z, float w) {
    const float v[4] = {x, y, z, w};
    HRESULT r = SetVertexConstants(device, reg, v, 1);
    if (FAILED(r) && SUCCEEDED(hr)) hr = r;
  };

  D3DXVECTOR3 toLight = -in.lightDirection;
  D3DXVec3Normalize(&toLight, &toLight);
  set(24, toLight.x, toLight.y, toLight.z, 1.0f);

  LightsLevels levels = LevelsForLights(in.lights);
  set(25, levels.ambient, levels.ambient, levels.ambient, 1.0f);
  set(26, levels.diffuse, levels.diffuse, levels.diffuse, 1.0f);
  float extra = 2.0f * levels.extra;
  set(27, extra, extra, extra, 1.0f);
  set(28, 0.0f, 0.0f, 0.0f, 20.0f);

  set(22, in.cameraPosition.x, in.cameraPosition.y, in.cameraPosition.z, 1.0f);

  for (int k = 0; k < kFishLightSlots; ++k) {
    const FishLightConstants& light = in.fishLights[k];
    if (!light.present) continue;
    const D3DXVECTOR4& c = light.colour;
    set(30 + 2 * k, c.x, c.y, c.z, c.w);
    const D3DXVECTOR3& p = light.fishPosition;
    set(29 + 2 * k, p.x, p.y, p.z, light.fishRotationX);
  }

  if (device) {
    HRESULT r = device->SetRenderState(D3DRS_FOGCOLOR, PackFogColor(in.fogColour));
    if (FAILED(r) && SUCCEEDED(hr)) hr = r;
  }
  return hr;
}
