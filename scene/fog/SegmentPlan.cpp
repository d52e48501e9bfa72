#include "SegmentPlan.h"

#include <algorithm>
#include <cmath>

namespace {

bool InsideMesh(const X2AttributeRange& r, uint32_t meshVertices, uint32_t meshFaces) {
  return r.faceCount > 0 && r.vertexCount > 0 && r.faceStart <= meshFaces && r.faceCount <= meshFaces - r.faceStart &&
         r.vertexStart <= meshVertices && r.vertexCount <= meshVertices - r.vertexStart;
}

SegmentDraw DrawOf(uint32_t firstVertex, uint32_t vertices, uint32_t firstFace, uint32_t faces) {
  return SegmentDraw{firstVertex, vertices, 3 * firstFace, faces};
}

std::vector<SegmentDraw> OneByOne(const X2AttributeRange* ranges, int count, const std::vector<uint32_t>& hidden,
                                  uint32_t meshVertices, uint32_t meshFaces) {
  std::vector<SegmentDraw> draws;
  for (int i = 0; i < count; ++i) {
    const X2AttributeRange& r = ranges[i];
    if (hidden[i] || !InsideMesh(r, meshVertices, meshFaces)) continue;
    draws.push_back(DrawOf(r.vertexStart, r.vertexCount, r.faceStart, r.faceCount));
  }
  return draws;
}

}  // namespace

std::vector<SegmentSphere> BuildSegmentSpheres(const X2FishMesh& mesh) {
  std::vector<SegmentSphere> spheres;
  for (uint32_t a = 0; mesh.attributeRanges && a < mesh.attributeRangeCount; ++a) {
    const X2AttributeRange& r = mesh.attributeRanges[a];
    D3DXVECTOR3 lo(0.0f, 0.0f, 0.0f), hi(0.0f, 0.0f, 0.0f);
    bool any = false;
    const uint32_t end = static_cast<uint32_t>(std::min<uint64_t>(uint64_t(r.vertexStart) + r.vertexCount,
                                                                  mesh.vertexCount));
    if (mesh.vertices && mesh.stride >= 12) {
      for (uint32_t v = r.vertexStart; v < end; ++v) {
        const float* p = reinterpret_cast<const float*>(static_cast<const uint8_t*>(mesh.vertices) +
                                                        static_cast<size_t>(v) * mesh.stride);
        const D3DXVECTOR3 q(p[0], p[1], p[2]);
        if (!any) {
          lo = hi = q;
          any = true;
        } else {
          D3DXVec3Minimize(&lo, &lo, &q);
          D3DXVec3Maximize(&hi, &hi, &q);
        }
      }
    }
    const D3DXVECTOR3 centre = (lo + hi) * 0.5f;
    const D3DXVECTOR3 half = hi - centre;
    spheres.push_back(SegmentSphere{centre, D3DXVec3Length(&half)});
  }
  return spheres;
}

void CullSegments(const std::vector<SegmentSphere>& spheres, const D3DXMATRIX& world, float scale,
                  const SegmentView& view, std::vector<uint32_t>* hidden) {
  hidden->assign(spheres.size(), 1u);
  for (size_t i = 0; i < spheres.size(); ++i) {
    D3DXVECTOR3 centre;
    D3DXVec3TransformCoord(&centre, &spheres[i].centre, &world);
    const float r = spheres[i].radius * scale;
    const D3DXVECTOR3 q = centre - view.eye;
    bool inside = true;
    for (int p = 0; p < view.planeCount && inside; ++p) inside = D3DXVec3Dot(&q, &view.normals[p]) <= r;
    if (!inside) continue;
    if (!(D3DXVec3Dot(&q, &view.direction) <= r + 0.7f * view.farDistance)) continue;
    (*hidden)[i] = 0;
  }
}

SegmentDrawPlan PlanSegmentDraws(const X2AttributeRange* ranges, int count, const std::vector<uint32_t>& hidden,
                                 bool merge, uint32_t meshVertices, uint32_t meshFaces) {
  SegmentDrawPlan plan;
  if (!ranges || count <= 0) return plan;
  count = std::min(count, static_cast<int>(hidden.size()));
  if (!merge) {
    plan.draws = OneByOne(ranges, count, hidden, meshVertices, meshFaces);
    return plan;
  }
  // The open run: first vertex, vertex count, first face, face count.
  uint32_t runVertex = 0, runVertices = 0, runFace = 0, runFaces = 0;
  auto close = [&] {
    if (runFaces > 0) plan.draws.push_back(DrawOf(runVertex, runVertices, runFace, runFaces));
    runVertices = runFaces = 0;
  };
  for (int i = 0; i <= count; ++i) {
    const bool visible = i < count && !hidden[i] && InsideMesh(ranges[i], meshVertices, meshFaces);
    if (!visible) {
      close();
      continue;
    }
    const X2AttributeRange& r = ranges[i];
    if (runFaces == 0) {
      runVertex = r.vertexStart;
      runVertices = r.vertexCount;
      runFace = r.faceStart;
      runFaces = r.faceCount;
      continue;
    }
    const int broken = r.vertexStart != runVertex + runVertices ? 1 : r.faceStart != runFace + runFaces ? 2 : 0;
    if (broken) {
      plan.brokenRun = broken;
      plan.draws = OneByOne(ranges, count, hidden, meshVertices, meshFaces);
      return plan;
    }
    runVertices += r.vertexCount;
    runFaces += r.faceCount;
  }
  return plan;
}
