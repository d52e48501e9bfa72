#include "C6LegacySeaface.h"
#include "diagnostics/C3DrawCounter.h"

#include <cstring>

#include "SeafaceContent.h"
#include "SeafaceGeometry.h"
#include "SeafaceTables.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "util/ComRelease.h"
#include "world/C3World.h"

#define LEGACY_CHECK(code) FatalCheck("C6LegacySeaface", __LINE__, __TIME__, (code))

C6LegacySeaface::C6LegacySeaface() {
  SetClassName("C6LegacySeaface");
  flags |= kObjAlwaysVisible;
  drawFlags &= ~kDrawStrips;
  shaderDescriptors = g_LegacySeafaceShaders;
  shaderCount = kLegacySeafaceShaderCount;
  stateRecords = g_LegacySeafaceStates;
  // The grid's vertices are streamed from this object's own buffer.
  AddVertexArray(&SeafaceContent::kGridX, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1, sizeof(SurfaceVertex), 1);
  AddTexture(SeafaceContent::kSurfaceImage.data, SeafaceContent::kSurfaceImage.size);
}

C6LegacySeaface::~C6LegacySeaface() { ReleaseBuffers(); }

void C6LegacySeaface::ReleaseBuffers() {
  SafeRelease(vertexBuffer);
  std::vector<SurfaceVertex>().swap(vertices);
  std::vector<D3DXVECTOR3>().swap(normalSums);
}

HRESULT C6LegacySeaface::RestoreDeviceObjects() {
  HRESULT hr = C4VertexObject::RestoreDeviceObjects();
  if (hr != 0) return hr;
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  const X2FishMesh* grid = meshes.empty() ? nullptr : meshes[0]->descriptor;
  if (!device || !grid || !grid->vertices || grid->vertexCount == 0 || vertexBuffer) return 0;
  vertices.assign(grid->vertexCount, SurfaceVertex{});
  normalSums.assign(grid->vertexCount, D3DXVECTOR3(0.0f, 0.0f, 0.0f));
  return LEGACY_CHECK(device->CreateVertexBuffer(2 * grid->vertexCount * sizeof(SurfaceVertex),
                                                 D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT,
                                                 &vertexBuffer, nullptr));
}

HRESULT C6LegacySeaface::InvalidateDeviceObjects() {
  ReleaseBuffers();
  return C4VertexObject::InvalidateDeviceObjects();
}

void C6LegacySeaface::Animate(float current, float) {
  const X2FishMesh* grid = meshes.empty() ? nullptr : meshes[0]->descriptor;
  if (!grid || !grid->vertices || grid->stride != sizeof(SurfaceVertex) || vertices.size() != grid->vertexCount)
    return;
  const int count = static_cast<int>(grid->vertexCount);
  AnimateLegacyGrid(static_cast<const SurfaceVertex*>(grid->vertices), count, current, vertices.data());
  ComputeFaceNormals(vertices.data(), count, grid->indices, static_cast<int>(grid->primitiveCount),
                     normalSums.data());
}

HRESULT C6LegacySeaface::Render() {
  C3World* scene = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!scene || !device || !vertexBuffer || vertices.empty() || vertexShaders.size() < kLegacySeafaceShaderCount ||
      !IsMeshDrawable(0) || !scene->vsServer || !scene->vbServer || !scene->sbServer)
    return 0;
  const X2FishMesh* grid = meshes[0]->descriptor;
  scene->sbServer->SetSB(stateBlock);
  SetShaderMatrices();
  scene->vsServer->SetShaders(vertexShaders[kLegacySeafaceVs], vertexShaders[kLegacySeafacePs],
                              declarations[kLegacySeafaceVs]);
  const UINT bytes = static_cast<UINT>(vertices.size() * sizeof(SurfaceVertex));
  void* data = nullptr;
  if (LEGACY_CHECK(vertexBuffer->Lock(0, bytes, &data, D3DLOCK_DISCARD)) != 0) return 0;
  memcpy(data, vertices.data(), bytes);
  LEGACY_CHECK(vertexBuffer->Unlock());
  scene->vbServer->SetVB(0, vertexBuffer, sizeof(SurfaceVertex), true);  // the object's own buffer
  scene->vbServer->SetIB(meshes[0]->indexBuffer, false);
  LEGACY_CHECK(device->SetTexture(0, textures.empty() ? nullptr : textures[0]));
  if (drawFlags & kDrawStrips)
    LEGACY_CHECK(C3DrawCounter::DrawIndexed(device, D3DPT_TRIANGLESTRIP, 0, 0, grid->vertexCount, 0,
                                              grid->primitiveCount - 2));
  else
    LEGACY_CHECK(C3DrawCounter::DrawIndexed(device, D3DPT_TRIANGLELIST, 0, 0, grid->vertexCount, 0,
                                              grid->primitiveCount));
  return 0;
}
