#pragma once
// Glow billboards at the points the fish report each frame: the product's
// per-frame hook clears the points, each visible fish whose side mirrors the
// sun towards the camera adds one in its move, the halation's own move turns
// those within view into quads, and its render adds them over the scene
// (also into the glare image, as one of the world's glare sources).
#include <vector>

#include "HalationQuads.h"
#include "buffers/DynamicVertexBuffer.h"
#include "world/C4VertexObject.h"

class X1Halation : public C4VertexObject {
 public:
  X1Halation();
  ~X1Halation() override;

  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;
  HRESULT FinalCleanUp() override;

  // Appends a point while fewer than 200 are held; a further point is
  // dropped with a log line.
  void AddPoint(float x, float y, float z, float intensity);
  // The per-frame reset: no points.
  void ResetPoints() { pointCount = 0; }

  int PointCount() const { return pointCount; }
  int QuadCount() const { return quadCount; }
  IDirect3DVertexBuffer9* VertexBuffer() const { return quads_.Buffer(); }

  int quadCount = 0;
  D3DXVECTOR3 points[kMaxHalationPoints];
  float intensities[kMaxHalationPoints] = {};
  int pointCount = 0;

 private:
  DynamicVertexBuffer quads_{"X1Halation"};  // kHalationArrayVertices vertices while restored
};
