#include "C4VertexObject.h"

#include "C3Camera.h"
#include "C3World.h"
#include "buffers/DrawContext.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/TextureTable.h"

C4ShaderMatrices::C4ShaderMatrices() {
  D3DXMATRIX id;
  D3DXMatrixIdentity(&id);
  worldViewProjection = worldViewProjectionT = worldViewT = worldT = viewT = viewProjectionT = id;
  for (auto& m : saved) m = id;
}

C4VertexObject::C4VertexObject() : stateBlock(SBServer::kNoBlock) {
  SetClassName("C4VertexObject");
  flags |= kObjSphereTest;
  D3DXMatrixIdentity(&view);
  D3DXMatrixIdentity(&projection);
}

C4ShaderMatrices& C4VertexObject::Shading() {
  if (!shading_) shading_ = std::make_unique<C4ShaderMatrices>();
  return *shading_;
}

C4VertexObject::~C4VertexObject() {
  FinalCleanUp();
  ReleaseTextures();
}

int C4VertexObject::AddTexture(const void* source, UINT size) {
  for (size_t i = 0; i < textureSources.size(); ++i)
    if (textureSources[i].first == source) return static_cast<int>(i);
  textureSources.emplace_back(source, size);
  return static_cast<int>(textureSources.size() - 1);
}

HRESULT C4VertexObject::RestoreDeviceObjects() {
  C3World* world = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!world || !device) return 0;
  if (stateRecords && world->sbServer) stateBlock = world->sbServer->CreateSB(stateRecords);
  // Textures live in the managed pool: they are loaded once and kept
  // through resets, so only sources not loaded yet are loaded here.
  for (size_t i = textures.size(); i < textureSources.size(); ++i) {
    const void* source = textureSources[i].first;
    UINT size = textureSources[i].second;
    IDirect3DTexture9* texture = nullptr;
    if (source && size == 0)
      FATAL_CHECK(LoadTextureFile(device, static_cast<const char*>(source), &texture, D3DFMT_UNKNOWN));
    else if (source)
      FATAL_CHECK(LoadTextureFromMemory(device, source, size, &texture, D3DFMT_UNKNOWN, singleLevelTextures));
    textures.push_back(texture);
  }
  for (size_t i = 0; i < meshes.size(); ++i) {
    MeshRecord* record = meshes[i];
    const X2FishMesh* d = record->descriptor;
    bool usable = d && d->primitiveCount > 0 && d->indices &&
                  (record->externalVertices || (d->vertexCount > 0 && d->vertices && d->stride > 0));
    // A mesh whose X block did not load at init stays left out: its data is
    // still the block, not vertices.
    if (usable && d->xBlock && !world->vbServer->IsLoadedDescriptor(d)) usable = false;
    if (!usable) {
      LogPrint("KWEX Mesh skipped:%s:%d\n", className, static_cast<int>(i));
      continue;
    }
    HRESULT hr = FATAL_CHECK(world->vbServer->CreateMeshBuffers(record, (drawFlags & kDrawStrips) != 0,
                                                                (drawFlags & kDrawIndicesAreStrips) != 0));
    if (hr != 0) return hr;
  }
  // The server forgets its shaders at every invalidation; the lists hold
  // the shaders of the current device only.
  vertexShaders.clear();
  declarations.clear();
  for (int i = 0; i < shaderCount; ++i) {
    IDirect3DVertexDeclaration9* declaration = nullptr;
    vertexShaders.push_back(world->vsServer->GetShader(&shaderDescriptors[i], &declaration));
    declarations.push_back(declaration);
  }
  return 0;
}

HRESULT C4VertexObject::InvalidateDeviceObjects() {
  vertexShaders.clear();
  declarations.clear();
  stateBlock = SBServer::kNoBlock;
  return 0;
}

void C4VertexObject::ReleaseTextures() {
  for (IDirect3DTexture9* texture : textures)
    if (texture) ReleaseTexture(texture);
  textures.clear();
}

HRESULT C4VertexObject::DeleteDeviceObjects() {
  ReleaseTextures();
  return 0;
}

HRESULT C4VertexObject::Move(float current, float previous) {
  C3Move::Move(current, previous);
  C3Camera* camera = GetMainCamera();
  float lodScale = camera ? camera->GetLodScale() : 1.0f;
  int lod = HasLod();
  bool animate = DecideVisibility(*this, camera != nullptr, lod, lodScale, [&] {
    return HasFlag(kObjSphereTest) ? camera->IsSphereVisible(*this) : camera->IsBoxVisible(*this);
  });
  if (animate) Animate(current, previous);
  return 0;
}

void C4VertexObject::Animate(float, float) {}
int C4VertexObject::HasLod() { return 0; }

void C4VertexObject::SetViewProjection(const D3DXMATRIX* v, const D3DXMATRIX* p) {
  view = *v;
  projection = *p;
  C4ShaderMatrices& m = Shading();
  D3DXMATRIX worldView = world * view;
  m.worldViewProjection = worldView * projection;
  D3DXMATRIX viewProjection = view * projection;
  D3DXMatrixTranspose(&m.worldViewProjectionT, &m.worldViewProjection);
  D3DXMatrixTranspose(&m.worldViewT, &worldView);
  D3DXMatrixTranspose(&m.worldT, &world);
  D3DXMatrixTranspose(&m.viewT, &view);
  D3DXMatrixTranspose(&m.viewProjectionT, &viewProjection);

  D3DXVECTOR3 light(0.0f, -1.0f, 0.0f);
  if (C3World* w = C3World::Current()) light = w->lightDirection;
  light = -light;
  D3DXMATRIX inverse;
  D3DXVECTOR3 out;
  if (D3DXMatrixInverse(&inverse, nullptr, &rotation)) {
    D3DXVec3TransformCoord(&out, &light, &inverse);
    m.objectLight = D3DXVECTOR4(out.x, out.y, out.z, 1.0f);
  }
  if (C3Camera* camera = GetMainCamera()) {
    D3DXVECTOR3 eye;
    camera->GetPosition(&eye);
    if (D3DXMatrixInverse(&inverse, nullptr, &world)) {
      D3DXVec3TransformCoord(&out, &eye, &inverse);
      m.objectEye = D3DXVECTOR4(out.x, out.y, out.z, 1.0f);
    }
  }
}

void C4VertexObject::FillDrawContext(DrawContext* c) const {
  C3World* world = C3World::Current();
  c->device = GetSceneHost()->GetDevice();
  c->shaders = world ? world->vsServer : nullptr;
  c->states = world ? world->sbServer : nullptr;
  c->buffers = world ? world->vbServer : nullptr;
  c->block = stateBlock;
}

void C4VertexObject::SaveMatrices() {
  C4ShaderMatrices& m = Shading();
  m.saved[0] = m.worldViewProjectionT;
  m.saved[1] = m.worldViewT;
  m.saved[2] = m.worldT;
  m.saved[3] = m.viewT;
  m.saved[4] = m.viewProjectionT;
}

void C4VertexObject::RestoreMatrices() {
  C4ShaderMatrices& m = Shading();
  m.worldViewProjectionT = m.saved[0];
  m.worldViewT = m.saved[1];
  m.worldT = m.saved[2];
  m.viewT = m.saved[3];
  m.viewProjectionT = m.saved[4];
}

void C4VertexObject::SetShaderMatrices() { GetSceneHost()->SetMatrixShaderConstants(this); }
