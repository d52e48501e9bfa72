#include "C4RenderTexture.h"

#include <cmath>
#include <cstring>

#include "CloneAtlas.h"
#include "CloneQuads.h"
#include "EngineData.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"
#include "fish/C6Fish.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/StaticTables.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "util/ComRelease.h"
#include "util/EngineUtil.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

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

// The billboard shader's tile of the atlas: (u, v) x c40.zw + c40.xy.
constexpr UINT kTileConstant = 40;

// Shared by every render texture: made by the first restore, released at
// invalidation (the next restore makes it again).
IDirect3DVertexBuffer9* g_cloneBuffer = nullptr;
int g_segmentCounter = 0;
int g_instances = 0;

bool MatrixHasNaN(const D3DXMATRIX& m) {
  const float* f = m;
  return HasNaN4(f) || HasNaN4(f + 4) || HasNaN4(f + 8) || HasNaN4(f + 12);
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

void C4RenderTexture::ReleaseDeviceResources(bool shared) {
  CloneAtlas& atlas = CloneAtlas::Instance();
  atlas.Leave(this);
  pendingSource_ = nullptr;
  if (shared) {
    atlas.ReleaseDeviceObjects();
    SafeRelease(g_cloneBuffer);
  }
}

void C4RenderTexture::SetSource(C6Fish* source) { source_ = source; }

void C4RenderTexture::AddObject(C6Fish* clone) {
  if (!clone || clones_.Contains(clone)) return;
  // After a restore the array follows the collection (grown first, so that
  // memory running out leaves the clone unlisted).
  if (!vertices_.empty() && vertices_.size() < CloneArrayFloats(clones_.count + 1))
    vertices_.resize(CloneArrayFloats(clones_.count + 1));
  clones_.Add(clone);
}

HRESULT C4RenderTexture::RestoreDeviceObjects() {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!device) return 0;
  // A second restore without invalidation must not leak the first one's objects.
  ReleaseDeviceResources(false);
  if (source_) textureSize_ = source_->renderTextureSize;
  CloneAtlas::Instance().Join(this, RenderTargetEdge(textureSize_));
  segmentSize_ = kCloneSegmentBytes;
  HRESULT hr = 0;
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
  CloneAtlas& atlas = CloneAtlas::Instance();
  C3Camera* camera = GetMainCamera();
  if (!camera || !atlas.HasJoined(this)) return;
  // A source bound after the restore brings its own picture size.
  if (source->renderTextureSize != textureSize_) {
    textureSize_ = source->renderTextureSize;
    atlas.Join(this, RenderTargetEdge(textureSize_));
  }
  D3DXVECTOR3 eye;
  camera->GetPosition(&eye);
  D3DXVECTOR3 toSource = source->position - eye;
  float d = D3DXVec3Length(&toSource);
  if (!(d >= 1.0f)) return;
  D3DXVECTOR3 direction;
  camera->GetDirection(&direction);
  float length = D3DXVec3Length(&direction);
  if (!(length > 0.5f)) direction = toSource / d;  // camera without a usable target
  SourceViewProjection(source->position, direction, d, extent_, &sourceView_, &sourceProjection_);
  pendingSource_ = source;
  atlas.Queue(this);
  // The clone decisions of this frame's move count on the picture; should
  // the atlas fail to draw it, CaptureFailed takes that back.
  source->sourceCaptured = 1;
}

void C4RenderTexture::DrawSource() {
  C6Fish* source = pendingSource_;
  pendingSource_ = nullptr;
  if (!source) return;
  source->SaveMatrices();
  source->drawingIntoTexture = 1;
  source->SetViewProjection(&sourceView_, &sourceProjection_);
  source->Render();
  source->drawingIntoTexture = 0;
  source->RestoreMatrices();
}

void C4RenderTexture::CaptureFailed() {
  if (pendingSource_) pendingSource_->sourceCaptured = 0;
  pendingSource_ = nullptr;
  // Decided again: with no picture every clone is drawn as itself.
  quadCount_ = BuildCloneQuads(clones_.items, clones_.count, hasEye_ ? &eye_ : nullptr, &vertices_);
}

HRESULT C4RenderTexture::PreRender() {
  CloneAtlas::Instance().Flush(GetSceneHost()->GetDevice());
  return 0;
}

HRESULT C4RenderTexture::Move(float, float) {
  C3Camera* camera = GetMainCamera();
  eye_ = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  if (camera) camera->GetPosition(&eye_);
  hasEye_ = camera != nullptr;
  quadCount_ = BuildCloneQuads(clones_.items, clones_.count, hasEye_ ? &eye_ : nullptr, &vertices_);
  return 0;
}

HRESULT C4RenderTexture::Render() {
  if (clones_.count == 0 || quadCount_ == 0) return 0;
  C3World* world = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!world || !device || !g_cloneBuffer || vertexShaders.size() < 2) return 0;
  IDirect3DTexture9* page = nullptr;
  AtlasTileCoords tile{};
  if (!CloneAtlas::Instance().Picture(this, &page, &tile)) return 0;
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
  const float tileConstant[4] = {tile.offsetU, tile.offsetV, tile.scaleU, tile.scaleV};
  RT_CHECK(SetVertexConstants(device, kTileConstant, tileConstant, 1));
  RT_CHECK(device->SetTexture(0, page));
  for (const CloneSegmentDraw& draw : PlanCloneDraws(&g_segmentCounter, quadCount_)) {
    void* out = nullptr;
    RT_CHECK(g_cloneBuffer->Lock(draw.offset, draw.lockBytes, &out, draw.lockFlags));
    std::memcpy(out, vertices_.data() + static_cast<size_t>(draw.firstQuad) * kCloneQuadFloats, draw.lockBytes);
    RT_CHECK(g_cloneBuffer->Unlock());
    // No mesh buffer: bound without the server's registration test, whose
    // report in a debug run costs 100 ms per draw.
    world->vbServer->SetVB(0, g_cloneBuffer, kCloneVertexBytes, true);
    world->vsServer->SetShaders(vertexShaders[0], vertexShaders[1], declarations[0]);
    DWORD passes = 0;
    RT_CHECK(device->ValidateDevice(&passes));
    RT_CHECK(C3DrawCounter::Draw(device, D3DPT_TRIANGLESTRIP, draw.firstVertex, draw.primitives));
  }
  // The atlas is drawn into again next frame; it must not stay bound.
  RT_CHECK(device->SetTexture(0, nullptr));
  return 0;
}
