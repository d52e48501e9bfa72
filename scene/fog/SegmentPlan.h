#pragma once
// A segmented mesh's decisions without a device: one bounding sphere per
// attribute range of its mesh, the culling of each segment against the
// camera, and the draw calls of the visible segments, with runs of
// consecutive visible segments merged into one call.
#include <d3dx9math.h>

#include <cstdint>
#include <vector>

#include "X2PluginAbi.h"

struct SegmentSphere {
  D3DXVECTOR3 centre;
  float radius;
};

// Per attribute range, in order: the middle of the bounding box of its
// vertices and the distance from there to the box's maximum corner. A range
// reaching past the mesh's vertices is measured over the vertices it does
// have (none: a sphere of radius 0 at the origin).
std::vector<SegmentSphere> BuildSegmentSpheres(const X2FishMesh& mesh);

// What one segment's culling sees: the camera and its side planes.
struct SegmentView {
  D3DXVECTOR3 eye;
  D3DXVECTOR3 direction;  // unit view direction
  const D3DXVECTOR3* normals;
  int planeCount;  // 4, or 2 in the dual view
  float farDistance;
};

// hidden[i] = 1 unless the sphere, carried by world and scaled by scale, is
// within every side plane (Q . n <= r') and no further ahead than
// r' + 0.7 x far distance (Q . D); then 0. hidden is resized to the spheres.
void CullSegments(const std::vector<SegmentSphere>& spheres, const D3DXMATRIX& world, float scale,
                  const SegmentView& view, std::vector<uint32_t>* hidden);

// One DrawIndexedPrimitive of a triangle list with base vertex 0.
struct SegmentDraw {
  uint32_t minIndex;
  uint32_t vertexCount;
  uint32_t startIndex;  // 3 x first face
  uint32_t primitiveCount;
};

struct SegmentDrawPlan {
  std::vector<SegmentDraw> draws;
  // Merging met a visible segment that does not continue its run: 1 for its
  // vertices, 2 for its faces (0: it did not). Merging is then given up and
  // the draws are the segment-by-segment ones.
  int brokenRun = 0;
};

// The draws of the visible segments (hidden[i] == 0) of ranges[0 .. count).
// A segment without faces, or reaching past the mesh's faces or vertices,
// is never drawn. With merge, consecutive visible segments whose ranges
// continue one another are drawn in one call.
SegmentDrawPlan PlanSegmentDraws(const X2AttributeRange* ranges, int count, const std::vector<uint32_t>& hidden,
                                 bool merge, uint32_t meshVertices, uint32_t meshFaces);
