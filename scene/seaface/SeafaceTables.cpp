#include "SeafaceTables.h"

#include "SeafaceData.h"
#include "servers/StateRecordList.h"
#include "servers/StaticTables.h"

#define QV_SHADER_BLOB(name) \
  SeafaceData::kShaderData + SeafaceData::k##name, SeafaceData::kShaderData + SeafaceData::k##name##Record
#define QV_VERTEX_SHADER(name, decl) {ShaderDescriptor::kVertexText, decl, QV_SHADER_BLOB(name)}
#define QV_PIXEL_SHADER(name) {ShaderDescriptor::kPixelText, nullptr, QV_SHADER_BLOB(name)}

const ShaderDescriptor g_LegacySeafaceShaders[kLegacySeafaceShaderCount] = {
    QV_VERTEX_SHADER(LegacySeafaceVs, kDeclPosNormalTex),
    QV_PIXEL_SHADER(LegacySeafacePs),
};

const ShaderDescriptor g_SeafaceShaders[kSeafaceShaderCount] = {
    QV_VERTEX_SHADER(SeafaceBumpVs, kDeclPosNormalTex),
    QV_PIXEL_SHADER(SeafaceBumpPs),
    QV_VERTEX_SHADER(LegacySeafaceVs, kDeclPosNormalTex),
};

const ShaderDescriptor g_WaterPhysicsShaders[kWaterShaderCount] = {
    QV_VERTEX_SHADER(WaterCopyVs, kDeclPosTex),
    QV_VERTEX_SHADER(WaterOffsetVs, kDeclPosTex),
    QV_PIXEL_SHADER(WaterForceAPs),
    QV_PIXEL_SHADER(WaterForceBPs),
    QV_PIXEL_SHADER(WaterVelocityPs),
    QV_PIXEL_SHADER(WaterHeightPs),
    QV_PIXEL_SHADER(WaterBlurPs),
    QV_PIXEL_SHADER(WaterNormalPs),
};

#undef QV_SHADER_BLOB
#undef QV_VERTEX_SHADER
#undef QV_PIXEL_SHADER

using namespace staterecords;

const uint32_t g_LegacySeafaceStates[] = {
    D3DRS_ZWRITEENABLE, 1, D3DRS_ALPHABLENDENABLE, 1, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA,
    D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA, D3DRS_FOGENABLE, 1, D3DRS_CULLMODE, D3DCULL_CCW,
    kPixelShaderEnd,
    COLOUR, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
    ALPHA, 2, 0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE,
    COLOUR, 1, 1, D3DTOP_DISABLE,
    ALPHA, 1, 1, D3DTOP_DISABLE,
    kEnd};

const uint32_t g_SeafaceStates[] = {
    D3DRS_ZWRITEENABLE, 1, D3DRS_ALPHABLENDENABLE, 1, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA,
    D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA, D3DRS_FOGENABLE, 1, D3DRS_CULLMODE, D3DCULL_CCW,
    kPixelShaderEnd,
    COLOUR, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
    ALPHA, 2, 0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE,
    COLOUR, 1, 1, D3DTOP_DISABLE,
    ALPHA, 1, 1, D3DTOP_DISABLE,
    kEnd};

const uint32_t g_WaterPhysicsStates[] = {
    D3DRS_ZWRITEENABLE, 0, D3DRS_ALPHABLENDENABLE, 0, D3DRS_FOGENABLE, 0, D3DRS_CULLMODE, D3DCULL_NONE,
    COLOUR, 2, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
    ALPHA, 2, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
    COLOUR, 1, 1, D3DTOP_DISABLE,
    ALPHA, 1, 1, D3DTOP_DISABLE,
    kEnd};
