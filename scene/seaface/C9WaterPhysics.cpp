#include "C9WaterPhysics.h"
#include "diagnostics/C3DrawCounter.h"

#include <utility>

#include "SeafaceContent.h"
#include "SeafaceTables.h"
#include "WaterSimulation.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "util/ComRelease.h"
#include "world/C3World.h"

#define WATER_CHECK(code) FatalCheck("C9WaterPhysics", __LINE__, __TIME__, (code))

namespace {

// First of the four offset registers of the offset vertex shader.
constexpr UINT kOffsetRegister = 39;

void SetSamplerFilters(IDirect3DDevice9* device, D3DTEXTUREFILTERTYPE filter) {
  for (DWORD s = 0; s < 4; ++s) {
    device->SetSamplerState(s, D3DSAMP_MINFILTER, filter);
    device->SetSamplerState(s, D3DSAMP_MAGFILTER, filter);
  }
}

}  // namespace

C9WaterPhysics::C9WaterPhysics() {
  SetClassName("C9WaterPhysics");
  flags |= kObjAlwaysVisible;
  shaderDescriptors = g_WaterPhysicsShaders;
  shaderCount = kWaterShaderCount;
  stateRecords = g_WaterPhysicsStates;
  singleLevelTextures = 1;
  // The first is the pattern the simulation is seeded with.
  AddTexture(SeafaceContent::kDisturbanceImage0.data, SeafaceContent::kDisturbanceImage0.size);
  AddTexture(SeafaceContent::kDisturbanceImage1.data, SeafaceContent::kDisturbanceImage1.size);
  AddTexture(SeafaceContent::kDisturbanceImage2.data, SeafaceContent::kDisturbanceImage2.size);
  AddTexture(SeafaceContent::kDisturbanceImage3.data, SeafaceContent::kDisturbanceImage3.size);
}

C9WaterPhysics::~C9WaterPhysics() { ReleaseTargets(); }

void C9WaterPhysics::ReleaseTargets() {
  for (int i = 0; i < kTargetCount; ++i) {
    SafeRelease(surfaces[i]);
    SafeRelease(targets[i]);
  }
  SafeRelease(savedTarget);
  SafeRelease(savedDepth);
}

HRESULT C9WaterPhysics::RestoreDeviceObjects() {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!device) return 0;
  const WaterOffsets o = MakeWaterOffsets(kSize);
  offsetCentre = o.centre;
  offsetLeft = o.left;
  offsetRight = o.right;
  offsetUp = o.up;
  offsetDown = o.down;
  ReleaseTargets();
  for (int i = 0; i < kTargetCount; ++i) {
    HRESULT hr = WATER_CHECK(device->CreateTexture(kSize, kSize, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                                   D3DPOOL_DEFAULT, &targets[i], nullptr));
    if (hr != 0) return hr;
    hr = WATER_CHECK(targets[i]->GetSurfaceLevel(0, &surfaces[i]));
    if (hr != 0) return hr;
  }
  HRESULT hr = square.CreateBuffer(device);
  if (hr != 0) return hr;
  hr = WATER_CHECK(device->GetRenderTarget(0, &savedTarget));
  if (hr != 0) return hr;
  // A device without a depth buffer answers NOTFOUND: nothing to keep.
  if (FAILED(device->GetDepthStencilSurface(&savedDepth))) savedDepth = nullptr;
  // New targets hold whatever the memory held: the next frame seeds afresh.
  frameCounter = 0;
  return C4VertexObject::RestoreDeviceObjects();
}

HRESULT C9WaterPhysics::InvalidateDeviceObjects() {
  ReleaseTargets();
  square.ReleaseBuffer();
  return C4VertexObject::InvalidateDeviceObjects();
}

void C9WaterPhysics::Seed(IDirect3DDevice9* device) {
  C3World* scene = C3World::Current();
  const struct {
    int target;
    D3DCOLOR colour;
  } clears[] = {{5, 0xFF808080u}, {0, 0xFF000000u}};
  for (const auto& c : clears) {
    device->SetRenderTarget(0, surfaces[c.target]);
    if (SUCCEEDED(device->BeginScene())) {
      C3DrawCounter::Clear(device, D3DCLEAR_TARGET, c.colour, 1.0f, 0);
      device->EndScene();
    }
  }
  device->SetRenderState(D3DRS_ZENABLE, FALSE);
  scene->sbServer->SetSB(stateBlock);
  device->SetRenderTarget(0, surfaces[0]);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  scene->vsServer->SetShaders(vertexShaders[kWaterCopyVs], nullptr, declarations[kWaterCopyVs]);
  square.SetStream(scene->vbServer);
  device->SetTexture(0, textures.empty() ? nullptr : textures[0]);
  if (SUCCEEDED(device->BeginScene())) {
    C3DrawCounter::Draw(device, D3DPT_TRIANGLEFAN, 0, 2);
    device->EndScene();
  }
}

