#include "C6Skydome.h"

#include <algorithm>
#include <cstring>

#include "LightContent.h"
#include "LightEffects.h"
#include "LightTables.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

#define SKY_CHECK(code) FatalCheck("C6Skydome", __LINE__, __TIME__, (code))

C6Skydome::C6Skydome() {
  SetClassName("C6Skydome");
  flags |= kObjAlwaysVisible;
  shaderDescriptors = g_SkydomeShaders;
  shaderCount = 1;
  stateRecords = g_SkydomeStates;
  AddMesh(&LightContent::kSkyDomeMesh);
  AddTexture(LightContent::kSkyImage.data, LightContent::kSkyImage.size);
}

C6Skydome::~C6Skydome() { ReleaseBuffer(); }

void C6Skydome::ReleaseBuffer() {
  if (vertexBuffer) {
    vertexBuffer->Release();
    vertexBuffer = nullptr;
  }
}

HRESULT C6Skydome::RestoreDeviceObjects() {
  HRESULT hr = C4VertexObject::RestoreDeviceObjects();
  if (hr != 0) return hr;
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  const X2FishMesh* mesh = meshes.empty() ? nullptr : meshes[0]->descriptor;
  if (!device || vertexBuffer || !mesh || !mesh->vertices || mesh->stride < 24 || mesh->vertexCount == 0)
    return 0;
  const uint8_t* source = static_cast<const uint8_t*>(mesh->vertices);
  float top = 0.0f;
  for (uint32_t i = 0; i < mesh->vertexCount; ++i)
    top = std::max(top, reinterpret_cast<const float*>(source + static_cast<size_t>(i) * mesh->stride)[1]);
  const UINT bytes = mesh->vertexCount * sizeof(SkyVertex);
  hr = SKY_CHECK(device->CreateVertexBuffer(bytes, D3DUSAGE_WRITEONLY, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1,
                                            D3DPOOL_MANAGED, &vertexBuffer, nullptr));
  if (hr != 0) return hr;
  void* data = nullptr;
  hr = SKY_CHECK(vertexBuffer->Lock(0, bytes, &data, 0));
  if (hr != 0) return hr;
  SkyVertex* out = static_cast<SkyVertex*>(data);
  for (uint32_t i = 0; i < mesh->vertexCount; ++i)
    out[i] = MakeSkyVertex(reinterpret_cast<const float*>(source + static_cast<size_t>(i) * mesh->stride), top);
  return SKY_CHECK(vertexBuffer->Unlock());
}

HRESULT C6Skydome::InvalidateDeviceObjects() {
  ReleaseBuffer();
  return C4VertexObject::InvalidateDeviceObjects();
}

HRESULT C6Skydome::Move(float current, float previous) {
  if (C3Camera* camera = GetMainCamera()) {
    D3DXVECTOR3 eye;
    camera->GetPosition(&eye);
    position.x = eye.x;
    position.z = eye.z;
  }
  return C4VertexObject::Move(current, previous);
}

HRESULT C6Skydome::Render() {
  C3World* scene = C3World::Current();
  C3SceneHost* host = GetSceneHost();
  IDirect3DDevice9* device = host->GetDevice();
  if (!scene || !device || !vertexBuffer || vertexShaders.empty() || !IsMeshDrawable(0) || !scene->vsServer ||
      !scene->vbServer || !scene->sbServer)
    return 0;
  scene->sbServer->SetSB(stateBlock);
  SetShaderMatrices();
  scene->vsServer->SetShaders(vertexShaders[0], nullptr, declarations[0]);
  scene->vbServer->SetVB(0, vertexBuffer, sizeof(SkyVertex), true);  // the object's own buffer
  scene->vbServer->SetIB(meshes[0]->indexBuffer, false);
  SKY_CHECK(device->SetTexture(0, textures.empty() ? nullptr : textures[textureSelector]));
  SetVertexConstants(device, 23, kSkyFog, 1);
  DrawMesh(0);
  // The dome's fog range was its own: the frame's constants come back.
  host->SetFrameShaderConstants();
  return 0;
}
