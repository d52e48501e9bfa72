// The species data on a real device: every image loads through D3DX from its
// inflated bytes, every mesh makes its vertex and index buffers, and each
// species' base mesh drawn with its first texture gives a picture (kept in
// the build tree's artefacts folder for review).
#include <d3dx9.h>
#include <zlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "D3DTestDevice.h"
#include "ModelChecks.h"
#include "ModelSet.h"
#include "TestSupport.h"

using namespace qvspecies;

namespace {

template <class T>
void SafeRelease(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

class SpeciesDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(set_.Load(&error)) << error;
    ASSERT_TRUE(dev_.Create(kWidth, kHeight)) << dev_.Error();
  }

  // Inflates entry i of a species' texture table into a D3DX texture.
  IDirect3DTexture9* LoadTexture(const X2FishTexture& entry, D3DXIMAGE_INFO* info) {
    const auto* data = static_cast<const uint8_t*>(entry.data);
    std::vector<uint8_t> file(2 * 1024 * 1024);
    uLongf size = uLongf(file.size());
    if (!data || uncompress(file.data(), &size, data, entry.size) != Z_OK) return nullptr;
    IDirect3DTexture9* texture = nullptr;
    HRESULT hr = D3DXCreateTextureFromFileInMemoryEx(
        dev_.Device(), file.data(), UINT(size), D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, D3DFMT_UNKNOWN,
        D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, info, nullptr, &texture);
    return SUCCEEDED(hr) ? texture : nullptr;
  }

  static constexpr int kWidth = 400;
  static constexpr int kHeight = 240;
  SpeciesSet set_;
  qvtest::D3DTestDevice dev_;
};

struct MeshBuffers {
  IDirect3DVertexBuffer9* vb = nullptr;
  IDirect3DIndexBuffer9* ib = nullptr;
  ~MeshBuffers() {
    SafeRelease(vb);
    SafeRelease(ib);
  }
};

// Vertex and index buffers as the program makes them (managed, write-only,
// 16-bit triangle-list indices).
HRESULT CreateBuffers(IDirect3DDevice9* d, const X2FishMesh& mesh, MeshBuffers* out) {
  const UINT vbytes = mesh.vertexCount * mesh.stride;
  const UINT ibytes = mesh.primitiveCount * 6;
  HRESULT hr = d->CreateVertexBuffer(vbytes, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &out->vb, nullptr);
  if (FAILED(hr)) return hr;
  void* p = nullptr;
  if (FAILED(hr = out->vb->Lock(0, vbytes, &p, 0))) return hr;
  memcpy(p, mesh.vertices, vbytes);
  out->vb->Unlock();
  hr = d->CreateIndexBuffer(ibytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, &out->ib, nullptr);
  if (FAILED(hr)) return hr;
  if (FAILED(hr = out->ib->Lock(0, ibytes, &p, 0))) return hr;
  memcpy(p, mesh.indices, ibytes);
  out->ib->Unlock();
  return D3D_OK;
}

TEST_F(SpeciesDeviceTest, EveryImageLoads) {
  for (const Species& s : set_.All()) {
    const X2FishModel& m = *s.record->model;
    const uint32_t count = s.tag == "calvesh" ? 3 : m.textureCount + (m.hasExtraTexture ? 1 : 0);
    for (uint32_t i = 0; i < count; ++i) {
      SCOPED_TRACE(s.tag + " image " + std::to_string(i));
      D3DXIMAGE_INFO info{};
      IDirect3DTexture9* t = LoadTexture(m.textures[i], &info);
      ASSERT_NE(t, nullptr);
      const UINT side = s.isPlugin ? 1024 : 512;
      EXPECT_EQ(info.Width, side);
      EXPECT_EQ(info.Height, side);
      D3DFORMAT expected = s.tag == "calvesh" ? D3DFMT_DXT2 : D3DFMT_DXT1;
      if (!s.isPlugin && i == 1) expected = D3DFMT_R8G8B8;
      EXPECT_EQ(info.Format, expected);
      EXPECT_EQ(info.ImageFileFormat, i == 1 && !s.isPlugin ? D3DXIFF_TGA : D3DXIFF_DDS);
      t->Release();
    }
  }
}

TEST_F(SpeciesDeviceTest, EveryMeshMakesItsBuffers) {
  for (const Species& s : set_.All()) {
    SCOPED_TRACE(s.tag);
    const X2FishModel& m = *s.record->model;
    std::vector<const X2FishMesh*> meshes = {m.baseMesh};
    if (m.hasSecondMesh) meshes.push_back(m.secondMesh->mesh);
    for (uint32_t i = 0; i < m.frameCount; ++i) meshes.push_back(m.frames[i]);
    if (m.pminfoMesh) meshes.push_back(m.pminfoMesh);
    for (const X2FishMesh* mesh : meshes) {
      MeshBuffers buffers;
      EXPECT_EQ(CreateBuffers(dev_.Device(), *mesh, &buffers), D3D_OK);
    }
  }
}

