#pragma once
// A sunken structure of a plain structure record: one indexed mesh whose
// attribute ranges are its segments (culled and drawn piecewise, and never
// drawn where they lie wholly under the floor), lit per vertex with the
// caustic light, and, for a mesh of the 44-byte vertex with a relief
// texture, drawn in tangent space from a copy of the mesh with tangents.
#include "X2PluginAbi.h"
#include "fog/X7SegmentObject.h"

class X2FileStructure : public X7SegmentObject {
 public:
  // Not registered with the world; a record without a usable model gives an
  // object that draws nothing.
  explicit X2FileStructure(const X2FishData* record);
  ~X2FileStructure() override;

  HRESULT RestoreDeviceObjects() override;
  HRESULT DeleteDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;

  const X2FishData* record;
  int tangentPath = 0;
  IDirect3DVertexBuffer9* drawVertexBuffer = nullptr;
  IDirect3DIndexBuffer9* drawIndexBuffer = nullptr;

 private:
  HRESULT MakeDrawCopy(IDirect3DDevice9* device);
  void ReleaseDrawCopy();
};
