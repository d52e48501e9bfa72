#pragma once
// Base of the large meshes that are culled and drawn piecewise (the sea
// surface, the structures): each attribute range of the first mesh is a
// segment with a bounding sphere; each frame the segments outside the view
// are hidden, and the visible ones are drawn, runs of consecutive segments
// in one call while their ranges continue one another.
//
// Subclasses build the segments once their mesh data is there (their
// restore), call Move from their own move and DoRender from their render
// after binding their shaders, streams and indices.
#include <cstdint>
#include <vector>

#include "SegmentPlan.h"
#include "world/C4VertexObject.h"

// Object flag: draw the whole first mesh at once, with fog off.
constexpr uint32_t kObjWholeSegmentMesh = 0x200;

class X7SegmentObject : public C4VertexObject {
 public:
  X7SegmentObject();

  HRESULT Move(float current, float previous) override;
  // Rebuilds the sphere and hidden-flag lists from the first mesh (a second
  // build replaces the first; nothing is appended).
  void BuildSegments();
  // Draws the visible segments of the first mesh with the bound buffers.
  void DoRender();

  std::vector<SegmentSphere> spheres;
  std::vector<uint32_t> hidden;  // 1 hidden, one per sphere
  // 1 while runs are merged; goes to 0 for good at the first layout that
  // does not continue a run.
  int mergeSwitch = 1;

 private:
  const X2FishMesh* FirstMesh() const;
};
