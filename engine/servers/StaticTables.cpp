#include "StaticTables.h"

#include <cmath>
#include <initializer_list>

#include "EngineData.h"
#include "StateRecordList.h"

float g_Pi;
float g_TwoPi;
float g_HalfPi;

const D3DVERTEXELEMENT9 kDeclPosTex[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END()};

const D3DVERTEXELEMENT9 kDeclPosNormalTex[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END()};

namespace {

using namespace EngineData;

constexpr uint32_t kEnd = StateRecordList::kEnd;
constexpr uint32_t kFogPlaceholder = 0;

// Render-state ids and values, as the lists spell them.
enum : uint32_t {
  ZWRITE = D3DRS_ZWRITEENABLE, BLEND = D3DRS_ALPHABLENDENABLE, SRC = D3DRS_SRCBLEND,
  DEST = D3DRS_DESTBLEND, FOG = D3DRS_FOGENABLE, FOGCOLOR = D3DRS_FOGCOLOR, CULL = D3DRS_CULLMODE,
  SRCALPHA = D3DBLEND_SRCALPHA, INVSRCALPHA = D3DBLEND_INVSRCALPHA, ONE = D3DBLEND_ONE,
  NONE = D3DCULL_NONE, CW = D3DCULL_CW,
  COLOUR = StateRecordList::kColourStage, ALPHA = StateRecordList::kAlphaStage,
  PIXEL_END = StateRecordList::kFixedFunctionEnd,
  DISABLE = D3DTOP_DISABLE, SELECT1 = D3DTOP_SELECTARG1, MODULATE = D3DTOP_MODULATE,
  DIFFUSE = D3DTA_DIFFUSE, TEXTURE = D3DTA_TEXTURE, TFACTOR = D3DTA_TFACTOR,
};

// The fog colour used before any setting is read.
const float kDefaultFog[4] = {0.0f, 0.2f, 0.4f, 1.0f};

// Writes the value of the first FOGCOLOR record among the list's leading
// render-state records.
void SetFogWord(uint32_t* list, uint32_t colour) {
  for (int i = 0; i < 64 && list[i] != kEnd && list[i] != COLOUR && list[i] != ALPHA && list[i] != PIXEL_END;
       i += 2) {
    if (list[i] == FOGCOLOR) {
      list[i + 1] = colour;
      return;
    }
  }
}

struct StartUp {
  StartUp() { CompleteStaticTables(kDefaultFog); }
} g_startUp;

}  // namespace

uint32_t g_StateListS1[] = {
    ZWRITE, 1, BLEND, 0, SRC, SRCALPHA, DEST, INVSRCALPHA, FOG, 0, FOGCOLOR, kFogPlaceholder,
    CULL, CW,
    COLOUR, 3, 0, MODULATE, DIFFUSE, TEXTURE,
    ALPHA, 3, 0, MODULATE, DIFFUSE, TEXTURE,
    COLOUR, 1, 1, DISABLE,
    ALPHA, 1, 1, DISABLE,
    kEnd};

uint32_t g_StateListS2[] = {
    ZWRITE, 1, BLEND, 0, SRC, SRCALPHA, DEST, INVSRCALPHA, FOG, 0, FOGCOLOR, kFogPlaceholder,
    CULL, NONE,
    COLOUR, 2, 0, SELECT1, TEXTURE,
    ALPHA, 2, 0, SELECT1, TEXTURE,
    COLOUR, 1, 1, DISABLE,
    ALPHA, 1, 1, DISABLE,
    kEnd};

uint32_t g_StateListS3[] = {
    ZWRITE, 0, BLEND, 0, SRC, SRCALPHA, DEST, INVSRCALPHA, FOG, 0, FOGCOLOR, kFogPlaceholder,
    CULL, NONE,
    COLOUR, 2, 0, SELECT1, TEXTURE,
    ALPHA, 2, 0, SELECT1, TEXTURE,
    COLOUR, 1, 1, DISABLE,
    ALPHA, 1, 1, DISABLE,
    kEnd};

