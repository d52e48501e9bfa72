// X5SkinObject: drawing. Every frame of the first model, depth first, each
// of its meshes with the matching meshes of the second and third models as
// morph streams; static meshes per material range, skinned meshes per bone
// combination with the palette in vertex-shader constants.
#include <cmath>

#include "X5MeshContainer.h"
#include "X5SkinObject.h"
#include "X5SkinTables.h"
#include "common/SceneGlobals.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "light/C6Caustic.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

#define DRAW_CHECK(code) FatalCheck("X5Draw", __LINE__, __TIME__, (code))

namespace {

void SetVector(IDirect3DDevice9* device, UINT reg, float x, float y, float z, float w) {
  const float v[4] = {x, y, z, w};
  SetVertexConstants(device, reg, v, 1);
}

void SetColour(IDirect3DDevice9* device, UINT reg, const D3DCOLORVALUE& c, float scale = 1.0f) {
  SetVector(device, reg, c.r * scale, c.g * scale, c.b * scale, c.a * scale);
}

}  // namespace

HRESULT X5SkinObject::Render() {
  if (models.empty()) return 0;
  C3World* world = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!world || !device || !world->vsServer || !world->vbServer || !world->sbServer) return 0;
  if (vertexShaders.size() < static_cast<size_t>(kSkinShaderCount)) return 0;
  UpdateMatrices();
  facesDrawn = 0;
  X5Frame* second = models.size() > 1 ? models[1]->root.get() : nullptr;
  X5Frame* third = models.size() > 2 ? models[2]->root.get() : nullptr;
  DrawFrame(models[0]->root.get(), second, third, device);
  // The palette overwrote the per-frame registers.
  GetSceneHost()->SetFrameShaderConstants();
  return 0;
}

void X5SkinObject::DrawFrame(X5Frame* frame, X5Frame* second, X5Frame* third, IDirect3DDevice9* device) {
  for (X5Frame* node = frame; node; node = node->nextSibling.get()) {
    for (size_t i = 0; i < node->meshContainers.size(); ++i) {
      const X5MeshContainer* s = second && i < second->meshContainers.size() ? second->meshContainers[i].get() : nullptr;
      const X5MeshContainer* t = third && i < third->meshContainers.size() ? third->meshContainers[i].get() : nullptr;
      DrawContainer(node, node->meshContainers[i].get(), s, t, device);
    }
    if (node->firstChild)
      DrawFrame(node->firstChild.get(), second ? second->firstChild.get() : nullptr,
                third ? third->firstChild.get() : nullptr, device);
    second = second ? second->nextSibling.get() : nullptr;
    third = third ? third->nextSibling.get() : nullptr;
  }
}

void X5SkinObject::DrawContainer(X5Frame* frame, X5MeshContainer* c, const X5MeshContainer* second,
                                 const X5MeshContainer* third, IDirect3DDevice9* device) {
  C3World* world = C3World::Current();
  const bool skinned = c->IsSkinned();
  if (skinned && c->builtFor != conversionStamp) {
    if (DRAW_CHECK(ConvertSkinned(c, device)) != 0) return;
  }
  if (!skinned && c->mesh && !c->vertexBuffer) {
    if (DRAW_CHECK(MakeStaticCopy(c, device)) != 0) return;
  }
  if (!c->vertexBuffer || !c->indexBuffer) return;

  VBServer* vb = world->vbServer;
  // The container's own buffers, which the server does not register.
  vb->SetVB(0, c->vertexBuffer, skinned ? sizeof(X5SkinnedVertex) : sizeof(X5StaticVertex), true);
  vb->SetIB(c->indexBuffer, true);
  if ((second || third) && !c->morphStreamsMade) MakeMorphStreams(c, second, third, device);
  for (UINT k = 0; k < 2; ++k)
    if (c->morphStreams[k]) vb->SetVB(1 + k, c->morphStreams[k], 24, true);

  SetObjectConstants(device);
  world->sbServer->SetSB(stateBlock);

  if (!skinned) {
    D3DXMATRIX frameT;
    D3DXMatrixTranspose(&frameT, &frame->combinedMatrix);
    SetVertexConstants(device, kFrameMatrixRegister, frameT, 4);
    for (const D3DXATTRIBUTERANGE& r : c->ranges) {
      if (r.FaceCount == 0) continue;
      const int material = r.AttribId < c->materials.size() ? static_cast<int>(r.AttribId) : 0;
      SetMaterial(frame, c, material, device);
      DWORD passes = 0;
      if (DRAW_CHECK(device->ValidateDevice(&passes)) != 0) return;
      DRAW_CHECK(C3DrawCounter::DrawIndexed(device, D3DPT_TRIANGLELIST, 0, r.VertexStart, r.VertexCount, r.FaceStart * 3,
                                              r.FaceCount));
      facesDrawn += static_cast<int>(r.FaceCount);
    }
    return;
  }

  float rows[kMaxPaletteSize * 12];
  float tuning[kMaxPaletteSize * 4];
  for (const BlendCombination& k : c->boneCombinations) {
    if (k.faceCount == 0) continue;
    FillPaletteConstants(k.bones, c->boneOffsets, c->boneMatrixPointers, boneParameters, kBoneParameterCount, rows,
                         tuning);
    const UINT slots = static_cast<UINT>(k.bones.size());
    SetVertexConstants(device, kPaletteRegister, rows, 3 * slots);
    SetVertexConstants(device, kBoneParameterRegister, tuning, slots);
    const int material = k.attribute < c->materials.size() ? static_cast<int>(k.attribute) : 0;
    SetMaterial(frame, c, material, device);
    DWORD passes = 0;
    if (DRAW_CHECK(device->ValidateDevice(&passes)) != 0) return;
    DRAW_CHECK(C3DrawCounter::DrawIndexed(device, D3DPT_TRIANGLELIST, 0, k.vertexStart, k.vertexCount, k.faceStart * 3,
                                            k.faceCount));
    facesDrawn += static_cast<int>(k.faceCount);
  }
}

