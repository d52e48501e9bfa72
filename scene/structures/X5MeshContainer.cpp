#include "X5MeshContainer.h"

#include "util/ComRelease.h"

X5MeshContainer::~X5MeshContainer() {
  SafeRelease(vertexBuffer);
  SafeRelease(indexBuffer);
  for (auto*& stream : morphStreams) SafeRelease(stream);
  SafeRelease(mesh);
  SafeRelease(sourceMesh);
  SafeRelease(skinInfo);
}

void X5MeshContainer::ReleaseDrawable() {
  SafeRelease(vertexBuffer);
  SafeRelease(indexBuffer);
  SafeRelease(mesh);
  boneCombinations.clear();
  builtFor = kStaleConversion;
}
