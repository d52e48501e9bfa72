#include "C6Flare.h"

#include "LightContent.h"
#include "LightTables.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

#define FLARE_CHECK(code) FatalCheck("C6Flare", __LINE__, __TIME__, (code))

namespace {

struct FlareVertex {
  float x, y, z;
  float u, v;
};
static_assert(sizeof(FlareVertex) == 20, "flare vertex is 20 bytes");

// A strip over the rectangle (0, 0) .. (0.1, -0.1333); the shader centres
// and scales it.
const FlareVertex kRectangle[4] = {
    {0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {0.1f, 0.0f, 0.0f, 1.0f, 0.0f},
    {0.0f, -0.1333f, 0.0f, 0.0f, 1.0f},
    {0.1f, -0.1333f, 0.0f, 1.0f, 1.0f},
};

}  // namespace

C6Flare::C6Flare() {
  SetClassName("C6Flare");
  flags |= kObjSorted;
  flags &= ~kObjAlwaysVisible;
  shaderDescriptors = g_FlareShaders;
  shaderCount = 1;
  stateRecords = g_FlareStates;
  for (int i = 0; i < LightContent::kFlareImageCount; ++i)
    AddTexture(LightContent::kFlareImages[i].data, LightContent::kFlareImages[i].size);
}

C6Flare::~C6Flare() = default;

HRESULT C6Flare::RestoreDeviceObjects() {
  HRESULT hr = C4VertexObject::RestoreDeviceObjects();
  if (hr != 0) return hr;
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!device || rectangle_.Buffer()) return 0;
  hr = rectangle_.Restore(device, sizeof(kRectangle), 0, D3DFVF_XYZ | D3DFVF_TEX1);
  if (hr != 0) return hr;
  return rectangle_.Upload(sizeof(kRectangle), kRectangle);
}

HRESULT C6Flare::InvalidateDeviceObjects() {
  rectangle_.Release();
  return C4VertexObject::InvalidateDeviceObjects();
}

HRESULT C6Flare::Move(float current, float previous) {
  C3World* scene = C3World::Current();
  if (C3Camera* camera = GetMainCamera()) {
    D3DXVECTOR3 eye;
    camera->GetPosition(&eye);
    const D3DXVECTOR3 light = scene ? scene->lightDirection : D3DXVECTOR3(0.0f, -1.0f, 0.0f);
    position = eye - kFlareDistance * light;
  }
  speed = 0.0f;
  C4VertexObject::Move(current, previous);
  if (current >= nextStep) {
    frameIndex = NextFlareFrame(frameIndex);
    nextStep = current + kFlareFrameTime;
  }
  return 0;
}

HRESULT C6Flare::Render() {
  C3World* scene = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  C3Camera* camera = GetMainCamera();
  if (!scene || !device || !camera || !rectangle_.Buffer() || vertexShaders.empty() || !scene->vsServer ||
      !scene->vbServer || !scene->sbServer)
    return 0;
  // The sun is hidden (behind the surface's crest, a structure, the floor).
  if (!(scene->rawLightValue > 0.0f)) return 0;
  if (!FlareScreenPosition(Shading().worldViewProjection, &screenX, &screenY)) return 0;
  D3DXVECTOR3 view;
  camera->GetDirection(&view);
  facing = FlareFacing(scene->lightDirection, view);

  scene->sbServer->SetSB(stateBlock);
  scene->vsServer->SetShaders(vertexShaders[0], nullptr, declarations[0]);
  FLARE_CHECK(device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS));
  FLARE_CHECK(device->SetRenderState(D3DRS_STENCILENABLE, FALSE));
  scene->vbServer->SetVB(0, rectangle_.Buffer(), sizeof(FlareVertex), true);  // the object's own buffer
  const bool glare = HasFlag(kObjGlarePass);
  for (int i = 0; i < kFlareElementCount; ++i) {
    const FlareElementDraw d = PlanFlareElement(i, screenX, screenY, facing, scene->lightValue, glare, frameIndex);
    IDirect3DTexture9* texture =
        d.texture >= 0 && static_cast<size_t>(d.texture) < textures.size() ? textures[d.texture] : nullptr;
    FLARE_CHECK(device->SetTexture(0, texture));
    FLARE_CHECK(device->SetRenderState(D3DRS_TEXTUREFACTOR, d.factor));
    const float place[4] = {d.x, d.y, 1.0f, 1.0f};
    const float size[4] = {d.size, 1.333f * d.size, 1.0f, 1.0f};
    SetVertexConstants(device, 45, place, 1);
    SetVertexConstants(device, 46, size, 1);
    FLARE_CHECK(C3DrawCounter::Draw(device, D3DPT_TRIANGLESTRIP, 0, 2));
  }
  FLARE_CHECK(device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL));
  return 0;
}
