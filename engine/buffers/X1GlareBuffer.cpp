#include "X1GlareBuffer.h"

#include "GlarePasses.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/StaticTables.h"
#include "servers/VSServer.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

X1GlareBuffer::X1GlareBuffer() {
  SetClassName("X1GlareBuffer");
  sourceName_ = "X1GlareBuffer";
  targetCount = 4;
  ownDepthSwitch = 1;
  flags |= kObjAlwaysVisible;
  drawFlags &= ~kDrawStrips;
  shaderDescriptors = g_GlareBufferShaders;
  shaderCount = 4;
  stateRecords = g_StateListS4;
  kernel.Reset();
  kernel.SetPreset(0);
  kernel.Build();
}

X1GlareBuffer::~X1GlareBuffer() = default;

bool X1GlareBuffer::Active() const {
  C3World* world = C3World::Current();
  return world && world->vsServer && world->vsServer->UsePixelShaders();
}

HRESULT X1GlareBuffer::RestoreDeviceObjects() {
  C3SceneHost* host = GetSceneHost();
  width = GlareTargetExtent(host->GetBackBufferWidth());
  height = GlareTargetExtent(host->GetBackBufferHeight());
  if (!Active()) return 0;
  return X1RenderingBuffer::RestoreDeviceObjects();
}

GlareDrawContext X1GlareBuffer::Context() const {
  GlareDrawContext c;
  FillDrawContext(&c);
  if (vertexShaders.size() >= 4 && declarations.size() >= 4) {
    c.copyVs = vertexShaders[0];
    c.copyPs = vertexShaders[1];
    c.copyDecl = declarations[0];
    c.fourTapVs = vertexShaders[2];
    c.fourTapPs = vertexShaders[3];
    c.fourTapDecl = declarations[2];
  }
  return c;
}

void X1GlareBuffer::DrawSources() {
  C3World* world = C3World::Current();
  if (!world) return;
  C3SceneHost* host = GetSceneHost();
  C3Camera* camera = GetMainCamera();
  D3DXMATRIX view, projection;
  GetMainCameraMatrices(&view, &projection);
  const bool hide = host->HideCameraObject();
  const bool debugRun = host->IsDebugRun();
  C3Object* rider = camera ? camera->GetRiderObject() : nullptr;
  for (int i = 0; i < world->glareSources.count; ++i) {
    C3Object* source = world->glareSources.items[i];
    if (!source) continue;
    if (!GlareDrawsSource(source->flags, source->farCulled != 0, rider && rider == source, hide, debugRun))
      continue;
    source->flags |= kObjGlarePass;
    source->SetViewProjection(&view, &projection);
    source->Render();
    source->flags &= ~kObjGlarePass;
  }
}

HRESULT X1GlareBuffer::Move(float current, float previous) {
  if (!Active()) return 0;
  C4VertexObject::Move(current, previous);
  selector = 1 - selector;
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!device || targets_.Count() < 4) return 0;
  BeginTarget();
  FATAL_CHECK(C3DrawCounter::Clear(device, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0));
  if (SUCCEEDED(device->BeginScene())) {
    DrawSources();
    device->EndScene();
  }
  if (SUCCEEDED(device->BeginScene())) {
    RunGlarePasses(Context(), targets_, selector, kernel, intensity, current - previous);
    device->EndScene();
  }
  return EndTarget();
}

HRESULT X1GlareBuffer::Render() {
  if (!Active() || targets_.Count() < 4 || !GetSceneHost()->GetDevice()) return 0;
  DrawGlareOverlay(Context(), targets_, selector);
  return 0;
}
