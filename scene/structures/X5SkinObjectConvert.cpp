// X5SkinObject: the drawable copies of loaded meshes: the blended copy of a
// skinned mesh, the material-sorted copy of a static one, and the morph
// streams beside them.
#include <cstddef>
#include <cstring>

#include "X5MeshContainer.h"
#include "X5SkinObject.h"
#include "X5SkinTables.h"
#include "diagnostics/Diagnostics.h"
#include "servers/FaceRanges.h"
#include "util/ComRelease.h"
#include "util/IndexedBlend.h"
#include "util/TangentFrame.h"

namespace {

#define DRAW_CHECK(code) FatalCheck("X5Draw", __LINE__, __TIME__, (code))

constexpr DWORD kSourceFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
constexpr DWORD kMorphFvf = D3DFVF_XYZ | D3DFVF_NORMAL;

// A copy of a mesh with the 32-byte position, normal, texture layout in
// system memory; normals are computed when the mesh has none.
HRESULT CloneAsSource(ID3DXMesh* mesh, IDirect3DDevice9* device, ID3DXMesh** out) {
  HRESULT hr = mesh->CloneMeshFVF(D3DXMESH_SYSTEMMEM | (mesh->GetOptions() & D3DXMESH_32BIT), kSourceFvf, device, out);
  if (FAILED(hr)) return hr;
  if (!(mesh->GetFVF() & D3DFVF_NORMAL)) hr = D3DXComputeNormals(*out, nullptr);
  return hr;
}

// Copies data into a locked buffer of the mesh.
template <typename Lock, typename Unlock>
HRESULT Fill(Lock lock, Unlock unlock, const void* data, size_t bytes) {
  void* p = nullptr;
  HRESULT hr = lock(&p);
  if (FAILED(hr)) return hr;
  std::memcpy(p, data, bytes);
  return unlock();
}

}  // namespace

HRESULT X5SkinObject::ConvertSkinned(X5MeshContainer* c, IDirect3DDevice9* device) {
  c->ReleaseDrawable();
  c->paletteSize = SkinPaletteSize(static_cast<int>(c->skinInfo->GetNumBones()));
  D3DCAPS9 caps{};
  device->GetDeviceCaps(&caps);
  c->softwareSkinning = caps.VertexShaderVersion < D3DVS_VERSION(1, 1) ? 1 : 0;
  const DWORD pool = c->softwareSkinning ? D3DXMESH_SYSTEMMEM : D3DXMESH_MANAGED;

  ID3DXMesh* rawSource = nullptr;
  HRESULT hr = CloneAsSource(c->sourceMesh, device, &rawSource);
  if (FAILED(hr)) return hr;
  ComPtr<ID3DXMesh> source(rawSource);
  std::vector<uint32_t> indices, attributes;
  hr = ReadMeshFaces(source.get(), &indices, &attributes);
  if (FAILED(hr)) return hr;
  std::vector<BoneWeights> bones;
  hr = ReadBoneWeights(c->skinInfo, &bones);
  if (FAILED(hr)) return hr;
  const DWORD sourceVertices = source->GetNumVertices();
  IndexedBlendMesh blend;
  if (!BuildIndexedBlend(sourceVertices, bones, indices.data(), attributes.data(), source->GetNumFaces(),
                         static_cast<uint32_t>(c->paletteSize), &blend))
    return E_INVALIDARG;

  c->influences = blend.influences;
  LogPrint("Face Info:%d\n", c->influences);
  c->boneCombinations = blend.combinations;
  c->attributeCount = static_cast<int>(blend.combinations.size());
  c->builtFor = conversionStamp;
  if (blend.vertices.empty()) return 0;  // nothing to draw

  // The drawn vertices, with tangents.
  std::vector<X5SkinnedVertex> drawn(blend.vertices.size());
  {
    void* locked = nullptr;
    hr = source->LockVertexBuffer(D3DLOCK_READONLY, &locked);
    if (FAILED(hr)) return hr;
    const auto* in = static_cast<const X5StaticVertex*>(locked);
    for (size_t i = 0; i < drawn.size(); ++i) {
      const BlendVertex& b = blend.vertices[i];
      const X5StaticVertex& s = in[b.source];
      X5SkinnedVertex& d = drawn[i];
      std::memcpy(d.position, s.position, sizeof d.position);
      std::memcpy(d.normal, s.normal, sizeof d.normal);
      std::memcpy(d.texture, s.texture, sizeof d.texture);
      std::memcpy(d.weights, b.weights, sizeof d.weights);
      std::memcpy(d.slots, b.slots, sizeof d.slots);
    }
    source->UnlockVertexBuffer();
  }
  const TangentLayout layout{sizeof(X5SkinnedVertex), offsetof(X5SkinnedVertex, position),
                             offsetof(X5SkinnedVertex, normal), offsetof(X5SkinnedVertex, texture),
                             offsetof(X5SkinnedVertex, tangent)};
  const DWORD faceCount = static_cast<DWORD>(blend.indices.size() / 3);
  ComputeTangents(drawn.data(), static_cast<uint32_t>(drawn.size()), layout, blend.indices.data(), faceCount);

  const bool wide = drawn.size() > 0xFFFF;
  ID3DXMesh* rawMesh = nullptr;
  hr = D3DXCreateMesh(faceCount, static_cast<DWORD>(drawn.size()), pool | (wide ? D3DXMESH_32BIT : 0),
                      kSkinBlendDecl, device, &rawMesh);
  if (FAILED(hr)) return hr;
  ComPtr<ID3DXMesh> mesh(rawMesh);
  hr = Fill([&](void** p) { return mesh->LockVertexBuffer(0, p); }, [&] { return mesh->UnlockVertexBuffer(); },
            drawn.data(), drawn.size() * sizeof(X5SkinnedVertex));
  if (FAILED(hr)) return hr;
  std::vector<uint16_t> narrow;
  const void* indexData = blend.indices.data();
  size_t indexBytes = blend.indices.size() * sizeof(uint32_t);
  if (!wide) {
    narrow.assign(blend.indices.begin(), blend.indices.end());
    indexData = narrow.data();
    indexBytes = narrow.size() * sizeof(uint16_t);
  }
  hr = Fill([&](void** p) { return mesh->LockIndexBuffer(0, p); }, [&] { return mesh->UnlockIndexBuffer(); },
            indexData, indexBytes);
  if (FAILED(hr)) return hr;
  std::vector<DWORD> faceAttributes(faceCount);
  for (const BlendCombination& k : blend.combinations)
    for (DWORD f = 0; f < k.faceCount; ++f) faceAttributes[k.faceStart + f] = k.attribute;
  hr = Fill([&](void** p) { return mesh->LockAttributeBuffer(0, reinterpret_cast<DWORD**>(p)); },
            [&] { return mesh->UnlockAttributeBuffer(); }, faceAttributes.data(), faceAttributes.size() * sizeof(DWORD));
  if (FAILED(hr)) return hr;
  hr = mesh->GetVertexBuffer(&c->vertexBuffer);
  if (SUCCEEDED(hr)) hr = mesh->GetIndexBuffer(&c->indexBuffer);
  if (FAILED(hr)) {
    c->ReleaseDrawable();
    return hr;
  }
  c->mesh = mesh.release();
  return 0;
}

