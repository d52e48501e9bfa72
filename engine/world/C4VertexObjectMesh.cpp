// Mesh records, bounds, stream binding and drawing, and the area query.
#include <cmath>

#include "C3World.h"
#include "C4VertexObject.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"

namespace {

// Shared by every object: a caller uses the triangles before the next query.
uint16_t g_areaTriangles[kMaxAreaTriangles * 3];

const float* VertexAt(const X2FishMesh& d, uint32_t index) {
  return reinterpret_cast<const float*>(static_cast<const uint8_t*>(d.vertices) +
                                        static_cast<size_t>(index) * d.stride);
}

}  // namespace

MeshRecord* C4VertexObject::AddMesh(X2FishMesh* descriptor) {
  MeshRecord* record = new MeshRecord;
  record->descriptor = descriptor;
  meshes.push_back(record);
  return record;
}

MeshRecord* C4VertexObject::AddVertexArray(X2FishTexture* xBlock, uint32_t fvf, uint32_t stride,
                                          uint32_t externalVertices) {
  X2FishMesh* descriptor = new X2FishMesh{};
  descriptor->fvf = fvf;
  descriptor->stride = stride;
  descriptor->xBlock = xBlock;
  ownDescriptors_.push_back(descriptor);
  MeshRecord* record = AddMesh(descriptor);
  record->externalVertices = externalVertices;
  return record;
}

HRESULT C4VertexObject::InitDeviceObjects() {
  C3World* world = C3World::Current();
  for (size_t i = 0; i < meshes.size(); ++i) {
    MeshRecord* record = meshes[i];
    if (!record->descriptor || !record->descriptor->xBlock || !world || !world->vbServer) continue;
    HRESULT hr = world->vbServer->LoadMeshFromX(record, (drawFlags & kDrawStrips) != 0,
                                                (drawFlags & kDrawIndicesAreStrips) != 0);
    // A mesh that does not load is left out; the rest of the object stays.
    if (hr != 0) LogPrint("KWEX Mesh load fail:%s:%d:%X\n", className, static_cast<int>(i), static_cast<unsigned>(hr));
  }
  ComputeBounds();
  return 0;
}

HRESULT C4VertexObject::FinalCleanUp() {
  for (MeshRecord* record : meshes) delete record;
  meshes.clear();
  for (X2FishMesh* descriptor : ownDescriptors_) delete descriptor;
  ownDescriptors_.clear();
  return 0;
}

void C4VertexObject::ComputeBounds() {
  for (MeshRecord* record : meshes) {
    const X2FishMesh* d = record->descriptor;
    if (!d || !d->vertices || d->stride < 12) continue;
    for (uint32_t v = 0; v < d->vertexCount; ++v) {
      const float* p = VertexAt(*d, v);
      boxMin.x = std::fmin(boxMin.x, p[0]);
      boxMin.y = std::fmin(boxMin.y, p[1]);
      boxMin.z = std::fmin(boxMin.z, p[2]);
      boxMax.x = std::fmax(boxMax.x, p[0]);
      boxMax.y = std::fmax(boxMax.y, p[1]);
      boxMax.z = std::fmax(boxMax.z, p[2]);
    }
  }
  UpdateRadiusFromBox();
}

bool C4VertexObject::IsMeshDrawable(int i) const {
  if (i < 0 || static_cast<size_t>(i) >= meshes.size()) return false;
  const MeshRecord* r = meshes[i];
  return r->descriptor && r->indexBuffer && (r->vertexBuffer || r->externalVertices);
}

void C4VertexObject::BindStreams(int i) {
  C3World* world = C3World::Current();
  if (!world || !world->vbServer || !IsMeshDrawable(i)) return;
  MeshRecord* r = meshes[i];
  if (r->vertexBuffer) world->vbServer->SetVB(0, r->vertexBuffer, r->descriptor->stride, false);
  world->vbServer->SetIB(r->indexBuffer, false);
}

void C4VertexObject::DrawMesh(int i) {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!device || !IsMeshDrawable(i)) return;
  const X2FishMesh* d = meshes[i]->descriptor;
  if (drawFlags & kDrawStrips) {
    if (d->primitiveCount < 3) return;
    C3DrawCounter::DrawIndexed(device, D3DPT_TRIANGLESTRIP, 0, 0, d->vertexCount, 0, d->primitiveCount - 2);
  } else {
    C3DrawCounter::DrawIndexed(device, D3DPT_TRIANGLELIST, 0, 0, d->vertexCount, 0, d->primitiveCount);
  }
}

HRESULT C4VertexObject::GetAreaPolygons(float x, float y, float z, float r, IDirect3DVertexBuffer9** vertexBuffer,
                                        int* vertexCount, uint16_t** triangles, int* count) {
  int maximum = count ? *count : 0;
  if (maximum > kMaxAreaTriangles) {
    maximum = kMaxAreaTriangles;
    LogPrint("KWEX Max Area FCount\n");
  }
  if (maximum < 0) maximum = 0;
  int found = 0;
  const MeshRecord* record = meshes.empty() ? nullptr : meshes[0];
  const X2FishMesh* d = record ? record->descriptor : nullptr;
  if (d && d->vertices && d->indices && d->stride >= 24 && maximum > 0) {
    const D3DXVECTOR3 point(x, y, z);
    for (uint32_t f = 0; f < d->primitiveCount && found < maximum; ++f) {
      const uint16_t* tri = d->indices + static_cast<size_t>(f) * 3;
      if (tri[0] >= d->vertexCount || tri[1] >= d->vertexCount || tri[2] >= d->vertexCount) continue;
      const float* first = VertexAt(*d, tri[0]);
      const D3DXVECTOR3 normal(first[3], first[4], first[5]);
      if (normal.y < 0.0f) continue;
      D3DXVECTOR3 toVertex = D3DXVECTOR3(first[0], first[1], first[2]) - point, dir;
      D3DXVec3Normalize(&dir, &toVertex);
      if (D3DXVec3Dot(&dir, &normal) > 0.0f) continue;
      bool keep = true;
      for (int k = 0; k < 3 && keep; ++k) {
        const float* v = VertexAt(*d, tri[k]);
        keep = v[4] >= 0.0f && std::fabs(v[0] - x) <= r && std::fabs(v[2] - z) <= r;
      }
      if (!keep) continue;
      for (int k = 0; k < 3; ++k) g_areaTriangles[found * 3 + k] = tri[k];
      if (++found >= maximum) {
        LogPrint("KWEX GetAreaPolygons MAXF\n");
        break;
      }
    }
  }
  if (count) *count = found;
  if (vertexBuffer) *vertexBuffer = record ? record->vertexBuffer : nullptr;
  if (vertexCount) *vertexCount = d ? static_cast<int>(d->vertexCount) : 0;
  if (triangles) *triangles = g_areaTriangles;
  return 0;
}
