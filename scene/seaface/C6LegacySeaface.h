#pragma once
// The sea surface without pixel shaders: a grid moved by the waves every
// frame, lit per vertex with normals from its faces, textured by the fixed
// stages and streamed through a dynamic vertex buffer.
#include <vector>

#include "EvaluateWaves.h"
#include "world/C4VertexObject.h"

class C6LegacySeaface : public C4VertexObject {
 public:
  C6LegacySeaface();
  ~C6LegacySeaface() override;

  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  void Animate(float current, float previous) override;
  HRESULT Render() override;

  std::vector<SurfaceVertex> vertices;  // this frame's grid
  std::vector<D3DXVECTOR3> normalSums;
  IDirect3DVertexBuffer9* vertexBuffer = nullptr;

 private:
  void ReleaseBuffers();
};
