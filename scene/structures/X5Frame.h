#pragma once
// One node of a loaded X-file hierarchy: a frame with its matrices, meshes
// and children, or (isAnimationNode) an animation set or an animation with
// the keys that drive its target frame.
//
// A frame owns its children (first child and the sibling chain after it)
// and its mesh containers; animation nodes live in the tree like frames and
// are also chained through nextAnimation (not owning).
#include <d3dx9.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct X5MeshContainer;

struct X5PositionKey {
  uint32_t time;
  D3DXVECTOR3 value;
};
struct X5RotationKey {
  uint32_t time;
  D3DXQUATERNION value;  // x, y, z, w
};
struct X5ScaleKey {
  uint32_t time;
  D3DXVECTOR3 value;
};
struct X5MatrixKey {
  uint32_t time;
  D3DXMATRIX value;
};

class X5Frame {
 public:
  X5Frame();
  ~X5Frame();
  X5Frame(const X5Frame&) = delete;
  X5Frame& operator=(const X5Frame&) = delete;

  // Depth first: this node, then its first child's subtree, then the next
  // sibling's. Null for a null or empty name or when nothing matches.
  X5Frame* Find(const char* wanted);
  // The first child when there is none yet, else right after the first child.
  void AddChild(X5Frame* child);
  // Newest first.
  void AddMeshContainer(X5MeshContainer* container);

  // combinedMatrix = localMatrix x parent, over this node's subtree.
  void UpdateCombined(const D3DXMATRIX& parent);

  std::vector<std::unique_ptr<X5MeshContainer>> meshContainers;
  D3DXMATRIX localMatrix;
  D3DXMATRIX restMatrix;
  D3DXMATRIX combinedMatrix;
  std::vector<X5PositionKey> positionKeys;
  std::vector<X5RotationKey> rotationKeys;
  std::vector<X5ScaleKey> scaleKeys;
  std::vector<X5MatrixKey> matrixKeys;
  X5Frame* nextAnimation = nullptr;
  X5Frame* targetFrame = nullptr;
  std::unique_ptr<X5Frame> nextSibling;
  std::unique_ptr<X5Frame> firstChild;
  bool isAnimationNode = false;
  std::string name;
};

// Calls f(frame) for a frame, its siblings after it and every frame below
// them.
template <typename F>
void ForEachFrame(X5Frame* root, F f) {
  std::vector<X5Frame*> stack{root};
  while (!stack.empty()) {
    X5Frame* frame = stack.back();
    stack.pop_back();
    f(frame);
    if (frame->nextSibling) stack.push_back(frame->nextSibling.get());
    if (frame->firstChild) stack.push_back(frame->firstChild.get());
  }
}

// Moves every mesh container of `from` into the frame at the same place of
// `into` (two trees read from one file), replacing what was there. False
// when the trees' shapes differ; the frames that match still take theirs.
bool TakeMeshContainers(X5Frame* into, X5Frame* from);
