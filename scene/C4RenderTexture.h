#pragma once
// Renders one source fish into a small texture each frame from the camera's
// side and draws its clones as camera-facing quads textured with that image,
// unless a clone comes closer than 5 units (then it is drawn as itself).
#include "C4Collection.h"
#include "C4VertexObject.h"

class C6Fish;

class C4RenderTexture : public C4VertexObject {
 public:
  C4RenderTexture();
  ~C4RenderTexture() override;

  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;
  HRESULT FinalCleanUp() override;

  void SetSource(C6Fish* source);
  void AddObject(C6Fish* clone);
  // Draws the source into the texture (called by the source's frame move).
  void RenderSource(C6Fish* source);

  C6Fish* Source() const { return source_; }
  const C4Collection& Clones() const { return clones_; }
  int QuadCount() const { return quadCount_; }

 private:
  // Target, its surface and the saved surfaces; the shared vertex buffer too
  // when asked (invalidation) or when no other render texture is left.
  void ReleaseDeviceResources(bool sharedBuffer);

  int currentTarget_ = 0;
  IDirect3DTexture9* target_ = nullptr;
  IDirect3DSurface9* targetSurface_ = nullptr;
  int textureSize_ = 256;
  IDirect3DSurface9* savedTarget_ = nullptr;
  IDirect3DSurface9* savedDepth_ = nullptr;
  C4Collection clones_{10, 10};
  C6Fish* source_ = nullptr;
  int segmentSize_ = 0;
  std::vector<float> vertices_;  // 8 floats per clone vertex
  int quadCount_ = 0;
  float extent_ = 0.7f;
};
