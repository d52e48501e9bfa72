#include "C6Seaface.h"

#include <cstring>

#include "C9WaterPhysics.h"
#include "SeafaceContent.h"
#include "SeafaceGeometry.h"
#include "SeafaceTables.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/TextureTable.h"
#include "util/ComRelease.h"
#include "world/C3World.h"

#define SEAFACE_CHECK(code) FatalCheck("C6Seaface", __LINE__, __TIME__, (code))

C6Seaface::C6Seaface() {
  SetClassName("C6Seaface");
  flags |= kObjAlwaysVisible;
  drawFlags &= ~kDrawStrips;
  shaderDescriptors = g_SeafaceShaders;
  shaderCount = kSeafaceShaderCount;
  stateRecords = g_SeafaceStates;
  // The mesh's vertices are streamed from this object's own buffer.
  AddMesh(&SeafaceContent::kSurfaceMesh)->externalVertices = 1;
  AddTexture(SeafaceContent::kRestingNormalImage.data, SeafaceContent::kRestingNormalImage.size);
}

C6Seaface::~C6Seaface() {
  ReleaseBuffers();
  delete physics;
}

void C6Seaface::ReleaseBuffers() {
  SafeRelease(vertexBuffer);
  SafeRelease(environment);
  std::vector<SurfaceVertex>().swap(vertices);
  std::vector<D3DXVECTOR3>().swap(normals);
}

HRESULT C6Seaface::InitDeviceObjects() {
  HRESULT hr = X7SegmentObject::InitDeviceObjects();
  if (!physics) physics = new C9WaterPhysics();
  physics->InitDeviceObjects();
  return hr;
}

HRESULT C6Seaface::RestoreDeviceObjects() {
  HRESULT hr = X7SegmentObject::RestoreDeviceObjects();
  if (hr != 0) return hr;
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  const X2FishMesh* mesh = meshes.empty() ? nullptr : meshes[0]->descriptor;
  if (!device || !mesh || !mesh->vertices || mesh->vertexCount == 0) return 0;
  ReleaseBuffers();
  hr = SEAFACE_CHECK(CreateCubeTextureFromMemory(device, SeafaceContent::kEnvironmentCube.data,
                                                 SeafaceContent::kEnvironmentCube.size, &environment));
  if (hr != 0) return hr;
  vertices.assign(mesh->vertexCount, SurfaceVertex{});
  normals.assign(mesh->vertexCount, D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  hr = SEAFACE_CHECK(device->CreateVertexBuffer(2 * mesh->vertexCount * sizeof(SurfaceVertex),
                                                D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT,
                                                &vertexBuffer, nullptr));
  if (hr != 0) return hr;
  if (physics) {
    hr = SEAFACE_CHECK(physics->RestoreDeviceObjects());
    if (hr != 0) return hr;
  }
  BuildSegments();
  return 0;
}

HRESULT C6Seaface::InvalidateDeviceObjects() {
  ReleaseBuffers();
  if (physics) physics->InvalidateDeviceObjects();
  return X7SegmentObject::InvalidateDeviceObjects();
}

HRESULT C6Seaface::DeleteDeviceObjects() {
  if (physics) {
    physics->DeleteDeviceObjects();
    delete physics;
    physics = nullptr;
  }
  return X7SegmentObject::DeleteDeviceObjects();
}

HRESULT C6Seaface::Move(float current, float previous) {
  currentTime = current;
  X7SegmentObject::Move(current, previous);
  if (physics) physics->Move(current, previous);
  return 0;
}

void C6Seaface::Animate(float current, float) {
  const X2FishMesh* mesh = meshes.empty() ? nullptr : meshes[0]->descriptor;
  if (!mesh || !mesh->vertices || mesh->stride != sizeof(SurfaceVertex) || vertices.size() != mesh->vertexCount)
    return;
  AnimateSurface(static_cast<const SurfaceVertex*>(mesh->vertices), static_cast<int>(mesh->vertexCount), current,
                 vertices.data());
}

HRESULT C6Seaface::Render() {
  C3World* scene = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!scene || !device || !vertexBuffer || vertices.empty() || vertexShaders.size() < kSeafaceShaderCount ||
      !IsMeshDrawable(0) || !scene->vsServer || !scene->vbServer || !scene->sbServer)
    return 0;
  scene->sbServer->SetSB(stateBlock);
  SetShaderMatrices();
  const float bump[4] = {0.0f, 0.0f, 0.0f, kBumpScale};
  SetVertexConstants(device, 38, bump, 1);
  scene->vsServer->SetShaders(vertexShaders[kSeafaceBumpVs], vertexShaders[kSeafaceBumpPs],
                              declarations[kSeafaceBumpVs]);
  const UINT bytes = static_cast<UINT>(vertices.size() * sizeof(SurfaceVertex));
  void* data = nullptr;
  if (SEAFACE_CHECK(vertexBuffer->Lock(0, bytes, &data, D3DLOCK_DISCARD)) != 0) return 0;
  memcpy(data, vertices.data(), bytes);
  SEAFACE_CHECK(vertexBuffer->Unlock());
  scene->vbServer->SetVB(0, vertexBuffer, sizeof(SurfaceVertex), true);  // the object's own buffer
  scene->vbServer->SetIB(meshes[0]->indexBuffer, false);
  IDirect3DTexture9* bumps = physics ? physics->GetResultTexture() : nullptr;
  if (!bumps && !textures.empty()) bumps = textures[0];
  SEAFACE_CHECK(device->SetTexture(0, bumps));
  SEAFACE_CHECK(device->SetTexture(1, nullptr));
  SEAFACE_CHECK(device->SetTexture(2, nullptr));
  SEAFACE_CHECK(device->SetTexture(3, environment));
  DoRender();
  return 0;
}
