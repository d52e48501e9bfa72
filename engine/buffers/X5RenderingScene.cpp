#include "X5RenderingScene.h"

#include <cstdlib>

#include "frame/C3SceneHost.h"
#include "servers/StaticTables.h"
#include "world/C3World.h"

X5RenderingScene::X5RenderingScene(unsigned keptCount) : keptCount_(keptCount) {
  SetClassName("X5RenderingScene");
  flags |= kObjAlwaysVisible;
  drawFlags &= ~kDrawStrips;
  shaderDescriptors = g_RenderingSceneShaders;
  shaderCount = 1;  // the wave vertex shader; the stages do the colouring
  stateRecords = g_StateListS5;
  AddMesh(TrailGridMesh());
}

X5RenderingScene::~X5RenderingScene() { frames_.Invalidate(); }

HRESULT X5RenderingScene::RestoreDeviceObjects() {
  C3SceneHost* host = GetSceneHost();
  IDirect3DDevice9* device = host->GetDevice();
  if (!device) return 0;
  HRESULT hr = frames_.Restore(device, host->GetBackBufferWidth(), host->GetBackBufferHeight(), keptCount_);
  if (hr != 0) return hr;
  C4VertexObject::RestoreDeviceObjects();
  return 0;
}

HRESULT X5RenderingScene::InvalidateDeviceObjects() {
  frames_.Invalidate();
  C4VertexObject::InvalidateDeviceObjects();
  return 0;
}

HRESULT X5RenderingScene::Move(float current, float previous) {
  const float r = static_cast<float>(rand()) / 32767.0f;
  if (motion_.Step(current, previous, r))
    frames_.Rotate();
  else
    frames_.Swap();
  C4VertexObject::Move(current, previous);
  return 0;
}

HRESULT X5RenderingScene::Render() {
  C3World* world = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!world || !device || frames_.KeptCount() == 0 || meshes.empty() || vertexShaders.empty()) return 0;
  TrailDrawContext c;
  FillDrawContext(&c);
  c.waveVs = vertexShaders[0];
  c.waveDecl = declarations[0];
  c.gridIndices = meshes[0]->indexBuffer;
  return frames_.Composite(c, motion_.wave, motion_.phase);
}

HRESULT X5RenderingScene::BeginTarget() { return frames_.BeginTarget(); }
HRESULT X5RenderingScene::EndTarget(bool keepDepth) { return frames_.EndTarget(keepDepth); }
