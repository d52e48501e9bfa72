// The terrain's device objects: one vertex and one index buffer in the
// managed pool, made and filled at every restore, released at every
// invalidation. The floor they are filled from lives on without a device.
#include <cstring>

#include "X1Terrain.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "util/ComRelease.h"

#define TERRAIN_CHECK(code) FatalCheck("X1Terrain", __LINE__, __TIME__, (code))

HRESULT X1Terrain::RestoreDeviceObjects() {
  HRESULT hr = TERRAIN_CHECK(C4VertexObject::RestoreDeviceObjects());
  if (hr != 0) return hr;
  if (!built) BuildFloor();
  hr = CreateBuffers();
  if (hr != 0) return hr;
  return UploadBuffers();
}

HRESULT X1Terrain::InvalidateDeviceObjects() {
  ReleaseBuffers();
  return C4VertexObject::InvalidateDeviceObjects();
}

HRESULT X1Terrain::DeleteDeviceObjects() {
  // The followers stay: a device made again (a switch of the window mode)
  // finds the same floor with the same followers.
  return C4VertexObject::DeleteDeviceObjects();
}

HRESULT X1Terrain::CreateBuffers() {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!device || mesh_.vertices.empty()) return 0;
  HRESULT hr = 0;
  if (!vertexBuffer_) {
    hr = TERRAIN_CHECK(device->CreateVertexBuffer(static_cast<UINT>(mesh_.VertexCount() * sizeof(TerrainVertex)), 0,
                                                  0, D3DPOOL_MANAGED, &vertexBuffer_, nullptr));
    if (hr != 0) return hr;
  }
  if (!indexBuffer_) {
    hr = TERRAIN_CHECK(device->CreateIndexBuffer(static_cast<UINT>(mesh_.indices.size() * sizeof(uint16_t)), 0,
                                                 D3DFMT_INDEX16, D3DPOOL_MANAGED, &indexBuffer_, nullptr));
  }
  return hr;
}

HRESULT X1Terrain::UploadBuffers() {
  if (!vertexBuffer_ || !indexBuffer_) return 0;
  void* data = nullptr;
  const UINT vertexBytes = static_cast<UINT>(mesh_.VertexCount() * sizeof(TerrainVertex));
  HRESULT hr = TERRAIN_CHECK(vertexBuffer_->Lock(0, vertexBytes, &data, 0));
  if (hr != 0) return hr;
  std::memcpy(data, mesh_.vertices.data(), vertexBytes);
  hr = TERRAIN_CHECK(vertexBuffer_->Unlock());
  if (hr != 0) return hr;
  const UINT indexBytes = static_cast<UINT>(mesh_.indices.size() * sizeof(uint16_t));
  hr = TERRAIN_CHECK(indexBuffer_->Lock(0, indexBytes, &data, 0));
  if (hr != 0) return hr;
  std::memcpy(data, mesh_.indices.data(), indexBytes);
  return TERRAIN_CHECK(indexBuffer_->Unlock());
}

void X1Terrain::ReleaseBuffers() {
  SafeRelease(vertexBuffer_);
  SafeRelease(indexBuffer_);
}