HRESULT X5SkinObject::MakeStaticCopy(X5MeshContainer* c, IDirect3DDevice9* device) {
  ID3DXMesh* rawClone = nullptr;
  HRESULT hr = c->mesh->CloneMeshFVF(D3DXMESH_MANAGED | (c->mesh->GetOptions() & D3DXMESH_32BIT), kSourceFvf, device,
                                     &rawClone);
  if (FAILED(hr)) return hr;
  ComPtr<ID3DXMesh> clone(rawClone);
  if (!(c->mesh->GetFVF() & D3DFVF_NORMAL)) {
    hr = D3DXComputeNormals(clone.get(), nullptr);
    if (FAILED(hr)) return hr;
  }
  // One range of faces per material, drawn each with its own material.
  std::vector<uint32_t> indices, attributes;
  hr = ReadMeshFaces(clone.get(), &indices, &attributes);
  if (FAILED(hr)) return hr;
  c->ranges = SortFacesByAttribute(&indices, attributes);
  void* p = nullptr;
  hr = clone->LockIndexBuffer(0, &p);
  if (FAILED(hr)) return hr;
  if (clone->GetOptions() & D3DXMESH_32BIT) {
    std::memcpy(p, indices.data(), indices.size() * sizeof(uint32_t));
  } else {
    auto* out = static_cast<uint16_t*>(p);
    for (size_t i = 0; i < indices.size(); ++i) out[i] = static_cast<uint16_t>(indices[i]);
  }
  clone->UnlockIndexBuffer();
  hr = clone->GetVertexBuffer(&c->vertexBuffer);
  if (SUCCEEDED(hr)) hr = clone->GetIndexBuffer(&c->indexBuffer);
  if (FAILED(hr)) {
    SafeRelease(c->vertexBuffer);
    SafeRelease(c->indexBuffer);
  }
  return hr;
}

void X5SkinObject::MakeMorphStreams(X5MeshContainer* c, const X5MeshContainer* second, const X5MeshContainer* third,
                                    IDirect3DDevice9* device) {
  c->morphStreamsMade = true;
  const X5MeshContainer* sources[2] = {second, third};
  for (int k = 0; k < 2; ++k) {
    if (!sources[k]) continue;
    ID3DXMesh* from = sources[k]->IsSkinned() ? sources[k]->sourceMesh : sources[k]->mesh;
    if (!from) continue;
    ID3DXMesh* rawClone = nullptr;
    if (DRAW_CHECK(from->CloneMeshFVF(D3DXMESH_MANAGED | (from->GetOptions() & D3DXMESH_32BIT), kMorphFvf, device,
                                       &rawClone)) != 0)
      return;
    ComPtr<ID3DXMesh> clone(rawClone);
    DRAW_CHECK(clone->GetVertexBuffer(&c->morphStreams[k]));
  }
}
