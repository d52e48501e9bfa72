// The terrain's draw: state block, matrices, bump scale, shaders, buffers,
// textures, one indexed triangle list.
#include "TerrainDraw.h"
#include "X1Terrain.h"
#include "X1TerrainTables.h"
#include "common/SceneGlobals.h"
#include "common/SettingIds.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "light/C6Caustic.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "world/C3World.h"

#define TERRAIN_CHECK(code) FatalCheck("X1Terrain", __LINE__, __TIME__, (code))

namespace {

// Texture list entries (the order the constructor adds them).
enum { kFloorTexture = 0, kFeatureTexture = 1, kReliefTexture = 2 };

// The caustic effect's current frame; none while the scene has no caustic
// effect.
IDirect3DTexture9* CurrentCaustic() { return TheCaustic ? TheCaustic->GetTexture() : nullptr; }

}  // namespace

HRESULT X1Terrain::Render() {
  C3World* world = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!world || !device || !world->vsServer || !world->vbServer || !world->sbServer) return 0;
  if (!vertexBuffer_ || !indexBuffer_ || vertexShaders.size() < static_cast<size_t>(kTerrainShaderCount)) return 0;

  world->sbServer->SetSB(stateBlock);
  SetShaderMatrices();
  C3SceneHost* host = GetSceneHost();
  const float bump[4] = {0.0f, 0.0f, 0.0f, TerrainBumpScale(host->GetSceneSetting(kSceneFloorMaterial))};
  SetVertexConstants(device, 38, bump, 1);

  IDirect3DTexture9* caustic = CurrentCaustic();
  const bool pixelShaders = world->vsServer->UsePixelShaders();
  const TerrainDrawPlan plan = PlanTerrainDraw(pixelShaders, caustic != nullptr);
  world->vsServer->SetShaders(vertexShaders[plan.vertexShader], vertexShaders[plan.pixelShader],
                              declarations[plan.vertexShader]);
  world->vbServer->SetVB(0, vertexBuffer_, sizeof(TerrainVertex), true);  // the object's own buffer
  world->vbServer->SetIB(indexBuffer_, true);  // the floor's own buffer

  auto texture = [this](int k) { return static_cast<size_t>(k) < textures.size() ? textures[k] : nullptr; };
  if (TERRAIN_CHECK(device->SetTexture(0, texture(kFloorTexture))) != 0) return 0;
  if (pixelShaders) {
    if (TERRAIN_CHECK(device->SetTexture(1, texture(kFeatureTexture))) != 0) return 0;
    if (TERRAIN_CHECK(device->SetTexture(2, caustic)) != 0) return 0;
    if (TERRAIN_CHECK(device->SetTexture(3, texture(kReliefTexture))) != 0) return 0;
    const float k = TerrainCausticLevel(host->GetSceneSetting(kSceneLights));
    const float level[4] = {k, k, k, 1.0f};
    SetPixelConstants(device, 1, level, 1);
  } else {
    if (TERRAIN_CHECK(device->SetTexture(1, caustic)) != 0) return 0;
    if (!plan.causticStage) device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
  }
  TERRAIN_CHECK(C3DrawCounter::DrawIndexed(device, D3DPT_TRIANGLELIST, 0, 0, static_cast<UINT>(Mesh().VertexCount()), 0,
                                             static_cast<UINT>(Mesh().FaceCount())));
  return 0;
}
