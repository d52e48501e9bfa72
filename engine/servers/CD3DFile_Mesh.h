#pragma once
// A mesh read from an X data object into system memory, with its materials;
// used by VBServer to turn X blocks into plain mesh descriptors.
#include <d3dx9.h>

#include <string>
#include <vector>

class CD3DFile_Mesh {
 public:
  explicit CD3DFile_Mesh(const char* name = "CD3DFile_Mesh");
  ~CD3DFile_Mesh();
  CD3DFile_Mesh(const CD3DFile_Mesh&) = delete;
  CD3DFile_Mesh& operator=(const CD3DFile_Mesh&) = delete;

  // Loads the data object's mesh (system memory), optimises it in place
  // (compact, attribute sort, vertex-cache order) and keeps its materials.
  HRESULT Create(IDirect3DDevice9* device, ID3DXFileData* data);
  // Clones the meshes to an FVF code and recomputes their normals.
  HRESULT SetFVF(IDirect3DDevice9* device, DWORD fvf);
  void Destroy();

  ID3DXMesh* SysMemMesh() const { return sysMemMesh_; }
  const std::vector<D3DMATERIAL9>& Materials() const { return materials_; }
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  ID3DXMesh* sysMemMesh_ = nullptr;
  ID3DXMesh* secondMesh_ = nullptr;
  std::vector<D3DMATERIAL9> materials_;
  std::vector<IDirect3DTexture9*> textures_;
};