void C9WaterPhysics::Pass(IDirect3DDevice9* device, int target, int pixelShader, const int* sources,
                          const D3DXVECTOR4* const* offsets, int count) {
  C3World* scene = C3World::Current();
  device->SetRenderTarget(0, surfaces[target]);
  if (FAILED(device->BeginScene())) return;
  for (int i = 0; i < count; ++i) {
    device->SetTexture(i, targets[sources[i]]);
    SetVertexConstants(device, kOffsetRegister + i, *offsets[i], 1);
  }
  scene->vsServer->SetShaders(vertexShaders[kWaterOffsetVs], vertexShaders[pixelShader],
                              declarations[kWaterOffsetVs]);
  C3DrawCounter::Draw(device, D3DPT_TRIANGLEFAN, 0, 2);
  device->EndScene();
}

HRESULT C9WaterPhysics::Move(float, float) {
  C3World* scene = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!scene || !device || !scene->vsServer || !scene->sbServer || !scene->vbServer || !targets[7] ||
      !square.Buffer() || vertexShaders.size() < kWaterShaderCount)
    return 0;
  SetSamplerFilters(device, D3DTEXF_POINT);
  if (frameCounter == 0) Seed(device);

  scene->sbServer->SetSB(stateBlock);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  device->SetRenderState(D3DRS_ZENABLE, FALSE);
  device->SetDepthStencilSurface(nullptr);
  square.SetStream(scene->vbServer);

  // Force: the discrete Laplacian of the height with a pull towards rest.
  {
    const int sources[] = {0, 0, 0, 0};
    const D3DXVECTOR4* offsets[] = {&offsetCentre, &offsetLeft, &offsetRight, &offsetUp};
    Pass(device, 3, kWaterForceAPs, sources, offsets, 4);
  }
  {
    const int sources[] = {0, 0, 3};
    const D3DXVECTOR4* offsets[] = {&offsetCentre, &offsetDown, &offsetCentre};
    Pass(device, 4, kWaterForceBPs, sources, offsets, 3);
  }
  // The velocity gains the force, the height the velocity.
  SetPixelConstants(device, 1, kWaterStepFactor, 1);
  {
    const int sources[] = {5, 4};
    const D3DXVECTOR4* offsets[] = {&offsetCentre, &offsetCentre};
    Pass(device, 6, kWaterVelocityPs, sources, offsets, 2);
  }
  {
    const int sources[] = {0, 6};
    const D3DXVECTOR4* offsets[] = {&offsetCentre, &offsetCentre};
    Pass(device, 1, kWaterHeightPs, sources, offsets, 2);
  }
  // Smoothed height: the four neighbours' texel centres (point sampling at
  // a texel's edge could pick either texel).
  {
    const int sources[] = {1, 1, 1, 1};
    const D3DXVECTOR4* offsets[] = {&offsetLeft, &offsetRight, &offsetUp, &offsetDown};
    Pass(device, 2, kWaterBlurPs, sources, offsets, 4);
  }
  // Normals from the slopes of the smoothed height.
  SetPixelConstants(device, 0, kWaterAxisX, 1);
  SetPixelConstants(device, 1, kWaterAxisY, 1);
  {
    const int sources[] = {2, 2, 2, 2};
    const D3DXVECTOR4* offsets[] = {&offsetLeft, &offsetRight, &offsetUp, &offsetDown};
    Pass(device, 7, kWaterNormalPs, sources, offsets, 4);
  }

  device->SetRenderTarget(0, savedTarget);
  device->SetDepthStencilSurface(savedDepth);
  device->SetRenderState(D3DRS_ZENABLE, TRUE);
  for (int i = 0; i < 4; ++i) device->SetTexture(i, nullptr);
  std::swap(targets[0], targets[1]);
  std::swap(surfaces[0], surfaces[1]);
  std::swap(targets[5], targets[6]);
  std::swap(surfaces[5], surfaces[6]);
  SetSamplerFilters(device, D3DTEXF_LINEAR);
  frameCounter = NextWaterFrame(frameCounter);
  return 0;
}
