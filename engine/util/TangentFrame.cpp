#include "TangentFrame.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct Vec3 {
  float x, y, z;
};

Vec3 Read3(const uint8_t* vertex, size_t offset) {
  Vec3 v;
  std::memcpy(&v, vertex + offset, sizeof v);
  return v;
}

void Read2(const uint8_t* vertex, size_t offset, float out[2]) { std::memcpy(out, vertex + offset, 2 * sizeof(float)); }

float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

bool Normalise(Vec3* v) {
  const float length = std::sqrt(Dot(*v, *v));
  if (!(length > 1e-12f)) return false;  // zero or not a number
  v->x /= length;
  v->y /= length;
  v->z /= length;
  return true;
}

// Any unit vector perpendicular to n (n need not be normalised).
Vec3 Perpendicular(const Vec3& n) {
  const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
  // Cross n with the axis it is least aligned with.
  Vec3 axis = ax <= ay && ax <= az ? Vec3{1, 0, 0} : (ay <= az ? Vec3{0, 1, 0} : Vec3{0, 0, 1});
  Vec3 t{n.y * axis.z - n.z * axis.y, n.z * axis.x - n.x * axis.z, n.x * axis.y - n.y * axis.x};
  if (!Normalise(&t)) t = Vec3{1, 0, 0};
  return t;
}

template <typename Index>
void Compute(void* data, uint32_t vertexCount, const TangentLayout& l, const Index* indices,
             uint32_t triangleCount) {
  auto* base = static_cast<uint8_t*>(data);
  std::vector<Vec3> sum(vertexCount, Vec3{0, 0, 0});
  for (uint32_t t = 0; indices && t < triangleCount; ++t) {
    const Index* tri = indices + size_t(t) * 3;
    if (tri[0] >= vertexCount || tri[1] >= vertexCount || tri[2] >= vertexCount) continue;
    const uint8_t* v[3] = {base + tri[0] * l.stride, base + tri[1] * l.stride, base + tri[2] * l.stride};
    const Vec3 p0 = Read3(v[0], l.position), p1 = Read3(v[1], l.position), p2 = Read3(v[2], l.position);
    float uv0[2], uv1[2], uv2[2];
    Read2(v[0], l.texture, uv0);
    Read2(v[1], l.texture, uv1);
    Read2(v[2], l.texture, uv2);
    const Vec3 e1{p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
    const Vec3 e2{p2.x - p0.x, p2.y - p0.y, p2.z - p0.z};
    const float du1 = uv1[0] - uv0[0], dv1 = uv1[1] - uv0[1];
    const float du2 = uv2[0] - uv0[0], dv2 = uv2[1] - uv0[1];
    const float det = du1 * dv2 - du2 * dv1;
    if (!(std::fabs(det) > 1e-20f)) continue;  // no area in texture space
    // d(position)/du, scaled by |det| so larger triangles weigh more.
    const float sign = det > 0.0f ? 1.0f : -1.0f;
    const Vec3 dir{(e1.x * dv2 - e2.x * dv1) * sign, (e1.y * dv2 - e2.y * dv1) * sign,
                   (e1.z * dv2 - e2.z * dv1) * sign};
    for (int k = 0; k < 3; ++k) {
      Vec3& s = sum[tri[k]];
      s.x += dir.x;
      s.y += dir.y;
      s.z += dir.z;
    }
  }
  for (uint32_t i = 0; i < vertexCount; ++i) {
    uint8_t* vertex = base + i * l.stride;
    Vec3 n = Read3(vertex, l.normal);
    Vec3 t = sum[i];
    if (Normalise(&n)) {
      const float d = Dot(t, n);
      t = Vec3{t.x - n.x * d, t.y - n.y * d, t.z - n.z * d};
    }
    if (!Normalise(&t)) t = Perpendicular(n);
    std::memcpy(vertex + l.tangent, &t, sizeof t);
  }
}

}  // namespace

void ComputeTangents(void* vertices, uint32_t vertexCount, const TangentLayout& layout,
                     const uint16_t* indices, uint32_t triangleCount) {
  if (vertices) Compute(vertices, vertexCount, layout, indices, triangleCount);
}

void ComputeTangents(void* vertices, uint32_t vertexCount, const TangentLayout& layout,
                     const uint32_t* indices, uint32_t triangleCount) {
  if (vertices) Compute(vertices, vertexCount, layout, indices, triangleCount);
}

bool FindTangentLayout(const D3DVERTEXELEMENT9* declaration, size_t stride, TangentLayout* layout) {
  bool position = false, normal = false, texture = false, tangent = false;
  *layout = TangentLayout{stride, 0, 0, 0, 0};
  for (const D3DVERTEXELEMENT9* e = declaration; e && e->Stream != 0xFF; ++e) {
    if (e->Stream != 0 || e->UsageIndex != 0) continue;
    if (e->Usage == D3DDECLUSAGE_POSITION && e->Type == D3DDECLTYPE_FLOAT3) {
      layout->position = e->Offset;
      position = true;
    } else if (e->Usage == D3DDECLUSAGE_NORMAL && e->Type == D3DDECLTYPE_FLOAT3) {
      layout->normal = e->Offset;
      normal = true;
    } else if (e->Usage == D3DDECLUSAGE_TEXCOORD && e->Type == D3DDECLTYPE_FLOAT2) {
      layout->texture = e->Offset;
      texture = true;
    } else if (e->Usage == D3DDECLUSAGE_TANGENT && e->Type == D3DDECLTYPE_FLOAT3) {
      layout->tangent = e->Offset;
      tangent = true;
    }
  }
  return position && normal && texture && tangent;
}

HRESULT ComputeMeshTangents(ID3DXMesh* mesh) {
  if (!mesh) return D3DERR_INVALIDCALL;
  D3DVERTEXELEMENT9 declaration[MAX_FVF_DECL_SIZE];
  HRESULT hr = mesh->GetDeclaration(declaration);
  if (FAILED(hr)) return hr;
  TangentLayout layout;
  if (!FindTangentLayout(declaration, mesh->GetNumBytesPerVertex(), &layout)) return D3DERR_INVALIDCALL;
  void* vertices = nullptr;
  hr = mesh->LockVertexBuffer(0, &vertices);
  if (FAILED(hr)) return hr;
  void* indices = nullptr;
  hr = mesh->LockIndexBuffer(D3DLOCK_READONLY, &indices);
  if (FAILED(hr)) {
    mesh->UnlockVertexBuffer();
    return hr;
  }
  if (mesh->GetOptions() & D3DXMESH_32BIT)
    ComputeTangents(vertices, mesh->GetNumVertices(), layout, static_cast<const uint32_t*>(indices), mesh->GetNumFaces());
  else
    ComputeTangents(vertices, mesh->GetNumVertices(), layout, static_cast<const uint16_t*>(indices), mesh->GetNumFaces());
  mesh->UnlockIndexBuffer();
  mesh->UnlockVertexBuffer();
  return 0;
}
