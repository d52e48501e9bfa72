#include "C6FishTables.h"

#include "EngineData.h"
#include "servers/StateRecordList.h"
#include "servers/StaticTables.h"

using namespace staterecords;

// Stream 0: the 32-byte rest vertex; streams 1 to 3: a 24-byte position and
// normal each, in usage index = stream.
#define QV_FISH_REST_STREAM                                                                    \
  {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},                  \
      {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},               \
      {0, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0}
#define QV_FISH_STREAM(stream)                                                                  \
  {stream, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, stream},        \
      {stream, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, stream}

const D3DVERTEXELEMENT9 kFishMorphDecl[] = {QV_FISH_REST_STREAM, QV_FISH_STREAM(1), QV_FISH_STREAM(2),
                                            D3DDECL_END()};

// The morph layout with the partial-morph delta on stream 3.
const D3DVERTEXELEMENT9 kFishPartialDecl[] = {QV_FISH_REST_STREAM, QV_FISH_STREAM(1), QV_FISH_STREAM(2),
                                              QV_FISH_STREAM(3), D3DDECL_END()};

#undef QV_FISH_REST_STREAM
#undef QV_FISH_STREAM

#define QV_SHADER_BLOB(name) \
  EngineData::kShaderData + EngineData::k##name, EngineData::kShaderData + EngineData::k##name##Record
#define QV_VERTEX_SHADER(name, decl) {ShaderDescriptor::kVertexText, decl, QV_SHADER_BLOB(name)}
#define QV_PIXEL_SHADER(name) {ShaderDescriptor::kPixelText, nullptr, QV_SHADER_BLOB(name)}

const ShaderDescriptor g_FishShaders[kFishShaderCount] = {
    QV_VERTEX_SHADER(FishPartialVs, kFishPartialDecl),
    QV_PIXEL_SHADER(FishPs),
    QV_VERTEX_SHADER(FishStaticVs, kDeclPosNormalTex),
    QV_VERTEX_SHADER(FishMorphVs, kFishMorphDecl),
    QV_VERTEX_SHADER(FishPartialPsVs, kFishPartialDecl),
    QV_PIXEL_SHADER(FishPartialPs),
};

#undef QV_SHADER_BLOB
#undef QV_VERTEX_SHADER
#undef QV_PIXEL_SHADER

// Depth writes, back faces culled, fog from the vertex shader's fog value.
// Without pixel shaders the stages modulate the skin by the vertex colour and
// add the caustic on stage 1.
#define QV_FISH_STATES(blend)                                                                   \
  D3DRS_ZWRITEENABLE, 1, D3DRS_ALPHABLENDENABLE, blend, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA,      \
      D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA, D3DRS_FOGENABLE, 1, D3DRS_CULLMODE, D3DCULL_CCW,  \
      kPixelShaderEnd,                                                                          \
      COLOUR, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,                              \
      ALPHA, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,                               \
      COLOUR, 3, 1, D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_CURRENT,                                   \
      ALPHA, 2, 1, D3DTOP_SELECTARG1, D3DTA_CURRENT,                                            \
      COLOUR, 1, 2, D3DTOP_DISABLE,                                                             \
      ALPHA, 1, 2, D3DTOP_DISABLE,                                                              \
      kEnd

const uint32_t g_FishStates[] = {QV_FISH_STATES(1)};
const uint32_t g_FishCaptureStates[] = {QV_FISH_STATES(0)};

#undef QV_FISH_STATES
