#include "X5MeshContainer.h"

#include "util/ComRelease.h"

X5MeshContainer::~X5MeshContainer() {
  ReleaseDeviceObjects();
  SafeRelease(skinInfo);
}

void X5MeshContainer::ReleaseDeviceObjects() {
  ReleaseDrawable();
  for (auto*& stream : morphStreams) SafeRelease(stream);
  morphStreamsMade = false;
  SafeRelease(sourceMesh);
  ranges.clear();
}

void X5MeshContainer::ReleaseDrawable() {
  SafeRelease(vertexBuffer);
  SafeRelease(indexBuffer);
  SafeRelease(mesh);
  boneCombinations.clear();
  builtFor = kStaleConversion;
}
