// The coral piece's draw: state block, fog and blending, constants, streams,
// shader, textures.
#include "CoralLayout.h"
#include "X2FileCoral.h"
#include "X2FileCoralTables.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "light/C6Caustic.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/VBServer.h"
#include "status/C9DisplayInfo.h"
#include "world/C3World.h"

#define CORAL_CHECK(code) FatalCheck("X2FileCoral", __LINE__, __TIME__, (code))

namespace {

bool HasVertexBuffer(const std::vector<MeshRecord*>& meshes, int index) {
  return index >= 0 && static_cast<size_t>(index) < meshes.size() && meshes[index] &&
         meshes[index]->vertexBuffer;
}

}  // namespace

HRESULT X2FileCoral::Render() {
  if (cameraDistance > kCoralDrawDistance) return 0;
  C3World* world = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!world || !device || !world->vsServer || !world->vbServer || !world->sbServer) return 0;
  if (vertexShaders.size() < static_cast<size_t>(kCoralShaderCount) || !IsMeshDrawable(0)) return 0;

  world->sbServer->SetSB(stateBlock);
  if (CORAL_CHECK(device->SetRenderState(D3DRS_FOGENABLE, HasFlag(kObjNoFog) ? FALSE : TRUE)) != 0) return 0;
  if (modelFlags & X2_MODEL_DEFAULT) {
    // Sea fans and the like: see-through and seen from both sides.
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  }
  SetShaderMatrices();

  bool morphReady = morph != nullptr;
  for (int k = 0; k < 3 && morphReady; ++k) morphReady = HasVertexBuffer(meshes, morph->Streams()[k]);
  int shader = kCoralStaticVs;
  if (morphReady) {
    morph->SetStreams();
    SetVertexConstants(device, 37, morph->Weights(), 1);
    world->vbServer->SetIB(meshes[0]->indexBuffer, false);
    shader = kCoralMorphVs;
  } else {
    BindStreams(0);
  }
  world->vsServer->SetShaders(vertexShaders[shader], nullptr, declarations[shader]);

  // Stage 1 carries the scene's caustic light; without one it is off.
  IDirect3DTexture9* caustic = TheCaustic ? TheCaustic->GetTexture() : nullptr;
  IDirect3DTexture9* skin = textures.empty() ? nullptr : textures[0];
  if (CORAL_CHECK(device->SetTexture(0, skin)) != 0) return 0;
  if (CORAL_CHECK(device->SetTexture(1, caustic)) != 0) return 0;
  if (!caustic) device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
  DrawMesh(0);
  if (TheDisplayInfo) TheDisplayInfo->activity.CoralDrawn();
  return 0;
}
