#pragma once
// One mesh of a loaded X file with its materials and, for a skinned mesh,
// its bones and the drawable blended copy. Owns every device object it
// holds; they are released when the container is freed.
#include <d3dx9.h>

#include <cstdint>
#include <string>
#include <vector>

#include "util/IndexedBlend.h"

// Texture index of a material without a texture.
constexpr int kNoMaterialTexture = 100;
// The stamp a container carries when its drawable copy must be rebuilt.
constexpr int kStaleConversion = 4;

struct X5MeshContainer {
  X5MeshContainer() = default;
  ~X5MeshContainer();
  X5MeshContainer(const X5MeshContainer&) = delete;
  X5MeshContainer& operator=(const X5MeshContainer&) = delete;

  bool IsSkinned() const { return skinInfo != nullptr && sourceMesh != nullptr; }
  // Drops the drawable copy of a skinned mesh (kept: source and skin).
  void ReleaseDrawable();
  // Drops every mesh and buffer made on the device (materials, names and
  // bones stay); nothing is drawn until meshes are read again.
  void ReleaseDeviceObjects();

  ID3DXMesh* mesh = nullptr;  // what is drawn
  std::vector<D3DMATERIAL9> materials;
  std::vector<int> textureIndex;  // per material
  int attributeCount = 0;         // bone combinations, or materials of a static mesh
  std::string name;
  ID3DXSkinInfo* skinInfo = nullptr;
  ID3DXMesh* sourceMesh = nullptr;  // skinned meshes only
  // Per bone: the combined matrix of its frame; null when no frame has its
  // name (the bone is then held in its rest pose).
  std::vector<const D3DXMATRIX*> boneMatrixPointers;
  std::vector<D3DXMATRIX> boneOffsets;
  std::vector<DWORD> adjacency;  // three per face
  int influences = 0;            // bones per vertex of the drawable copy; 0 static
  int builtFor = kStaleConversion;
  int paletteSize = 0;
  int softwareSkinning = 0;
  std::vector<BlendCombination> boneCombinations;
  // The drawable copy's buffers (references of its own).
  IDirect3DVertexBuffer9* vertexBuffer = nullptr;
  IDirect3DIndexBuffer9* indexBuffer = nullptr;
  // Static meshes: one range of faces per material of the drawable copy.
  std::vector<D3DXATTRIBUTERANGE> ranges;
  // Position and normal of the matching meshes of the second and third
  // files, bound beside this one as streams 1 and 2.
  IDirect3DVertexBuffer9* morphStreams[2] = {};
  bool morphStreamsMade = false;
};
