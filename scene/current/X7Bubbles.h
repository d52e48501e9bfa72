#pragma once
// Rising bubbles over 40 vents scattered on the floor around the camera:
// up to 300 layers, each a sheet of one sprite over every vent, start a
// couple a second at the floor, rise slowly, spread and drift with the
// water current, and end at the top of the water. The field follows the
// floor: each rebuild of the terrain re-seats it under the camera. It is
// also one of the world's glare sources.
#include <vector>

#include "BubbleField.h"
#include "X7BubbleEmitter.h"
#include "world/C4VertexObject.h"

class X7Bubbles : public C4VertexObject {
 public:
  // Animation frames for plain drawing; the glare pass uses the next four.
  static constexpr int kFrames = 4;

  X7Bubbles();
  ~X7Bubbles() override;

  // Makes the buffer and the CPU array when there are none, then lays out
  // and uploads the vents.
  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT DeleteDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;
  HRESULT FinalCleanUp() override;
  void OnTerrainRebuilt(X1Terrain* terrain) override { Reseat(terrain); }

  // Moves the field under the camera, onto the floor, and lays the vents
  // out there. Without a device buffer yet only the CPU side is laid out;
  // the next restore uploads.
  void Reseat(X1Terrain* terrain);
  // Lays out the vents round the field's place on the floor (the scene's
  // terrain; flat at the field's height without one) and uploads them when
  // the buffer exists.
  void BuildVents(X1Terrain* terrain);

  int VentCount() const { return ventCount; }
  int AliveCount() const;
  IDirect3DVertexBuffer9* VertexBuffer() const { return vertexBuffer_; }
  const std::vector<float>& Vertices() const { return vertices_; }

  float currentTime = 0.0f;
  int ventCount = 0;
  std::vector<X7BubbleEmitter> layers;  // kBubbleLayers, owned with the field
  BubbleSpawnWindow window;
  int frameIndex = 0;

 private:
  HRESULT UploadVents();
  void ReleaseBuffer();

  IDirect3DVertexBuffer9* vertexBuffer_ = nullptr;
  std::vector<float> vertices_;  // kBubbleArrayVertices vertices once restored
};
