#pragma once
// A ring of large dark sprites around the camera, 90 units out and turning
// slowly both ways, subtracted faintly from the scene to thicken the
// distance.
#include <vector>

#include "SoftFogLayout.h"
#include "buffers/DynamicVertexBuffer.h"
#include "world/C4VertexObject.h"

class X7SoftFog : public C4VertexObject {
 public:
  X7SoftFog();
  ~X7SoftFog() override;

  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT DeleteDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;
  HRESULT FinalCleanUp() override;

  IDirect3DVertexBuffer9* VertexBuffer() const { return quads_.Buffer(); }

  uint16_t spriteCount = kSoftFogSprites;
  D3DXVECTOR3 sprites[kSoftFogSprites];
  // Each sprite's own offset: only the height varies, by up to 10 units.
  D3DXVECTOR3 offsets[kSoftFogSprites];
  int groupCounts[kSoftFogGroups] = {};
  int quadCount = 0;
  float alpha = 0.05f;

 private:

  DynamicVertexBuffer quads_{"X7SoftFog"};  // kSoftFogArrayVertices vertices while restored
};
