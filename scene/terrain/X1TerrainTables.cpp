#include "X1TerrainTables.h"

#include "TerrainData.h"
#include "TerrainImages.h"
#include "servers/StateRecordList.h"

const D3DVERTEXELEMENT9 kTerrainDecl[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
    {0, 36, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END()};

#define QV_SHADER_BLOB(name) \
  TerrainData::kShaderData + TerrainData::k##name, TerrainData::kShaderData + TerrainData::k##name##Record
#define QV_VERTEX_SHADER(name) {ShaderDescriptor::kVertexText, kTerrainDecl, QV_SHADER_BLOB(name)}
#define QV_PIXEL_SHADER(name) {ShaderDescriptor::kPixelText, nullptr, QV_SHADER_BLOB(name)}

const ShaderDescriptor g_TerrainShaders[kTerrainShaderCount] = {
    QV_VERTEX_SHADER(TerrainLitVs),
    QV_VERTEX_SHADER(TerrainReliefVs),
    QV_PIXEL_SHADER(TerrainReliefPs),
    QV_PIXEL_SHADER(TerrainPlainPs),
};

#undef QV_SHADER_BLOB
#undef QV_VERTEX_SHADER
#undef QV_PIXEL_SHADER

using namespace staterecords;

const uint32_t g_TerrainStates[] = {
    D3DRS_ZWRITEENABLE, 1, D3DRS_ALPHABLENDENABLE, 0, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA,
    D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA, D3DRS_FOGENABLE, 1, D3DRS_CULLMODE, D3DCULL_CCW,
    kPixelShaderEnd,
    COLOUR, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
    ALPHA, 2, 0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE,
    COLOUR, 3, 1, D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_CURRENT,
    ALPHA, 2, 1, D3DTOP_SELECTARG1, D3DTA_CURRENT,
    COLOUR, 1, 2, D3DTOP_DISABLE,
    ALPHA, 1, 2, D3DTOP_DISABLE,
    kEnd};

TerrainImage TerrainFloorImage(int floorMaterial) {
  if (floorMaterial != 0) return {TerrainImages::kFloorSilt, TerrainImages::kFloorSiltSize};
  return {TerrainImages::kFloorSand, TerrainImages::kFloorSandSize};
}

TerrainImage TerrainFeatureImage() { return {TerrainImages::kFloorRubble, TerrainImages::kFloorRubbleSize}; }

TerrainImage TerrainReliefImage(int floorMaterial) {
  if (floorMaterial != 0) return {TerrainImages::kReliefGravel, TerrainImages::kReliefGravelSize};
  return {TerrainImages::kReliefRipple, TerrainImages::kReliefRippleSize};
}
