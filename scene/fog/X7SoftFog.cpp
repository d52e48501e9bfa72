#include "X7SoftFog.h"

#include <cmath>

#include "EngineData.h"
#include "FogImages.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"
#include "fish/FishMotion.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/StateRecordList.h"
#include "servers/StaticTables.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "util/EngineUtil.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

#define SOFTFOG_CHECK(code) FatalCheck("X7SoftFog", __LINE__, __TIME__, (code))

namespace {

const ShaderDescriptor kSoftFogShaders[2] = {
    {ShaderDescriptor::kVertexText, kDeclPosNormalTex, EngineData::kShaderData + EngineData::kSoftFogVs,
     EngineData::kShaderData + EngineData::kSoftFogVsRecord},
    {ShaderDescriptor::kPixelText, nullptr, EngineData::kShaderData + EngineData::kSoftFogPs,
     EngineData::kShaderData + EngineData::kSoftFogPsRecord},
};

// Blended one to one (the render turns the blend into a subtraction), no
// depth writes, no fog; without pixel shaders the sprite is scaled by the
// texture factor, which carries the alpha.
const uint32_t kSoftFogStates[] = {
    D3DRS_ZWRITEENABLE, 0,
    D3DRS_ALPHABLENDENABLE, 1,
    D3DRS_SRCBLEND, D3DBLEND_ONE,
    D3DRS_DESTBLEND, D3DBLEND_ONE,
    D3DRS_FOGENABLE, 0,
    D3DRS_CULLMODE, D3DCULL_NONE,
    StateRecordList::kFixedFunctionEnd,
    1, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_TFACTOR,
    2, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_TFACTOR,
    1, 1, 1, D3DTOP_DISABLE,
    2, 1, 1, D3DTOP_DISABLE,
    StateRecordList::kEnd};

// Edge of a sprite in view space.
const float kSoftFogScale[4] = {50.0f, 1.0f, 1.0f, 1.0f};

const void* const kSoftFogImages[kSoftFogTextures] = {FogImages::kSoftFog0, FogImages::kSoftFog1,
                                                      FogImages::kSoftFog2, FogImages::kSoftFog3};
const unsigned kSoftFogImageSizes[kSoftFogTextures] = {FogImages::kSoftFog0Size, FogImages::kSoftFog1Size,
                                                       FogImages::kSoftFog2Size, FogImages::kSoftFog3Size};

bool MatrixHasNaN(const D3DXMATRIX& m) {
  const float* f = m;
  return HasNaN4(f) || HasNaN4(f + 4) || HasNaN4(f + 8) || HasNaN4(f + 12);
}

}  // namespace

X7SoftFog::X7SoftFog() {
  SetClassName("X7SoftFog");
  flags |= kObjLate | kObjAlwaysVisible;
  shaderDescriptors = kSoftFogShaders;
  shaderCount = 2;
  stateRecords = kSoftFogStates;
  for (int i = 0; i < kSoftFogSprites; ++i) {
    sprites[i] = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    offsets[i] = D3DXVECTOR3(0.0f, (SceneRandom() - 0.5f) * 20.0f, 0.0f);
  }
  for (int t = 0; t < kSoftFogTextures; ++t) AddTexture(kSoftFogImages[t], kSoftFogImageSizes[t]);
}

X7SoftFog::~X7SoftFog() = default;

HRESULT X7SoftFog::RestoreDeviceObjects() {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!device) return 0;
  HRESULT hr = quads_.Restore(device, kSoftFogBufferBytes,
                               static_cast<size_t>(kSoftFogArrayVertices) * kSoftFogVertexFloats);
  if (hr != 0) return hr;
  quadCount = 0;
  return C4VertexObject::RestoreDeviceObjects();
}

HRESULT X7SoftFog::InvalidateDeviceObjects() {
  quads_.Release();
  quadCount = 0;
  return C4VertexObject::InvalidateDeviceObjects();
}

