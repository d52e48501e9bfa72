#include "CloneQuads.h"

#include <algorithm>

#include "fish/C6Fish.h"

namespace {

// Texture coordinates of the six vertices of a quad.
const float kCorners[kCloneQuadVertices][2] = {{0, 0}, {0, 0}, {0, 1}, {1, 0}, {1, 1}, {1, 1}};

constexpr int kDefaultImpostorSize = 256;

}  // namespace

size_t CloneArrayFloats(int clones) {
  return static_cast<size_t>(kCloneQuadVertices * std::max(0, clones) + kSpareCloneVertices) * kCloneVertexFloats;
}

void WriteCloneQuad(float* out, const D3DXVECTOR3& p) {
  for (int i = 0; i < kCloneQuadVertices; ++i) {
    float* v = out + i * kCloneVertexFloats;
    v[0] = p.x;
    v[1] = p.y;
    v[2] = p.z;
    v[3] = 0.0f;
    v[4] = 1.0f;
    v[5] = 0.0f;
    v[6] = kCorners[i][0];
    v[7] = kCorners[i][1];
  }
}

int BuildCloneQuads(C3Object* const* clones, int count, const D3DXVECTOR3* eye, std::vector<float>* vertices) {
  int quads = 0;
  if (!clones) return 0;
  for (int i = 0; i < count; ++i) {
    C6Fish* clone = static_cast<C6Fish*>(clones[i]);
    if (!clone) continue;
    clone->flags &= ~kObjSorted;
    clone->drawAsMesh = 0;
    if (clone->HasFlag(kObjCulled)) continue;
    if (!eye || !clone->cloneSource || !clone->cloneSource->sourceCaptured) {
      clone->drawAsMesh = 1;
      continue;
    }
    D3DXVECTOR3 d = clone->position - *eye;
    clone->cameraDistance = D3DXVec3Length(&d);
    if (clone->cameraDistance < kBillboardDistance) {
      clone->drawAsMesh = 1;
      clone->flags |= kObjSorted;
      continue;
    }
    size_t needed = static_cast<size_t>(quads + 1) * kCloneQuadFloats;
    if (vertices->size() < needed) vertices->resize(std::max(needed, CloneArrayFloats(count)));
    WriteCloneQuad(vertices->data() + static_cast<size_t>(quads) * kCloneQuadFloats, clone->position);
    ++quads;
  }
  return quads;
}

CloneSegmentDraw NextCloneSegment(int* counter, int firstQuad, int quads) {
  *counter = (*counter + 1) % kCloneSegmentCount;
  if (*counter < 0) *counter = 0;
  CloneSegmentDraw d{};
  d.segment = *counter;
  d.offset = static_cast<UINT>(d.segment) * kCloneSegmentBytes;
  d.lockFlags = d.segment == 0 ? D3DLOCK_DISCARD : D3DLOCK_NOOVERWRITE;
  d.firstVertex = d.offset / kCloneVertexBytes;
  d.firstQuad = firstQuad;
  d.quads = std::min(std::max(quads, 0), static_cast<int>(kMaxQuadsPerSegment));
  d.lockBytes = static_cast<UINT>(d.quads) * kCloneQuadBytes;
  d.primitives = d.quads > 0 ? static_cast<UINT>(kCloneQuadVertices * d.quads - 2) : 0;
  return d;
}

std::vector<CloneSegmentDraw> PlanCloneDraws(int* counter, int quads) {
  std::vector<CloneSegmentDraw> draws;
  for (int first = 0; first < quads; first += kMaxQuadsPerSegment)
    draws.push_back(NextCloneSegment(counter, first, quads - first));
  return draws;
}

int RenderTargetEdge(int impostorSize) {
  if (impostorSize < 2 || impostorSize > 4096) impostorSize = kDefaultImpostorSize;
  return impostorSize / 2;
}

void SourceViewProjection(const D3DXVECTOR3& source, const D3DXVECTOR3& direction, float distance, float extent,
                          D3DXMATRIX* view, D3DXMATRIX* projection) {
  D3DXVECTOR3 eye = source - direction * distance;
  D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
  D3DXVECTOR3 side;
  D3DXVec3Cross(&side, &direction, &up);
  if (D3DXVec3LengthSq(&side) < 1e-6f) up = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
  D3DXMatrixLookAtLH(view, &eye, &source, &up);
  D3DXMatrixPerspectiveFovLH(projection, extent / distance, 1.0f, 0.1f, 100.0f);
}