uint32_t g_StateListS4[] = {
    ZWRITE, 0, BLEND, 1, SRC, ONE, DEST, ONE, FOG, 0, FOGCOLOR, kFogPlaceholder,
    CULL, NONE,
    COLOUR, 2, 0, SELECT1, TEXTURE,
    ALPHA, 2, 0, SELECT1, TEXTURE,
    COLOUR, 1, 1, DISABLE,
    ALPHA, 1, 1, DISABLE,
    kEnd};

uint32_t g_StateListS5[] = {
    ZWRITE, 0, SRC, SRCALPHA, DEST, INVSRCALPHA, FOG, 0, FOGCOLOR, kFogPlaceholder,
    CULL, NONE, BLEND, 1,
    COLOUR, 2, 0, SELECT1, TEXTURE,
    ALPHA, 3, 0, MODULATE, TEXTURE, TFACTOR,
    COLOUR, 1, 1, DISABLE,
    ALPHA, 1, 1, DISABLE,
    kEnd};

const uint32_t g_TexturePanelStates[] = {
    ZWRITE, 1, BLEND, 1, SRC, SRCALPHA, DEST, INVSRCALPHA, FOG, 0, CULL, NONE,
    COLOUR, 2, 0, SELECT1, TEXTURE,
    ALPHA, 3, 0, MODULATE, TEXTURE, TFACTOR,
    COLOUR, 1, 1, DISABLE,
    ALPHA, 1, 1, DISABLE,
    kEnd};

#define QV_VERTEX_SHADER(name, decl) \
  {ShaderDescriptor::kVertexText, decl, kShaderData + k##name, kShaderData + k##name##Record}
#define QV_PIXEL_SHADER(name) \
  {ShaderDescriptor::kPixelText, nullptr, kShaderData + k##name, kShaderData + k##name##Record}

const ShaderDescriptor g_RenderingBufferShaders[2] = {
    QV_VERTEX_SHADER(CopyVs, kDeclPosTex),
    QV_PIXEL_SHADER(CopyPs),
};

const ShaderDescriptor g_GlareBufferShaders[4] = {
    QV_VERTEX_SHADER(CopyVs, kDeclPosTex),
    QV_PIXEL_SHADER(CopyPs),
    QV_VERTEX_SHADER(FourTapVs, kDeclPosTex),
    QV_PIXEL_SHADER(FourTapPs),
};

const ShaderDescriptor g_RenderingSceneShaders[2] = {
    QV_VERTEX_SHADER(WaveVs, kDeclPosNormalTex),
    QV_PIXEL_SHADER(CopyPs),
};

const ShaderDescriptor g_TexturePanelShaders[1] = {
    QV_VERTEX_SHADER(CopyVs, kDeclPosTex),
};

const ShaderDescriptor g_TexViewerShaders[1] = {
    QV_VERTEX_SHADER(CopyVs, kDeclPosTex),
};

#undef QV_VERTEX_SHADER
#undef QV_PIXEL_SHADER

uint32_t PackFogColor(const float rgba[4]) {
  auto channel = [](float v) -> uint32_t {
    if (!(v > 0.0f)) return 0;  // NaN too
    if (v >= 1.0f) return 255;
    return static_cast<uint32_t>(255.0f * v + 0.5f);
  };
  return channel(rgba[3]) << 24 | channel(rgba[0]) << 16 | channel(rgba[1]) << 8 | channel(rgba[2]);
}

void CompleteStaticTables(const float fogRgba[4]) {
  g_Pi = 4.0f * static_cast<float>(std::atan2(1.0, 1.0));
  g_TwoPi = 2.0f * g_Pi;
  g_HalfPi = g_Pi * 0.5f;
  const uint32_t colour = PackFogColor(fogRgba);
  for (uint32_t* list : {g_StateListS1, g_StateListS2, g_StateListS3, g_StateListS4, g_StateListS5})
    SetFogWord(list, colour);
}