HRESULT X7SoftFog::DeleteDeviceObjects() {
  quadCount = 0;
  return C4VertexObject::DeleteDeviceObjects();
}

HRESULT X7SoftFog::FinalCleanUp() {
  quads_.Release();
  return C4VertexObject::FinalCleanUp();
}

HRESULT X7SoftFog::Move(float current, float previous) {
  if (spriteCount == 0) return 0;
  alpha = SoftFogAlpha(current);
  const int count = spriteCount < kSoftFogSprites ? spriteCount : kSoftFogSprites;
  const int textureCount = static_cast<int>(textureSources.size());
  quadCount = 0;
  SidePlanes planes;
  if (MainCameraSidePlanes(&planes)) {
    LayoutSoftFog(planes.eye, current, count, textureCount, offsets, sprites);
    if (quads_.Floats() != 0) {
      const int room = static_cast<int>(quads_.Floats() / kSoftFogQuadFloats);
      quadCount = BuildSoftFogQuads(sprites, count, textureCount, planes, quads_.Vertices(), room, groupCounts);
    }
  }
  return C4VertexObject::Move(current, previous);
}

HRESULT X7SoftFog::Render() {
  C3World* world = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (spriteCount == 0 || quadCount == 0 || !world || !device || !quads_.Buffer() || vertexShaders.size() < 2)
    return 0;
  world->sbServer->SetSB(stateBlock);
  D3DXMATRIX viewT, projectionT;
  D3DXMatrixTranspose(&viewT, &view);
  D3DXMatrixTranspose(&projectionT, &projection);
  if (MatrixHasNaN(viewT) || MatrixHasNaN(projectionT)) return 0;
  SOFTFOG_CHECK(SetVertexConstants(device, 4, viewT, 4));
  SOFTFOG_CHECK(SetVertexConstants(device, 45, projectionT, 4));
  SOFTFOG_CHECK(SetVertexConstants(device, 39, kSoftFogScale, 1));
  quads_.Upload(static_cast<size_t>(quadCount) * kSoftFogQuadBytes);
  world->vbServer->SetVB(0, quads_.Buffer(), kSoftFogVertexBytes, true);  // the object's own buffer
  world->vbServer->SetQuadIB();
  world->vsServer->SetShaders(vertexShaders[0], vertexShaders[1], declarations[0]);
  DWORD passes = 0;
  SOFTFOG_CHECK(device->ValidateDevice(&passes));
  // The alpha scales the sprites: through the texture factor for the fixed
  // stages, through pixel constant 0 for the pixel shader.
  const DWORD level = static_cast<DWORD>(std::trunc(alpha * 255.0f)) & 0xFF;
  SOFTFOG_CHECK(device->SetRenderState(D3DRS_TEXTUREFACTOR, level * 0x01010101u));
  const float shade[4] = {alpha, alpha, alpha, alpha};
  SOFTFOG_CHECK(SetPixelConstants(device, 0, shade, 1));
  SOFTFOG_CHECK(device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_REVSUBTRACT));
  SOFTFOG_CHECK(device->SetRenderState(D3DRS_ZENABLE, FALSE));
  SoftFogDraw draws[kSoftFogGroups];
  const int drawCount = PlanSoftFogDraws(groupCounts, draws);
  for (int k = 0; k < drawCount; ++k) {
    const SoftFogDraw& d = draws[k];
    if (static_cast<size_t>(d.texture) >= textures.size()) continue;
    SOFTFOG_CHECK(device->SetTexture(0, textures[d.texture]));
    SOFTFOG_CHECK(C3DrawCounter::DrawIndexed(device, D3DPT_TRIANGLELIST, d.baseVertex, 0, d.vertices, 0, d.triangles));
  }
  SOFTFOG_CHECK(device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD));
  SOFTFOG_CHECK(device->SetRenderState(D3DRS_ZENABLE, TRUE));
  return 0;
}
