#include "LightTables.h"

#include "EngineData.h"
#include "servers/StateRecordList.h"
#include "servers/StaticTables.h"

using namespace staterecords;

#define QV_SHADER_BLOB(name) \
  EngineData::kShaderData + EngineData::k##name, EngineData::kShaderData + EngineData::k##name##Record
#define QV_VERTEX_SHADER(name, decl) {ShaderDescriptor::kVertexText, decl, QV_SHADER_BLOB(name)}
#define QV_PIXEL_SHADER(name) {ShaderDescriptor::kPixelText, nullptr, QV_SHADER_BLOB(name)}

const ShaderDescriptor g_LightTowerShaders[1] = {QV_VERTEX_SHADER(LightTowerVs, kDeclPosNormalTex)};
const ShaderDescriptor g_FlareShaders[1] = {QV_VERTEX_SHADER(FlareVs, kDeclPosTex)};
const ShaderDescriptor g_SkydomeShaders[1] = {QV_VERTEX_SHADER(SkydomeVs, kDeclPosNormalTex)};
const ShaderDescriptor g_LogoShaders[kLogoShaderCount] = {
    QV_VERTEX_SHADER(LogoEnvVs, kDeclPosNormalTex),
    QV_PIXEL_SHADER(LogoPs),
    QV_VERTEX_SHADER(LogoSphereVs, kDeclPosNormalTex),
};

#undef QV_SHADER_BLOB
#undef QV_VERTEX_SHADER
#undef QV_PIXEL_SHADER

const uint32_t g_LightTowerStates[] = {
    D3DRS_ZWRITEENABLE, 0, D3DRS_ALPHABLENDENABLE, 1, D3DRS_SRCBLEND, D3DBLEND_ONE,
    D3DRS_DESTBLEND, D3DBLEND_ONE, D3DRS_FOGENABLE, 0, D3DRS_CULLMODE, D3DCULL_NONE,
    COLOUR, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
    ALPHA, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
    COLOUR, 1, 1, D3DTOP_DISABLE,
    ALPHA, 1, 1, D3DTOP_DISABLE,
    kEnd};

const uint32_t g_FlareStates[] = {
    D3DRS_ZWRITEENABLE, 0, D3DRS_ALPHABLENDENABLE, 1, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA,
    D3DRS_DESTBLEND, D3DBLEND_ONE, D3DRS_FOGENABLE, 0, D3DRS_CULLMODE, D3DCULL_NONE,
    COLOUR, 2, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
    ALPHA, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_TFACTOR,
    COLOUR, 1, 1, D3DTOP_DISABLE,
    ALPHA, 1, 1, D3DTOP_DISABLE,
    kEnd};

const uint32_t g_SkydomeStates[] = {
    D3DRS_ZWRITEENABLE, 0, D3DRS_ALPHABLENDENABLE, 0, D3DRS_FOGENABLE, 1, D3DRS_CULLMODE, D3DCULL_NONE,
    COLOUR, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
    ALPHA, 2, 0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE,
    COLOUR, 1, 1, D3DTOP_DISABLE,
    ALPHA, 1, 1, D3DTOP_DISABLE,
    kEnd};

const uint32_t g_LogoStates[] = {
    D3DRS_ZWRITEENABLE, 1, D3DRS_ALPHABLENDENABLE, 0, D3DRS_FOGENABLE, 0, D3DRS_CULLMODE, D3DCULL_NONE,
    kPixelShaderEnd,
    COLOUR, 3, 0, D3DTOP_MODULATE2X, D3DTA_TEXTURE, D3DTA_DIFFUSE,
    ALPHA, 2, 0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE,
    COLOUR, 1, 1, D3DTOP_DISABLE,
    ALPHA, 1, 1, D3DTOP_DISABLE,
    kEnd};
