#pragma once
// Renders one source fish into a small picture each frame from the camera's
// side and draws its clones as camera-facing quads textured with that image,
// unless a clone comes closer than 5 units (then it is drawn as itself).
// The picture is a tile of the shared clone atlas (CloneAtlas): the source
// is asked for during the frame move and drawn with all others before the
// frame is drawn (PreRender).
#include "world/C4Collection.h"
#include "world/C4VertexObject.h"

class C6Fish;

class C4RenderTexture : public C4VertexObject {
 public:
  C4RenderTexture();
  ~C4RenderTexture() override;

  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT PreRender() override;
  HRESULT Render() override;
  HRESULT FinalCleanUp() override;

  void SetSource(C6Fish* source);
  void AddObject(C6Fish* clone);
  // Asks for the source's picture this frame (called by the source's frame
  // move); it is drawn by the atlas before the frame.
  void RenderSource(C6Fish* source);
  // Called by the atlas, in its scene with the tile as the viewport.
  void DrawSource();
  // The atlas could not draw the picture: the clones draw themselves.
  void CaptureFailed();

  C6Fish* Source() const { return source_; }
  const C4Collection& Clones() const { return clones_; }
  int QuadCount() const { return quadCount_; }

 private:
  // Leaves the atlas, and releases the atlas's device objects and the shared
  // vertex buffer too when asked (invalidation) or when no other render
  // texture is left.
  void ReleaseDeviceResources(bool shared);

  int textureSize_ = 256;
  C4Collection clones_{10, 10};
  C6Fish* source_ = nullptr;
  // The pass asked for this frame: the source with its camera.
  C6Fish* pendingSource_ = nullptr;
  D3DXMATRIX sourceView_;
  D3DXMATRIX sourceProjection_;
  D3DXVECTOR3 eye_{0.0f, 0.0f, 0.0f};
  bool hasEye_ = false;
  int segmentSize_ = 0;
  std::vector<float> vertices_;  // 8 floats per clone vertex
  int quadCount_ = 0;
  float extent_ = 0.7f;
};
