#include "CD3DFile_Mesh.h"

#include <new>

#include "util/D3DXCompat.h"

namespace {
const size_t kNameLimit = 511;

HRESULT CloneToFVF(ID3DXMesh** mesh, DWORD options, DWORD fvf, IDirect3DDevice9* device) {
  if (*mesh == nullptr) return S_OK;
  ID3DXMesh* clone = nullptr;
  if (FAILED((*mesh)->CloneMeshFVF(options, fvf, device, &clone)) || clone == nullptr) return E_FAIL;
  (*mesh)->Release();
  *mesh = clone;
  if (fvf & D3DFVF_NORMAL) D3DXComputeNormals(clone, nullptr);
  return S_OK;
}
}  // namespace

CD3DFile_Mesh::CD3DFile_Mesh(const char* name) : name_(name ? name : "") {
  if (name_.size() > kNameLimit) name_.resize(kNameLimit);
}

CD3DFile_Mesh::~CD3DFile_Mesh() { Destroy(); }

HRESULT CD3DFile_Mesh::Create(IDirect3DDevice9* device, ID3DXFileData* data) {
  Destroy();
  ID3DXBuffer* adjacency = nullptr;
  ID3DXBuffer* materials = nullptr;
  DWORD materialCount = 0;
  HRESULT hr = LoadMeshFromXData(data, D3DXMESH_SYSTEMMEM, device, &adjacency, &materials,
                                 &materialCount, &sysMemMesh_);
  if (SUCCEEDED(hr) && sysMemMesh_ != nullptr) {
    hr = OptimizeMeshInplace(sysMemMesh_,
                             D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE,
                             adjacency ? static_cast<DWORD*>(adjacency->GetBufferPointer()) : nullptr,
                             nullptr, nullptr, nullptr);
  } else if (SUCCEEDED(hr)) {
    hr = E_FAIL;
  }
  if (SUCCEEDED(hr)) {
    try {
      const auto* loaded =
          materials ? static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer()) : nullptr;
      for (DWORD i = 0; loaded && i < materialCount; ++i) materials_.push_back(loaded[i].MatD3D);
      textures_.assign(materialCount, nullptr);
    } catch (const std::bad_alloc&) {
      hr = E_OUTOFMEMORY;
    }
  }
  if (adjacency) adjacency->Release();
  if (materials) materials->Release();
  if (FAILED(hr)) Destroy();
  return hr;
}

HRESULT CD3DFile_Mesh::SetFVF(IDirect3DDevice9* device, DWORD fvf) {
  if (FAILED(CloneToFVF(&sysMemMesh_, D3DXMESH_SYSTEMMEM, fvf, device))) return E_FAIL;
  if (FAILED(CloneToFVF(&secondMesh_, 0, fvf, device))) return E_FAIL;
  return S_OK;
}

void CD3DFile_Mesh::Destroy() {
  if (sysMemMesh_) sysMemMesh_->Release();
  if (secondMesh_) secondMesh_->Release();
  sysMemMesh_ = nullptr;
  secondMesh_ = nullptr;
  for (auto* t : textures_) {
    if (t) t->Release();
  }
  textures_.clear();
  materials_.clear();
}
