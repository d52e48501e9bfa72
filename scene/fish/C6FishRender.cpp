// The fish's draw: state block, constants, streams, shaders, textures.
#include "C6Fish.h"
#include "C6FishTables.h"
#include "FishDraw.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "light/C6Caustic.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "world/C3World.h"

#define FISH_CHECK(code) FatalCheck("C6Fish", __LINE__, __TIME__, (code))

namespace {

bool HasVertexBuffer(const std::vector<MeshRecord*>& meshes, int index) {
  return index >= 0 && static_cast<size_t>(index) < meshes.size() && meshes[index] &&
         meshes[index]->vertexBuffer;
}

}  // namespace

HRESULT C6Fish::Render() {
  if (!drawingIntoTexture) {
    // A source or clone of a render texture is drawn by the texture, unless
    // it came close enough to be drawn as itself.
    if ((cloneMode == kCloneSource || cloneMode == kCloneCopy) && !drawAsMesh) {
      DebugPrint(3, ".");
      return 0;
    }
    DebugPrint(3, ",");
  }
  C3World* world = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!world || !device || !world->vsServer || !world->vbServer || !world->sbServer) return 0;
  if (!HasDeviceObjects()) return 0;
  if (vertexShaders.size() < static_cast<size_t>(kFishShaderCount) || !IsMeshDrawable(0)) return 0;

  world->sbServer->SetSB(drawingIntoTexture ? captureStateBlock : stateBlock);
  SetShaderMatrices();
  const bool pixelShaders = world->vsServer->UsePixelShaders();
  if (pixelShaders) {
    const float c = FishLightsLevel(GetSceneHost()->GetLightsSetting());
    const float level[4] = {c, c, c, 1.0f};
    SetPixelConstants(device, 0, level, 1);
  }
  const float s = FishCausticScale(scale, bodySize);
  const float causticScale[4] = {s, s, s, 1.0f};
  SetVertexConstants(device, 44, causticScale, 1);

  // Far level of detail: only when the fish has a far mesh that can be drawn.
  int farMesh = 0;
  if (lodState & 1) {
    const int lod = HasLod();
    if (lod > 0 && IsMeshDrawable(lod)) farMesh = lod;
  }
  bool morphReady = false;
  if (morph && farMesh == 0) {
    morphReady = true;
    for (int k = 0; k < 3; ++k) morphReady = morphReady && HasVertexBuffer(meshes, morph->Streams()[k]);
  }
  IDirect3DVertexBuffer9* delta = nullptr;
  if (partialMorph && farMesh == 0) delta = partialMorph->Upload();
  const FishDrawPlan plan = PlanFishDraw(farMesh, morphReady, delta != nullptr, pixelShaders);

  VBServer* vb = world->vbServer;
  if (plan.farMesh || (!plan.morph && !plan.partial)) {
    BindStreams(plan.mesh);
  } else {
    if (plan.morph) {
      morph->SetStreams();
      SetVertexConstants(device, 37, morph->Weights(), 1);
    } else {
      // The parts without key frames: the rest pose on all three streams.
      MeshRecord* rest = meshes[0];
      for (UINT stream = 0; stream < 3; ++stream) vb->SetVB(stream, rest->vertexBuffer, 32, false);
      const float restOnly[4] = {1.0f, 0.0f, 0.0f, 0.0f};
      SetVertexConstants(device, 37, restOnly, 1);
    }
    if (plan.partial) vb->SetVB(3, delta, 24, true);  // the parts' own buffer, not the server's
    vb->SetIB(meshes[0]->indexBuffer, false);
  }
  world->vsServer->SetShaders(vertexShaders[plan.vertexShader], vertexShaders[plan.pixelShader],
                              declarations[plan.vertexShader]);

  // Stage 1 carries the caustic light of the scene, none while the caustic
  // effect does not exist (TheCaustic is null until the scene makes it).
  IDirect3DTexture9* caustic = TheCaustic ? TheCaustic->GetTexture() : nullptr;
  IDirect3DTexture9* skin = textures.empty() ? nullptr : textures[0];
  if (FISH_CHECK(device->SetTexture(0, skin)) != 0) return 0;
  if (FISH_CHECK(device->SetTexture(1, caustic)) != 0) return 0;
  if (pixelShaders) {
    IDirect3DTexture9* sheen = textures.size() >= 2 ? textures[1] : nullptr;
    if (FISH_CHECK(device->SetTexture(2, sheen)) != 0) return 0;
  } else if (!caustic) {
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
  }
  DWORD passes = 0;
  if (FISH_CHECK(device->ValidateDevice(&passes)) != 0) return 0;

  DrawMesh(plan.mesh);
  return 0;
}
