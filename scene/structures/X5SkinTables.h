#pragma once
// The X-file objects' static tables and draw decisions: vertex layouts,
// the nine-entry shader list, the constant registers of the skinning path,
// and which shaders and textures a draw takes.
#include <d3d9.h>
#include <d3dx9.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "servers/VSServer.h"

// Shader list entries, in list order. Vertex entry n (1..4) skins with n
// bones per vertex; entry 0 draws a static mesh.
enum SkinShader : int {
  kSkinStaticVs = 0,
  kSkinOneBoneVs = 1,
  kSkinFourBonesVs = 4,
  kSkinPlainPs = 5,    // object flag 0x2000: lit texture without the caustic light
  kSkinDolphinPs = 6,  // second texture, caustic and environment reflection
  kSkinGlarePs = 7,    // drawn into the glare image: a dark shape
  kSkinPs = 8,         // lit texture with the caustic light
  kSkinShaderCount = 9,
};

// Object flag that selects the plain pixel shader.
constexpr uint32_t kObjSkinPlain = 0x2000;

// Vertex of a static mesh as drawn (32 bytes).
struct X5StaticVertex {
  float position[3];
  float normal[3];
  float texture[2];
};
static_assert(sizeof(X5StaticVertex) == 32, "static vertex is 32 bytes");

// Vertex of a skinned mesh as drawn (60 bytes): the first three blend
// weights (the last is 1 minus their sum) and four palette slots.
struct X5SkinnedVertex {
  float position[3];
  float weights[3];
  uint8_t slots[4];
  float normal[3];
  float texture[2];
  float tangent[3];
};
static_assert(sizeof(X5SkinnedVertex) == 60, "skinned vertex is 60 bytes");

extern const D3DVERTEXELEMENT9 kSkinStaticDecl[];
extern const D3DVERTEXELEMENT9 kSkinBlendDecl[];
extern const ShaderDescriptor g_SkinShaders[kSkinShaderCount];

// Vertex-shader registers of the skinning path. Palette slot i takes rows
// kPaletteRegister + 3i .. + 2 and its tuning value kBoneParameterRegister +
// i; the palette is capped so that its rows end below the tuning values and
// every register stays within the 96 of the smallest vertex-shader model.
enum : int {
  kPaletteRegister = 20,
  kFrameMatrixRegister = 74,  // static meshes: c74-c77
  kBoneParameterRegister = 78,
  kMaxPaletteSize = 18,
};
static_assert(kPaletteRegister + 3 * kMaxPaletteSize <= kFrameMatrixRegister, "palette below the frame matrix");
static_assert(kBoneParameterRegister + kMaxPaletteSize <= 96, "tuning values within vs_1_1 registers");

// Bones per combination for a mesh of boneCount bones.
int SkinPaletteSize(int boneCount);

// The shader list of a shader level (2: pixel shaders are used; 0 and 1:
// fixed-function texture stages). Both levels share one list: the vertex
// shaders feed the stages of either path.
const ShaderDescriptor* SkinShaderList(int shaderLevel);
int SkinShaderLevel(bool pixelShaders);

struct SkinShaderPair {
  int vertex;
  int pixel;
};
// Glare form first, then the plain flag, then the dolphin's shading, else
// the standard pair. influences is the container's bones per vertex (0 for
// a static mesh, which always keeps the static vertex shader).
SkinShaderPair ChooseSkinShaders(uint32_t objectFlags, bool dolphinShading, int influences);

// What texture stages 1 to 3 carry for a material.
enum class SkinStage { kEmpty, kSecondTexture, kCaustic, kEnvironment };
struct SkinStages {
  SkinStage stage[4];  // [0] unused: stage 0 is the material's texture
};
SkinStages PlanSkinStages(int shaderLevel, bool dolphinShading, size_t textureCount);

// Pixel c2: the caustic strength by the object's height, y + 0.3 within [0, 0.2].
float SkinCausticLevel(float height);

// Vertex-shader constants of one bone combination. rows: three registers
// per palette slot, the first three rows of transpose(offset x bone's
// combined matrix); the identity for an unused slot (kNoBone) or a bone
// without a frame, which then stays in its rest pose. tuning: one register
// per slot, (parameters[bone slot], 0, 0, 1), 0 past parameterCount.
// rows holds 12 floats and tuning 4 per entry of bones.
void FillPaletteConstants(const std::vector<int32_t>& bones, const std::vector<D3DXMATRIX>& offsets,
                          const std::vector<const D3DXMATRIX*>& boneMatrices, const float* parameters,
                          int parameterCount, float* rows, float* tuning);
