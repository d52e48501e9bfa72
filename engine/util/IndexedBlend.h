#pragma once
// Indexed vertex blending for shader skinning, built by the program itself
// on every platform from a skinned mesh's bone influences (the runtime's own
// conversion is missing in some).
//
// Each vertex keeps its four strongest influences, scaled to sum to 1. The
// faces of each material are split, in order, into bone combinations whose
// bones fit a palette of the given size; every combination has a vertex
// range of its own (a vertex used by two combinations is duplicated), so
// each vertex names its bones by palette slot. Unused slots of a vertex
// repeat its last slot with weight 0, so a shader written for more
// influences than a vertex has draws it correctly.
#include <d3dx9.h>

#include <cstdint>
#include <vector>

constexpr int kMaxBlendInfluences = 4;
constexpr int32_t kNoBone = -1;

// The vertices one bone moves and by how much.
struct BoneWeights {
  std::vector<uint32_t> vertices;
  std::vector<float> weights;
};

struct BlendVertex {
  uint32_t source;                      // vertex of the source mesh
  float weights[kMaxBlendInfluences];   // strongest first, sum 1
  uint8_t slots[kMaxBlendInfluences];   // palette slots of the combination
};

// One draw: faces of one material whose bones fit the palette.
struct BlendCombination {
  uint32_t attribute;
  uint32_t faceStart, faceCount;
  uint32_t vertexStart, vertexCount;
  std::vector<int32_t> bones;  // per palette slot; kNoBone when unused
};

struct IndexedBlendMesh {
  std::vector<BlendVertex> vertices;
  std::vector<uint32_t> indices;  // three per face, into vertices
  std::vector<BlendCombination> combinations;
  int influences = 1;             // most influences any vertex keeps (1..4)
};

// Builds the blended form of a mesh of vertexCount vertices and faceCount
// triangles (indices: three per face; attributes: one per face, null for all
// 0). Influences on vertices past the last, of bones past the last, or of
// weight <= 0 (or not a number) are ignored; a vertex without any follows
// bone 0 alone. Faces with an index past the last vertex are dropped.
// False when there are no bones or the palette is smaller than the bones a
// single face needs.
bool BuildIndexedBlend(uint32_t vertexCount, const std::vector<BoneWeights>& bones, const uint32_t* indices,
                       const uint32_t* attributes, uint32_t faceCount, uint32_t paletteSize,
                       IndexedBlendMesh* out);

// The bone influences held by a skin information object.
HRESULT ReadBoneWeights(ID3DXSkinInfo* skin, std::vector<BoneWeights>* bones);

// The triangles of a mesh: three 32-bit indices and one attribute per face.
HRESULT ReadMeshFaces(ID3DXMesh* mesh, std::vector<uint32_t>* indices, std::vector<uint32_t>* attributes);
