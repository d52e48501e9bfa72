#include "C4RenderTexture.h"

#include <cmath>
#include <cstring>

#include "C3Camera.h"
#include "C3DrawCounter.h"
#include "C3SceneHost.h"
#include "C3World.h"
#include "C6Fish.h"
#include "CloneQuads.h"
#include "Diagnostics.h"
#include "EngineData.h"
#include "EngineUtil.h"
#include "SBServer.h"
#include "ShaderConstantCopy.h"
#include "StaticTables.h"
#include "VBServer.h"
#include "VSServer.h"

#define RT_CHECK(code) FatalCheck("C4RenderTexture", __LINE__, __TIME__, (code))

namespace {

using EngineData::kShaderData;

// Billboard vertex shader and its pixel shader.
const ShaderDescriptor kCloneShaders[2] = {
    {ShaderDescriptor::kVertexText, kDeclPosNormalTex, kShaderData + EngineData::kCloneVs,
     kShaderData + EngineData::kCloneVsRecord},
    {ShaderDescriptor::kPixelText, nullptr, kShaderData + EngineData::kClonePs,
     kShaderData + EngineData::kClonePsRecord},
};

// Blended over the scene; the alpha test keeps the cleared background of
// the image out of the depth buffer.
const uint32_t kCloneStates[] = {
    D3DRS_ZWRITEENABLE, 1,
    D3DRS_ALPHABLENDENABLE, 1,
    D3DRS_SRCBLEND, D3DBLEND_SRCALPHA,
    D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA,
    D3DRS_ALPHATESTENABLE, 1,
    D3DRS_ALPHAREF, 8,
    D3DRS_ALPHAFUNC, D3DCMP_GREATER,
    D3DRS_FOGENABLE, 0,
    D3DRS_CULLMODE, D3DCULL_NONE,
    1, 2, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
    2, 2, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
    1, 1, 1, D3DTOP_DISABLE,
    2, 1, 1, D3DTOP_DISABLE,
    0xFFFFFFFFu};

// Shared by every render texture: made by the first restore, released at
// invalidation (the next restore makes it again).
IDirect3DVertexBuffer9* g_cloneBuffer = nullptr;
int g_segmentCounter = 0;
int g_instances = 0;

bool MatrixHasNaN(const D3DXMATRIX& m) {
  const float* f = m;
  return HasNaN4(f) || HasNaN4(f + 4) || HasNaN4(f + 8) || HasNaN4(f + 12);
}

template <typename T>
void ReleaseInterface(T** p) {
  if (*p) (*p)->Release();
  *p = nullptr;
}

}  // namespace

C4RenderTexture::C4RenderTexture() {
  SetClassName("C4RenderTexture");
  flags |= kObjAlwaysVisible;
  shaderDescriptors = kCloneShaders;
  shaderCount = 2;
  stateRecords = kCloneStates;
  ++g_instances;
}

C4RenderTexture::~C4RenderTexture() {
  --g_instances;
  ReleaseDeviceResources(g_instances == 0);
}

void C4RenderTexture::ReleaseDeviceResources(bool sharedBuffer) {
  ReleaseInterface(&targetSurface_);
  ReleaseInterface(&target_);
  ReleaseInterface(&savedTarget_);
  ReleaseInterface(&savedDepth_);
  if (sharedBuffer) ReleaseInterface(&g_cloneBuffer);
}

void C4RenderTexture::SetSource(C6Fish* source) { source_ = source; }

void C4RenderTexture::AddObject(C6Fish* clone) {
  if (!clone || clones_.Contains(clone)) return;
  clones_.Add(clone);
  // After a restore the array follows the collection.
  if (!vertices_.empty() && vertices_.size() < CloneArrayFloats(clones_.count))
    vertices_.resize(CloneArrayFloats(clones_.count));
}

HRESULT C4RenderTexture::RestoreDeviceObjects() {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!device) return 0;
  // A second restore without invalidation must not leak the first one's objects.
  ReleaseDeviceResources(false);
  if (source_) textureSize_ = source_->renderTextureSize;
  const UINT edge = static_cast<UINT>(RenderTargetEdge(textureSize_));
  HRESULT hr = RT_CHECK(device->CreateTexture(edge, edge, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                              D3DPOOL_DEFAULT, &target_, nullptr));
  if (hr != 0) return hr;
  if ((hr = RT_CHECK(target_->GetSurfaceLevel(0, &targetSurface_))) != 0) return hr;
  if ((hr = RT_CHECK(device->GetRenderTarget(0, &savedTarget_))) != 0) return hr;
  if ((hr = RT_CHECK(device->GetDepthStencilSurface(&savedDepth_))) != 0) return hr;
  segmentSize_ = kCloneSegmentBytes;
  if (!g_cloneBuffer) {
    hr = RT_CHECK(device->CreateVertexBuffer(kCloneBufferBytes, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0,
                                             D3DPOOL_DEFAULT, &g_cloneBuffer, nullptr));
    if (hr != 0) return hr;
  }
  // Built from the clones present now; clones added later grow it.
  vertices_.assign(CloneArrayFloats(clones_.count), 0.0f);
  return C4VertexObject::RestoreDeviceObjects();
}

