#include "X5SkinTables.h"

#include <algorithm>
#include <cstring>

#include "EngineData.h"
#include "world/C3Object.h"

const D3DVERTEXELEMENT9 kSkinStaticDecl[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END()};

const D3DVERTEXELEMENT9 kSkinBlendDecl[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BLENDWEIGHT, 0},
    {0, 24, D3DDECLTYPE_UBYTE4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BLENDINDICES, 0},
    {0, 28, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 40, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    {0, 48, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TANGENT, 0},
    D3DDECL_END()};

#define QV_SHADER_BLOB(name) \
  EngineData::kShaderData + EngineData::k##name, EngineData::kShaderData + EngineData::k##name##Record
#define QV_VERTEX_SHADER(name, decl) {ShaderDescriptor::kVertexText, decl, QV_SHADER_BLOB(name)}
#define QV_PIXEL_SHADER(name) {ShaderDescriptor::kPixelText, nullptr, QV_SHADER_BLOB(name)}

const ShaderDescriptor g_SkinShaders[kSkinShaderCount] = {
    QV_VERTEX_SHADER(SkinStaticVs, kSkinStaticDecl),
    QV_VERTEX_SHADER(Skin1Vs, kSkinBlendDecl),
    QV_VERTEX_SHADER(Skin2Vs, kSkinBlendDecl),
    QV_VERTEX_SHADER(Skin3Vs, kSkinBlendDecl),
    QV_VERTEX_SHADER(Skin4Vs, kSkinBlendDecl),
    QV_PIXEL_SHADER(SkinPlainPs),
    QV_PIXEL_SHADER(SkinDolphinPs),
    QV_PIXEL_SHADER(SkinGlarePs),
    QV_PIXEL_SHADER(SkinPs),
};

#undef QV_SHADER_BLOB
#undef QV_VERTEX_SHADER
#undef QV_PIXEL_SHADER

int SkinPaletteSize(int boneCount) { return std::max(0, std::min(boneCount, static_cast<int>(kMaxPaletteSize))); }

const ShaderDescriptor* SkinShaderList(int /*shaderLevel*/) { return g_SkinShaders; }

int SkinShaderLevel(bool pixelShaders) { return pixelShaders ? 2 : 1; }

SkinShaderPair ChooseSkinShaders(uint32_t objectFlags, bool dolphinShading, int influences) {
  const int skin = std::max(0, std::min(influences, static_cast<int>(kSkinFourBonesVs)));
  if (objectFlags & kObjGlarePass) return {skin, kSkinGlarePs};
  if (objectFlags & kObjSkinPlain) return {skin, kSkinPlainPs};
  // The dolphin's vertex shader takes any skinned vertex (unused slots
  // carry weight 0); a static mesh keeps its own layout.
  if (dolphinShading) return {skin > 0 ? static_cast<int>(kSkinFourBonesVs) : 0, kSkinDolphinPs};
  return {skin, kSkinPs};
}

SkinStages PlanSkinStages(int shaderLevel, bool dolphinShading, size_t textureCount) {
  SkinStages s{{SkinStage::kEmpty, SkinStage::kEmpty, SkinStage::kEmpty, SkinStage::kEmpty}};
  const SkinStage second = dolphinShading && textureCount >= 2 ? SkinStage::kSecondTexture : SkinStage::kEmpty;
  if (shaderLevel >= 2) {
    s.stage[1] = second;
    s.stage[2] = SkinStage::kCaustic;
    s.stage[3] = SkinStage::kEnvironment;
  } else {
    s.stage[1] = SkinStage::kCaustic;
    s.stage[2] = second;
  }
  return s;
}

float SkinCausticLevel(float height) { return std::max(0.0f, std::min(height + 0.3f, 0.2f)); }

void FillPaletteConstants(const std::vector<int32_t>& bones, const std::vector<D3DXMATRIX>& offsets,
                          const std::vector<const D3DXMATRIX*>& boneMatrices, const float* parameters,
                          int parameterCount, float* rows, float* tuning) {
  for (size_t slot = 0; slot < bones.size(); ++slot) {
    const int32_t bone = bones[slot];
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    if (bone >= 0 && static_cast<size_t>(bone) < offsets.size() && static_cast<size_t>(bone) < boneMatrices.size() &&
        boneMatrices[bone]) {
      const D3DXMATRIX placed = offsets[bone] * *boneMatrices[bone];
      D3DXMatrixTranspose(&m, &placed);
    }
    std::memcpy(rows + slot * 12, &m, 12 * sizeof(float));
    const float value = static_cast<int>(slot) < parameterCount && parameters ? parameters[slot] : 0.0f;
    const float t[4] = {value, 0.0f, 0.0f, 1.0f};
    std::memcpy(tuning + slot * 4, t, sizeof t);
  }
}
