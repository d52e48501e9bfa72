#include "SeafaceGeometry.h"

void AnimateLegacyGrid(const SurfaceVertex* grid, int count, float t, SurfaceVertex* out) {
  for (int i = 0; i < count; ++i) {
    SurfaceVertex v = grid[i];
    v.x *= kLegacyGridScale;
    v.y *= kLegacyGridScale;
    v.z *= kLegacyGridScale;
    v.u *= kLegacyTextureScale;
    v.v *= kLegacyTextureScale;
    EvaluateWaves(&v, t, 1, nullptr);
    v.u *= kSurfaceTextureRepeat;
    v.v *= kSurfaceTextureRepeat;
    out[i] = v;
  }
}

void ComputeFaceNormals(SurfaceVertex* vertices, int count, const uint16_t* indices, int faceCount,
                        D3DXVECTOR3* sums) {
  for (int i = 0; i < count; ++i) sums[i] = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  auto at = [vertices](uint16_t k) { return D3DXVECTOR3(vertices[k].x, vertices[k].y, vertices[k].z); };
  for (int f = 0; f < faceCount; ++f) {
    const uint16_t* tri = indices + static_cast<size_t>(f) * 3;
    if (tri[0] >= count || tri[1] >= count || tri[2] >= count) continue;
    const D3DXVECTOR3 a = at(tri[0]), b = at(tri[1]), c = at(tri[2]);
    const D3DXVECTOR3 ab = b - a, bc = c - b;
    D3DXVECTOR3 n;
    D3DXVec3Cross(&n, &ab, &bc);
    D3DXVec3Normalize(&n, &n);
    for (int k = 0; k < 3; ++k) sums[tri[k]] += n;
  }
  for (int i = 0; i < count; ++i) {
    D3DXVECTOR3 n;
    D3DXVec3Normalize(&n, &sums[i]);
    vertices[i].nx = n.x;
    vertices[i].ny = n.y;
    vertices[i].nz = n.z;
  }
}

void AnimateSurface(const SurfaceVertex* mesh, int count, float t, SurfaceVertex* out) {
  for (int i = 0; i < count; ++i) {
    SurfaceVertex v = mesh[i];
    D3DXVECTOR3 n;
    EvaluateWaves(&v, t, 0, &n);
    v.nx = -n.x;
    v.ny = -n.y;
    v.nz = -n.z;
    v.u *= kSurfaceTextureRepeat;
    v.v *= kSurfaceTextureRepeat;
    out[i] = v;
  }
}

D3DXVECTOR3 SunLightDirection(const D3DXVECTOR3& camera, float centreX, float centreZ, float t) {
  const D3DXVECTOR3 d0 = kSunRestDirection;
  const float k = -camera.y / d0.y;
  const float qx = camera.x + k * d0.x;
  const float qz = camera.z + k * d0.z;
  SurfaceVertex v = {qx - centreX, 0.0f, qz - centreZ, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
  EvaluateWaves(&v, t, 1, nullptr);
  const float h = v.y;
  D3DXMATRIX rx, rz, m;
  D3DXMatrixRotationX(&rx, v.v * h * 0.02f);
  D3DXMatrixRotationZ(&rz, v.u * h * 0.02f);
  D3DXMatrixMultiply(&m, &rz, &rx);
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &d0, &m);
  return out;
}
