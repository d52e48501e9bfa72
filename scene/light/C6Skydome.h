#pragma once
// The sky over the sea surface: a flattened dome that follows the camera
// across, its picture mapped from the zenith outwards, fogged with its own
// range and seen through the surface.
#include "world/C4VertexObject.h"

class C6Skydome : public C4VertexObject {
 public:
  C6Skydome();
  ~C6Skydome() override;

  // The dome's own vertex buffer: flattened positions with polar texture
  // coordinates, built from the mesh.
  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;

  IDirect3DVertexBuffer9* vertexBuffer = nullptr;
  int textureSelector = 0;

 private:
  void ReleaseBuffer();
};
