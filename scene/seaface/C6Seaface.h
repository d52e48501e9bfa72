#pragma once
// The sea surface with pixel shaders: a large segmented mesh moved by the
// waves every frame, its normals perturbed by the water simulation's normal
// map and mirroring an environment cube map.
#include <vector>

#include "EvaluateWaves.h"
#include "fog/X7SegmentObject.h"

class C9WaterPhysics;

class C6Seaface : public X7SegmentObject {
 public:
  // The bump scale the surface's vertex shader reads (c38.w).
  static constexpr float kBumpScale = 10.0f;

  C6Seaface();
  ~C6Seaface() override;

  HRESULT InitDeviceObjects() override;
  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT DeleteDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  void Animate(float current, float previous) override;
  HRESULT Render() override;

  C9WaterPhysics* physics = nullptr;
  IDirect3DCubeTexture9* environment = nullptr;
  std::vector<SurfaceVertex> vertices;  // this frame's mesh
  std::vector<D3DXVECTOR3> normals;
  IDirect3DVertexBuffer9* vertexBuffer = nullptr;
  float currentTime = 0.0f;

 private:
  void ReleaseBuffers();
};