// Camera on the axis along which the mesh is thinnest (the side of a fish,
// the face of a fan), far enough back to see all of it, and a white
// material lit from the camera's side.
void AimCameraAndLight(IDirect3DDevice9* d, const X2FishMesh& mesh, float aspect, bool fromAbove = false) {
  D3DXVECTOR3 lo(1e9f, 1e9f, 1e9f), hi(-1e9f, -1e9f, -1e9f);
  for (uint32_t i = 0; i < mesh.vertexCount; ++i) {
    const float* v = reinterpret_cast<const float*>(static_cast<const uint8_t*>(mesh.vertices) + i * mesh.stride);
    lo = D3DXVECTOR3(std::min(lo.x, v[0]), std::min(lo.y, v[1]), std::min(lo.z, v[2]));
    hi = D3DXVECTOR3(std::max(hi.x, v[0]), std::max(hi.y, v[1]), std::max(hi.z, v[2]));
  }
  const D3DXVECTOR3 centre = (lo + hi) * 0.5f;
  const D3DXVECTOR3 extent = hi - lo;
  D3DXVECTOR3 axis(1, 0, 0);
  float across = std::max(extent.y, extent.z * (1.0f / aspect));
  if (extent.z < extent.x) {
    axis = D3DXVECTOR3(0, 0, -1);
    across = std::max(extent.y, extent.x * (1.0f / aspect));
  }
  D3DXVECTOR3 up(0, 1, 0);
  if (fromAbove) {  // looking down on the back, the length across the picture
    axis = D3DXVECTOR3(0, 1, 0);
    up = D3DXVECTOR3(0, 0, 1);
    across = std::max(extent.z, extent.x * (1.0f / aspect));
  }
  const float fov = D3DX_PI / 4.0f;
  const float distance = 0.5f * across / std::tan(fov * 0.5f) * 1.15f +
                         (fromAbove ? extent.y : 0.5f * std::min(extent.x, extent.z));
  const D3DXVECTOR3 eye = centre + axis * distance;
  D3DXMATRIX world, view, proj;
  D3DXMatrixIdentity(&world);
  D3DXMatrixLookAtLH(&view, &eye, &centre, &up);
  D3DXMatrixPerspectiveFovLH(&proj, fov, aspect, distance * 0.05f, distance * 4.0f);
  d->SetTransform(D3DTS_WORLD, &world);
  d->SetTransform(D3DTS_VIEW, &view);
  d->SetTransform(D3DTS_PROJECTION, &proj);

  D3DLIGHT9 light{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
  D3DXVECTOR3 dir = -axis + D3DXVECTOR3(0.0f, -0.8f, 0.3f);
  D3DXVec3Normalize(reinterpret_cast<D3DXVECTOR3*>(&light.Direction), &dir);
  d->SetLight(0, &light);
  d->LightEnable(0, TRUE);
  // A white material under that light and a dim ambient.
  D3DMATERIAL9 material{};
  material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
  material.Ambient = {1.0f, 1.0f, 1.0f, 1.0f};
  d->SetMaterial(&material);
  d->SetRenderState(D3DRS_LIGHTING, TRUE);
  d->SetRenderState(D3DRS_AMBIENT, D3DCOLOR_XRGB(90, 90, 90));
}

TEST_F(SpeciesDeviceTest, PictureOfEverySpecies) {
  const std::string folder = qvtest::TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  IDirect3DDevice9* d = dev_.Device();
  const D3DCOLOR kClear = D3DCOLOR_XRGB(16, 40, 72);
  for (const Species& s : set_.All()) {
    SCOPED_TRACE(s.tag);
    const X2FishModel& m = *s.record->model;
    const bool fan = s.tag == "calvesh";
    MeshBuffers buffers;
    ASSERT_EQ(CreateBuffers(d, *m.baseMesh, &buffers), D3D_OK);
    D3DXIMAGE_INFO info{};
    IDirect3DTexture9* texture = LoadTexture(m.textures[0], &info);
    ASSERT_NE(texture, nullptr);

    AimCameraAndLight(d, *m.baseMesh, float(kWidth) / kHeight);
    d->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    // Fish faces are wound for back-face culling; the fan is seen from both sides.
    d->SetRenderState(D3DRS_CULLMODE, fan ? D3DCULL_NONE : D3DCULL_CCW);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, fan);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);  // premultiplied alpha
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetRenderState(D3DRS_ALPHATESTENABLE, fan);
    d->SetRenderState(D3DRS_ALPHAREF, 8);
    d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    d->SetTexture(0, texture);
    d->SetFVF(m.baseMesh->fvf);
    d->SetStreamSource(0, buffers.vb, 0, m.baseMesh->stride);
    d->SetIndices(buffers.ib);

    ASSERT_EQ(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClear, 1.0f, 0), D3D_OK);
    ASSERT_EQ(d->BeginScene(), D3D_OK);
    EXPECT_EQ(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, m.baseMesh->vertexCount, 0,
                                      m.baseMesh->primitiveCount), D3D_OK);
    ASSERT_EQ(d->EndScene(), D3D_OK);
    d->SetTexture(0, nullptr);
    texture->Release();

    std::vector<uint32_t> pixels = dev_.ReadBackBuffer();
    ASSERT_EQ(pixels.size(), size_t(kWidth) * kHeight);
    size_t covered = 0;
    std::set<uint32_t> colours;
    for (uint32_t p : pixels)
      if ((p & 0xFFFFFF) != (kClear & 0xFFFFFF)) {
        ++covered;
        colours.insert(p & 0xFFFFFF);
      }
    const double share = double(covered) / pixels.size();
    EXPECT_GT(share, fan ? 0.04 : 0.08) << "the species covers too little of the picture";
    EXPECT_LT(share, 0.85) << "the species fills the picture";
    EXPECT_GT(colours.size(), 20u) << "the picture looks untextured";

    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(d->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    const std::string path = folder + "model_" + s.tag + ".png";
    HRESULT hr = D3DXSaveSurfaceToFileA(path.c_str(), D3DXIFF_PNG, back, nullptr, nullptr);
    if (FAILED(hr))
      hr = D3DXSaveSurfaceToFileA((folder + "model_" + s.tag + ".bmp").c_str(), D3DXIFF_BMP, back,
                                  nullptr, nullptr);
    back->Release();
    EXPECT_EQ(hr, D3D_OK) << "screenshot " << path;
    printf("picture %s: %.1f%% covered, %zu colours\n", path.c_str(), share * 100.0, colours.size());
  }
}