// The clones stay: nobody adds them again after a reset, and the plug-in
// that bound them expects them drawn from the texture as before.
HRESULT C4RenderTexture::InvalidateDeviceObjects() {
  ReleaseDeviceResources(true);
  vertices_.clear();
  vertices_.shrink_to_fit();
  quadCount_ = 0;
  C4VertexObject::InvalidateDeviceObjects();
  C4VertexObject::FinalCleanUp();
  return 0;
}

HRESULT C4RenderTexture::FinalCleanUp() {
  ReleaseDeviceResources(g_instances <= 1);
  vertices_.clear();
  vertices_.shrink_to_fit();
  quadCount_ = 0;
  clones_.Clear();
  source_ = nullptr;
  return C4VertexObject::FinalCleanUp();
}

void C4RenderTexture::RenderSource(C6Fish* source) {
  if (!source) return;
  extent_ = source->renderTextureScale;
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  C3Camera* camera = GetMainCamera();
  if (!device || !camera || !targetSurface_ || !savedTarget_) return;
  D3DXVECTOR3 eye;
  camera->GetPosition(&eye);
  D3DXVECTOR3 toSource = source->position - eye;
  float d = D3DXVec3Length(&toSource);
  if (!(d >= 1.0f)) return;
  D3DXVECTOR3 direction;
  camera->GetDirection(&direction);
  float length = D3DXVec3Length(&direction);
  if (!(length > 0.5f)) direction = toSource / d;  // camera without a usable target

  RT_CHECK(device->SetRenderTarget(0, targetSurface_));
  RT_CHECK(device->SetDepthStencilSurface(savedDepth_));
  RT_CHECK(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0));
  D3DXMATRIX view, projection;
  SourceViewProjection(source->position, direction, d, extent_, &view, &projection);
  source->SetViewProjection(&view, &projection);
  // The pass runs in the frame move, before the world writes this frame's
  // light and camera constants: write them now, or the first picture after
  // a start or a reset is unlit.
  GetSceneHost()->SetFrameShaderConstants();
  bool drawn = false;
  if (SUCCEEDED(device->BeginScene())) {
    source->Render();
    RT_CHECK(device->EndScene());
    drawn = true;
  }
  RT_CHECK(device->SetRenderTarget(0, savedTarget_));
  RT_CHECK(device->SetDepthStencilSurface(savedDepth_));
  // An image that was not drawn must not be shown: the clones then draw themselves.
  if (drawn) source->sourceCaptured = 1;
}

HRESULT C4RenderTexture::Move(float, float) {
  C3Camera* camera = GetMainCamera();
  D3DXVECTOR3 eye(0.0f, 0.0f, 0.0f);
  if (camera) camera->GetPosition(&eye);
  quadCount_ = BuildCloneQuads(clones_.items, clones_.count, camera ? &eye : nullptr, &vertices_);
  return 0;
}

HRESULT C4RenderTexture::Render() {
  if (clones_.count == 0 || quadCount_ == 0) return 0;
  C3World* world = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!world || !device || !g_cloneBuffer || !target_ || vertexShaders.size() < 2) return 0;
  DebugPrint(3, "%d", quadCount_);
  world->sbServer->SetSB(stateBlock);
  D3DXMATRIX viewTransposed, projectionTransposed;
  D3DXMatrixTranspose(&viewTransposed, &view);
  D3DXMatrixTranspose(&projectionTransposed, &projection);
  if (MatrixHasNaN(viewTransposed) || MatrixHasNaN(projectionTransposed)) return 0;
  RT_CHECK(SetVertexConstants(device, 4, viewTransposed, 4));
  RT_CHECK(SetVertexConstants(device, 45, projectionTransposed, 4));
  const float extent[4] = {extent_, 1.0f, 1.0f, 1.0f};
  RT_CHECK(SetVertexConstants(device, 39, extent, 1));
  RT_CHECK(device->SetTexture(0, target_));
  for (const CloneSegmentDraw& draw : PlanCloneDraws(&g_segmentCounter, quadCount_)) {
    void* out = nullptr;
    RT_CHECK(g_cloneBuffer->Lock(draw.offset, draw.lockBytes, &out, draw.lockFlags));
    std::memcpy(out, vertices_.data() + static_cast<size_t>(draw.firstQuad) * kCloneQuadFloats, draw.lockBytes);
    RT_CHECK(g_cloneBuffer->Unlock());
    world->vbServer->SetVB(0, g_cloneBuffer, kCloneVertexBytes, false);
    world->vsServer->SetShaders(vertexShaders[0], vertexShaders[1], declarations[0]);
    DWORD passes = 0;
    RT_CHECK(device->ValidateDevice(&passes));
    RT_CHECK(C3DrawCounter::Draw(device, D3DPT_TRIANGLESTRIP, draw.firstVertex, draw.primitives));
  }
  // The target is drawn into again next frame; it must not stay bound.
  RT_CHECK(device->SetTexture(0, nullptr));
  return 0;
}
