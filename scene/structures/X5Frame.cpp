#include "X5Frame.h"

#include <cstring>

#include "X5MeshContainer.h"

X5Frame::X5Frame() {
  D3DXMatrixIdentity(&localMatrix);
  restMatrix = combinedMatrix = localMatrix;
}

X5Frame::~X5Frame() {
  // Unlink the sibling chain first so a long chain is not freed by recursion.
  std::unique_ptr<X5Frame> next = std::move(nextSibling);
  while (next) next = std::move(next->nextSibling);
}

bool TakeMeshContainers(X5Frame* into, X5Frame* from) {
  bool same = true;
  for (; into && from; into = into->nextSibling.get(), from = from->nextSibling.get()) {
    into->meshContainers = std::move(from->meshContainers);
    if (!into->firstChild != !from->firstChild) same = false;
    if (into->firstChild && from->firstChild)
      same = TakeMeshContainers(into->firstChild.get(), from->firstChild.get()) && same;
  }
  return same && !into && !from;
}

X5Frame* X5Frame::Find(const char* wanted) {
  if (!wanted || !*wanted) return nullptr;
  for (X5Frame* node = this; node; node = node->nextSibling.get()) {
    if (node->name == wanted) return node;
    if (node->firstChild)
      if (X5Frame* found = node->firstChild->Find(wanted)) return found;
  }
  return nullptr;
}

void X5Frame::AddChild(X5Frame* child) {
  if (!firstChild) {
    firstChild.reset(child);
    return;
  }
  child->nextSibling = std::move(firstChild->nextSibling);
  firstChild->nextSibling.reset(child);
}

void X5Frame::AddMeshContainer(X5MeshContainer* container) {
  meshContainers.insert(meshContainers.begin(), std::unique_ptr<X5MeshContainer>(container));
}

void X5Frame::UpdateCombined(const D3DXMATRIX& parent) {
  for (X5Frame* node = this; node; node = node->nextSibling.get()) {
    node->combinedMatrix = node->localMatrix * parent;
    if (node->firstChild) node->firstChild->UpdateCombined(node->combinedMatrix);
  }
}