void X5SkinObject::SetObjectConstants(IDirect3DDevice9* device) {
  const C4ShaderMatrices& m = Shading();
  SetVertexConstants(device, 0, m.worldViewProjectionT, 4);
  SetVertexConstants(device, 4, m.worldT, 4);
  D3DXVECTOR3 eye(0.0f, 0.0f, 0.0f);
  if (C3Camera* camera = GetMainCamera()) camera->GetPosition(&eye);
  SetVector(device, 8, eye.x, eye.y, eye.z, 1.0f);
  D3DXMATRIX inverse, inverseT;
  if (!D3DXMatrixInverse(&inverse, nullptr, &rotation)) D3DXMatrixIdentity(&inverse);
  D3DXMatrixTranspose(&inverseT, &inverse);
  SetVertexConstants(device, 9, inverseT, 4);
  D3DXVECTOR3 light(0.0f, -1.0f, 0.0f);
  if (C3World* world = C3World::Current()) light = world->lightDirection;
  D3DXVECTOR3 toLight = -light;
  D3DXVec3Normalize(&toLight, &toLight);
  const float toLight4[4] = {toLight.x, toLight.y, toLight.z, 1.0f};
  SetVertexConstants(device, 13, toLight4, 1);
  SetPixelConstants(device, 1, toLight4, 1);
  SetVector(device, 18, lightPoint.x, lightPoint.y, lightPoint.z, 1.0f);
  SetVertexConstants(device, 19, tint, 1);
}

void X5SkinObject::SetMaterial(X5Frame* frame, X5MeshContainer* c, int material, IDirect3DDevice9* device) {
  C3World* world = C3World::Current();
  // A material that names a texture the object does not have is drawn
  // as an untextured one.
  const int index = c->textureIndex[material];
  IDirect3DTexture9* texture = index != kNoMaterialTexture && index >= 0 && static_cast<size_t>(index) < textures.size()
                                   ? textures[index]
                                   : nullptr;
  const bool textured = texture != nullptr;
  DRAW_CHECK(device->SetTexture(0, texture));

  const bool pixelShaders = world->vsServer->UsePixelShaders();
  const SkinStages stages = PlanSkinStages(SkinShaderLevel(pixelShaders), dolphinShading != 0, textures.size());
  // The caustic light arrives with the scene's caustic effect.
  IDirect3DTexture9* caustic = TheCaustic ? TheCaustic->GetTexture() : nullptr;
  for (DWORD stage = 1; stage < 4; ++stage) {
    IDirect3DBaseTexture9* t = nullptr;
    switch (stages.stage[stage]) {
      case SkinStage::kSecondTexture: t = textures[1]; break;
      case SkinStage::kCaustic: t = caustic; break;
      case SkinStage::kEnvironment: t = stageTexture3; break;
      case SkinStage::kEmpty: break;
    }
    DRAW_CHECK(device->SetTexture(stage, t));
  }

  const float diffuseShare = static_cast<float>(1.0 / std::pow(2.0, 0.7));
  SetVector(device, 17, diffuseShare, diffuseShare, diffuseShare, 1.0f);
  const D3DMATERIAL9& m = c->materials[material];
  SetColour(device, 14, m.Diffuse);
  if (textured)
    SetVector(device, 15, 0.3f, 0.3f, 0.3f, 1.0f);
  else
    SetColour(device, 15, m.Emissive);
  SetColour(device, 16, m.Specular, 1.0f / 3.0f);
  const float v = SkinCausticLevel(position.y);
  const float caustics[4] = {v, v, v, 1.0f};
  SetPixelConstants(device, 2, caustics, 1);
  float colour[4] = {0.0f, textured ? 1.0f : 0.0f, 0.0f, 0.0f};
  float extra = 0.0f;
  GetMaterialColour(c, material, frame->name.c_str(), colour, &extra);
  SetPixelConstants(device, 0, colour, 1);

  const SkinShaderPair pair = ChooseSkinShaders(flags, dolphinShading != 0, c->influences);
  world->vsServer->SetShaders(vertexShaders[pair.vertex], vertexShaders[pair.pixel], declarations[pair.vertex]);
}