// A swim frame seen from above: frame positions and normals on stream 0,
// the base mesh's texture coordinates on stream 1, as the morph draws them.
TEST_F(SpeciesDeviceTest, SwimFramesSeenFromAbove) {
  const std::string folder = qvtest::TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  IDirect3DDevice9* d = dev_.Device();
  const D3DVERTEXELEMENT9 elements[] = {
      {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
      {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
      {1, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
      D3DDECL_END()};
  IDirect3DVertexDeclaration9* decl = nullptr;
  ASSERT_EQ(d->CreateVertexDeclaration(elements, &decl), D3D_OK);
  const D3DCOLOR kClear = D3DCOLOR_XRGB(16, 40, 72);
  for (const Species& s : set_.All()) {
    if (s.tag != "vassop" && s.tag != "madai") continue;
    SCOPED_TRACE(s.tag);
    const X2FishModel& m = *s.record->model;
    const X2FishMesh& frame = *m.frames[2];
    MeshBuffers base, bent;
    ASSERT_EQ(CreateBuffers(d, *m.baseMesh, &base), D3D_OK);
    ASSERT_EQ(CreateBuffers(d, frame, &bent), D3D_OK);
    D3DXIMAGE_INFO info{};
    IDirect3DTexture9* texture = LoadTexture(m.textures[0], &info);
    ASSERT_NE(texture, nullptr);
    AimCameraAndLight(d, *m.baseMesh, float(kWidth) / kHeight, true);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    d->SetTexture(0, texture);
    d->SetVertexDeclaration(decl);
    d->SetStreamSource(0, bent.vb, 0, frame.stride);
    d->SetStreamSource(1, base.vb, 0, m.baseMesh->stride);
    d->SetIndices(base.ib);
    ASSERT_EQ(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClear, 1.0f, 0), D3D_OK);
    ASSERT_EQ(d->BeginScene(), D3D_OK);
    EXPECT_EQ(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, frame.vertexCount, 0,
                                      m.baseMesh->primitiveCount), D3D_OK);
    ASSERT_EQ(d->EndScene(), D3D_OK);
    d->SetStreamSource(1, nullptr, 0, 0);
    d->SetTexture(0, nullptr);
    texture->Release();

    std::vector<uint32_t> pixels = dev_.ReadBackBuffer();
    size_t covered = 0;
    for (uint32_t p : pixels) covered += (p & 0xFFFFFF) != (kClear & 0xFFFFFF);
    EXPECT_GT(covered, pixels.size() / 40) << "the bent fish is missing";
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(d->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    EXPECT_EQ(D3DXSaveSurfaceToFileA((folder + "model_" + s.tag + "_swim.png").c_str(), D3DXIFF_PNG,
                                     back, nullptr, nullptr), D3D_OK);
    back->Release();
  }
  d->SetVertexDeclaration(nullptr);
  decl->Release();
}

}  // namespace
