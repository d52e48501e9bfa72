// The shader, buffer and state-block servers on a real device: sharing by
// key, state blocks from record lists, mesh buffers and strips, meshes from X
// blocks, and a device reset and a delete / re-initialisation cycle without
// leaks or double frees.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "D3DTestDevice.h"
#include "ServersTestData.h"
#include "servers/SBServer.h"
#include "servers/StaticTables.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "strips/StripBuilder.h"

namespace {

using qvtest::DeviceReferences;

bool g_pixelShaders = true;
bool PixelShadersQuery() { return g_pixelShaders; }

class ServersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device_.Create(64, 64)) << device_.Error();
    d_ = device_.Device();
    baseRefs_ = DeviceReferences(d_);
    g_pixelShaders = true;
  }
  void TearDown() override {
    // Nothing the servers made may outlive them.
    if (d_) {
      EXPECT_EQ(baseRefs_, DeviceReferences(d_));
    }
  }

  template <typename Server>
  void Start(Server& s) {
    s.SetPixelShaderQuery(PixelShadersQuery);
    s.InitDeviceObjects(d_);
    s.RestoreDeviceObjects();
  }
  template <typename Server>
  void Stop(Server& s) {
    s.InvalidateDeviceObjects();
    s.DeleteDeviceObjects();
  }

  qvtest::D3DTestDevice device_;
  IDirect3DDevice9* d_ = nullptr;
  ULONG baseRefs_ = 0;
};

// --- VSServer ------------------------------------------------------------------

TEST_F(ServersTest, ShadersAreSharedByCodeAddress) {
  VSServer vs;
  Start(vs);
  ShaderDescriptor copy = g_GlareBufferShaders[0];  // another descriptor, same code
  IDirect3DVertexDeclaration9* d1 = nullptr;
  IDirect3DVertexDeclaration9* d2 = nullptr;
  IUnknown* a = vs.GetShader(&g_TexturePanelShaders[0], &d1);
  IUnknown* b = vs.GetShader(&copy, &d2);
  EXPECT_EQ(a, b);
  EXPECT_EQ(d1, d2);
  EXPECT_EQ(1, vs.Count());

  // After an invalidation the next request makes a new shader.
  vs.InvalidateDeviceObjects();
  EXPECT_EQ(0, vs.Count());
  vs.RestoreDeviceObjects();
  vs.GetShader(&copy, &d2);
  EXPECT_EQ(1, vs.Count());
  Stop(vs);
}

TEST_F(ServersTest, PixelShadersNotUsedGiveNoPixelShader) {
  VSServer vs;
  Start(vs);
  g_pixelShaders = false;
  IDirect3DVertexDeclaration9* decl = reinterpret_cast<IDirect3DVertexDeclaration9*>(1);
  EXPECT_EQ(VSServer::kNoPixelShader, vs.GetShader(&g_GlareBufferShaders[1], &decl));
  EXPECT_EQ(nullptr, decl);
  EXPECT_EQ(0, vs.Count());

  IUnknown* v = vs.GetShader(&g_GlareBufferShaders[0], &decl);
  vs.SetShaders(v, VSServer::kNoPixelShader, decl);
  IDirect3DPixelShader9* bound = reinterpret_cast<IDirect3DPixelShader9*>(1);
  ASSERT_EQ(S_OK, d_->GetPixelShader(&bound));
  EXPECT_EQ(nullptr, bound);
  IDirect3DVertexShader9* boundVs = nullptr;
  ASSERT_EQ(S_OK, d_->GetVertexShader(&boundVs));
  EXPECT_EQ(static_cast<IUnknown*>(boundVs), v);
  if (boundVs) boundVs->Release();
  EXPECT_EQ(v, vs.CurrentVertexShader());
  vs.ResetCurrent();
  EXPECT_EQ(VSServer::kNoShader, vs.CurrentVertexShader());
  d_->SetVertexShader(nullptr);
  d_->SetVertexDeclaration(nullptr);
  Stop(vs);
}

// --- SBServer -----------------------------------------------------------------

TEST_F(ServersTest, StateBlocksAreSharedByListAndApplyTheirStates) {
  SBServer sb;
  Start(sb);
  IDirect3DStateBlock9* s1 = sb.CreateSB(g_StateListS1);
  IDirect3DStateBlock9* s4 = sb.CreateSB(g_StateListS4);
  EXPECT_EQ(s1, sb.CreateSB(g_StateListS1));
  EXPECT_NE(s1, s4);
  EXPECT_EQ(2, sb.Count());

  DWORD value = 0;
  sb.SetSB(s4);
  d_->GetRenderState(D3DRS_SRCBLEND, &value);
  EXPECT_EQ(DWORD(D3DBLEND_ONE), value);
  d_->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
  EXPECT_EQ(1u, value);
  sb.SetSB(s1);
  d_->GetRenderState(D3DRS_CULLMODE, &value);
  EXPECT_EQ(DWORD(D3DCULL_CW), value);
  d_->GetTextureStageState(0, D3DTSS_COLORARG1, &value);
  EXPECT_EQ(DWORD(D3DTA_DIFFUSE), value);
  d_->GetTextureStageState(1, D3DTSS_ALPHAOP, &value);
  EXPECT_EQ(DWORD(D3DTOP_DISABLE), value);
  EXPECT_EQ(s1, sb.Current());

  // After an invalidation the same list records a new block.
  sb.InvalidateDeviceObjects();
  EXPECT_EQ(0, sb.Count());
  EXPECT_NE(SBServer::kNoBlock, sb.CreateSB(g_StateListS1));
  EXPECT_EQ(1, sb.Count());
  Stop(sb);
}

TEST_F(ServersTest, FixedFunctionPartFollowsThePixelShaderChoice) {
  const uint32_t list[] = {7, 1, 3, 137, 0, 0xFFFFFFFFu};
  DWORD value = 0;
  for (bool pixel : {true, false}) {
    SBServer sb;
    Start(sb);
    g_pixelShaders = pixel;
    d_->SetRenderState(D3DRS_ZENABLE, 0);
    d_->SetRenderState(D3DRS_LIGHTING, 1);
    sb.SetSB(sb.CreateSB(list));
    d_->GetRenderState(D3DRS_ZENABLE, &value);
    EXPECT_EQ(1u, value);
    d_->GetRenderState(D3DRS_LIGHTING, &value);
    EXPECT_EQ(pixel ? 1u : 0u, value);
    Stop(sb);
  }
}

TEST_F(ServersTest, TheHundredAndFirstListIsRefusedWithoutHarm) {
  SBServer sb;
  Start(sb);
  std::vector<std::vector<uint32_t>> lists(SBServer::kCapacity + 1, {7, 1, 0xFFFFFFFFu});
  for (int i = 0; i < SBServer::kCapacity; ++i) ASSERT_NE(SBServer::kNoBlock, sb.CreateSB(lists[i].data()));
  EXPECT_EQ(SBServer::kNoBlock, sb.CreateSB(lists.back().data()));
  EXPECT_EQ(SBServer::kCapacity, sb.Count());
  EXPECT_NE(SBServer::kNoBlock, sb.CreateSB(lists[5].data()));
  sb.SetSB(SBServer::kNoBlock);  // logs only
  Stop(sb);
}

// --- VBServer -----------------------------------------------------------------

TEST(QuadIndicesTest, EveryQuadUsesItsFourVertices) {
  std::vector<uint16_t> idx(VBServer::kQuadCount * 6);
  VBServer::FillQuadIndices(idx.data(), VBServer::kQuadCount);
  EXPECT_EQ((std::vector<uint16_t>{0, 1, 2, 1, 3, 2}), std::vector<uint16_t>(idx.begin(), idx.begin() + 6));
  const size_t last = (VBServer::kQuadCount - 1) * 6;
  EXPECT_EQ(23996, idx[last]);
  EXPECT_EQ(23999, idx[last + 4]);
}

TEST_F(ServersTest, QuadIndexBufferLivesFromRestoreToInvalidate) {
  VBServer vb;
  Start(vb);
  IDirect3DIndexBuffer9* ib = vb.QuadIndexBuffer();
  ASSERT_NE(nullptr, ib);
  D3DINDEXBUFFER_DESC desc;
  ib->GetDesc(&desc);
  EXPECT_EQ(72000u, desc.Size);
  EXPECT_EQ(D3DFMT_INDEX16, desc.Format);
  void* p = nullptr;
  ASSERT_EQ(S_OK, ib->Lock(0, 0, &p, D3DLOCK_READONLY));
  std::vector<uint16_t> expected(VBServer::kQuadCount * 6);
  VBServer::FillQuadIndices(expected.data(), VBServer::kQuadCount);
  EXPECT_EQ(0, memcmp(p, expected.data(), 72000));
  ib->Unlock();
  vb.SetQuadIB();
  EXPECT_EQ(ib, vb.CurrentIB());
  d_->SetIndices(nullptr);
  vb.InvalidateDeviceObjects();
  EXPECT_EQ(nullptr, vb.QuadIndexBuffer());
  Stop(vb);
}

// A 3 x 3 vertex grid, 8 triangles, 32-byte vertices.
struct GridMesh {
  std::vector<float> vertices;
  std::vector<uint16_t> indices;
  X2AttributeRange range{};
  X2FishMesh mesh{};
  GridMesh() {
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 3; ++x) vertices.insert(vertices.end(), {float(x), float(y), 0, 0, 0, -1, 0, 0});
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x) {
        uint16_t a = uint16_t(y * 3 + x), b = uint16_t(a + 1), c = uint16_t(a + 3), d = uint16_t(a + 4);
        indices.insert(indices.end(), {a, c, b, b, c, d});
      }
    range = {0, 0, 8, 0, 9};
    mesh = {9, vertices.data(), 8, indices.data(), 0x112, 32, &range, 1, nullptr};
  }
};

TEST_F(ServersTest, MeshBuffersAreSharedByDescriptor) {
  VBServer vb;
  Start(vb);
  GridMesh grid;
  MeshRecord a{&grid.mesh, nullptr, nullptr, 0};
  MeshRecord b{&grid.mesh, nullptr, nullptr, 0};
  ASSERT_EQ(0, vb.CreateMeshBuffers(&a, false, false));
  ASSERT_EQ(0, vb.CreateMeshBuffers(&b, false, false));
  EXPECT_EQ(a.vertexBuffer, b.vertexBuffer);
  EXPECT_EQ(a.indexBuffer, b.indexBuffer);
  EXPECT_EQ(1u, vb.RegisteredCount());
  D3DVERTEXBUFFER_DESC vd;
  a.vertexBuffer->GetDesc(&vd);
  EXPECT_EQ(9u * 32u, vd.Size);
  D3DINDEXBUFFER_DESC id;
  a.indexBuffer->GetDesc(&id);
  EXPECT_EQ(8u * 6u, id.Size);

  // External vertices: no vertex buffer.
  GridMesh other;
  MeshRecord ext{&other.mesh, nullptr, nullptr, 1};
  ASSERT_EQ(0, vb.CreateMeshBuffers(&ext, false, false));
  EXPECT_EQ(nullptr, ext.vertexBuffer);
  EXPECT_NE(nullptr, ext.indexBuffer);

  // Descriptors without data get no buffers (and nothing is read from them).
  GridMesh empty;
  empty.mesh.vertices = nullptr;
  MeshRecord none{&empty.mesh, nullptr, nullptr, 0};
  EXPECT_EQ(E_FAIL, vb.CreateMeshBuffers(&none, false, false));
  empty.mesh.vertices = empty.vertices.data();
  empty.mesh.primitiveCount = 0;
  EXPECT_EQ(E_FAIL, vb.CreateMeshBuffers(&none, true, false));
  EXPECT_EQ(nullptr, none.indexBuffer);
  EXPECT_EQ(2u, vb.RegisteredCount());

  vb.SetVB(0, a.vertexBuffer, 32, false);
  vb.SetIB(a.indexBuffer, false);
  EXPECT_EQ(a.vertexBuffer, vb.CurrentVB(0));
  vb.ResetStreams();
  EXPECT_EQ(VBServer::kNoVB, vb.CurrentVB(0));
  d_->SetStreamSource(0, nullptr, 0, 0);
  d_->SetIndices(nullptr);
  Stop(vb);
}

TEST_F(ServersTest, StripsAreBuiltOnceAcrossReinitialisation) {
  GridMesh grid;
  uint16_t* original = grid.mesh.indices;
  {
    VBServer vb;
    Start(vb);
    MeshRecord r{&grid.mesh, nullptr, nullptr, 0};
    ASSERT_EQ(0, vb.CreateMeshBuffers(&r, true, false));
    const uint32_t stripLength = grid.mesh.primitiveCount;
    EXPECT_NE(original, grid.mesh.indices);
    EXPECT_GE(stripLength, 10u);  // at least 8 triangles + 2
    D3DINDEXBUFFER_DESC id;
    r.indexBuffer->GetDesc(&id);
    EXPECT_EQ(stripLength * 2, id.Size);

    // Window-mode switch: everything released and made again.
    Stop(vb);
    EXPECT_EQ(0u, vb.RegisteredCount());
    Start(vb);
    MeshRecord again{&grid.mesh, nullptr, nullptr, 0};
    ASSERT_EQ(0, vb.CreateMeshBuffers(&again, true, false));
    EXPECT_EQ(stripLength, grid.mesh.primitiveCount);
    Stop(vb);
  }
  // The descriptor belongs to its table: it gets its own list back.
  EXPECT_EQ(original, grid.mesh.indices);
  EXPECT_EQ(8u, grid.mesh.primitiveCount);
}

// Key frames of a morphing mesh share one triangle list in separate arrays:
// each descriptor gets a strip of its own, equal to the strip the builder
// makes for that list, and its own list back when the server goes; a
// different list gets a different strip.
// The builder's strip for a list, as the server sets it up.
std::vector<uint16_t> StripOf(const std::vector<uint16_t>& list) {
  C8PrimitiveGroup* groups = nullptr;
  unsigned short groupCount = 0;
  const int previous = GetStripCacheSize();
  SetStripCacheSize(VBServer::kStripCacheSize);
  GenerateStrips(list.data(), static_cast<unsigned>(list.size()), &groups, &groupCount);
  SetStripCacheSize(previous);
  std::vector<uint16_t> strip;
  if (groupCount == 1) strip.assign(groups[0].indices, groups[0].indices + groups[0].indexCount);
  delete[] groups;
  return strip;
}

TEST_F(ServersTest, EqualTriangleListsGetEqualStripsOfTheirOwn) {
  GridMesh first, second, turned;
  second.vertices[0] = 5.0f;  // another key frame: other positions, same list
  // The same triangles in another order make another list.
  std::rotate(turned.indices.begin(), turned.indices.begin() + 6, turned.indices.end());
  const std::vector<uint16_t> built = StripOf(first.indices), builtTurned = StripOf(turned.indices);
  ASSERT_FALSE(built.empty());
  {
    VBServer vb;
    Start(vb);
    MeshRecord a{&first.mesh, nullptr, nullptr, 0};
    MeshRecord b{&second.mesh, nullptr, nullptr, 0};
    MeshRecord c{&turned.mesh, nullptr, nullptr, 0};
    ASSERT_EQ(0, vb.CreateMeshBuffers(&a, true, false));
    ASSERT_EQ(0, vb.CreateMeshBuffers(&b, true, false));
    ASSERT_EQ(0, vb.CreateMeshBuffers(&c, true, false));
    EXPECT_NE(a.indexBuffer, b.indexBuffer);
    EXPECT_NE(first.mesh.indices, second.mesh.indices);
    for (const GridMesh* m : {&first, &second}) {
      ASSERT_EQ(built.size(), m->mesh.primitiveCount);
      EXPECT_TRUE(std::equal(built.begin(), built.end(), m->mesh.indices));
    }
    const std::vector<uint16_t> other(turned.mesh.indices, turned.mesh.indices + turned.mesh.primitiveCount);
    EXPECT_EQ(builtTurned, other);
    Stop(vb);
  }
  EXPECT_EQ(first.indices.data(), first.mesh.indices);
  EXPECT_EQ(second.indices.data(), second.mesh.indices);
  EXPECT_EQ(8u, second.mesh.primitiveCount);
}

X2FishTexture QuadBlock() {
  return X2FishTexture{ServersTestData::kQuadMeshX, ServersTestData::kQuadMeshXSize};
}

TEST_F(ServersTest, CompressedXBlockMeshLoadsAndIsShared) {
  ASSERT_EQ(0x78, ServersTestData::kQuadMeshX[0]);
  ASSERT_EQ(0x9C, ServersTestData::kQuadMeshX[1]);
  X2FishTexture block = QuadBlock();
  // X-block form: only the FVF, the stride and the block.
  X2FishMesh mine{ServersTestData::kQuadMeshXInflatedSize, nullptr, 0, nullptr, 0x112, 32, nullptr, 0, &block};
  X2FishMesh theirs = mine;

  VBServer vb;
  Start(vb);
  MeshRecord a{&mine, nullptr, nullptr, 0};
  ASSERT_EQ(0, vb.LoadMeshFromX(&a, false, false));
  ASSERT_NE(&mine, a.descriptor);
  const X2FishMesh* d = a.descriptor;
  EXPECT_TRUE(vb.IsLoadedDescriptor(d));
  EXPECT_EQ(4u, d->vertexCount);
  EXPECT_EQ(2u, d->primitiveCount);
  EXPECT_EQ(32u, d->stride);
  EXPECT_EQ(&block, d->xBlock);
  ASSERT_EQ(1u, d->attributeRangeCount);
  EXPECT_EQ(2u, d->attributeRanges[0].faceCount);
  // Positions of "mesh1" (the 2 x 2 quad), not of the decoy before it.
  float maxX = 0;
  for (uint32_t i = 0; i < d->vertexCount; ++i)
    maxX = std::max(maxX, reinterpret_cast<const float*>(static_cast<const char*>(d->vertices) + 32 * i)[0]);
  EXPECT_FLOAT_EQ(2.0f, maxX);
  // The caller's own descriptor is untouched.
  EXPECT_EQ(nullptr, mine.vertices);

  MeshRecord b{&theirs, nullptr, nullptr, 0};
  ASSERT_EQ(0, vb.LoadMeshFromX(&b, false, false));
  EXPECT_EQ(a.descriptor, b.descriptor);
  EXPECT_EQ(1u, vb.LoadedCount());

  ASSERT_EQ(0, vb.CreateMeshBuffers(&a, false, false));
  ASSERT_EQ(0, vb.CreateMeshBuffers(&b, false, false));
  EXPECT_EQ(a.vertexBuffer, b.vertexBuffer);
  Stop(vb);
}

TEST_F(ServersTest, PlainXBlockAndStripsSurviveADeleteReinitCycle) {
  X2FishTexture block{ServersTestData::kQuadMeshXPlain, ServersTestData::kQuadMeshXPlainSize};
  X2FishMesh source{0, nullptr, 0, nullptr, 0x112, 32, nullptr, 0, &block};
  VBServer vb;
  for (int cycle = 0; cycle < 3; ++cycle) {
    Start(vb);
    MeshRecord r{&source, nullptr, nullptr, 0};
    ASSERT_EQ(0, vb.LoadMeshFromX(&r, true, false)) << cycle;
    // Two triangles make one strip of four indices; it stays so.
    EXPECT_EQ(4u, r.descriptor->primitiveCount) << cycle;
    ASSERT_EQ(0, vb.CreateMeshBuffers(&r, true, false));
    EXPECT_EQ(4u, r.descriptor->primitiveCount) << cycle;
    D3DINDEXBUFFER_DESC id;
    r.indexBuffer->GetDesc(&id);
    EXPECT_EQ(8u, id.Size);
    // Device reset in between.
    vb.InvalidateDeviceObjects();
    ASSERT_EQ(S_OK, device_.Reset());
    vb.RestoreDeviceObjects();
    Stop(vb);
    EXPECT_EQ(1u, vb.LoadedCount());
  }
}

TEST_F(ServersTest, BadXBlocksAreRefused) {
  VBServer vb;
  Start(vb);
  X2FishTexture noMesh{ServersTestData::kNoMesh1X, ServersTestData::kNoMesh1XSize};
  X2FishMesh a{0, nullptr, 0, nullptr, 0x112, 32, nullptr, 0, &noMesh};
  MeshRecord ra{&a, nullptr, nullptr, 0};
  EXPECT_EQ(VBServer::kNoMesh, vb.LoadMeshFromX(&ra, false, false));
  EXPECT_EQ(&a, ra.descriptor);

  std::vector<unsigned char> broken(ServersTestData::kQuadMeshX,
                                    ServersTestData::kQuadMeshX + ServersTestData::kQuadMeshXSize / 2);
  X2FishTexture half{broken.data(), static_cast<uint32_t>(broken.size())};
  X2FishMesh b{0, nullptr, 0, nullptr, 0x112, 32, nullptr, 0, &half};
  MeshRecord rb{&b, nullptr, nullptr, 0};
  EXPECT_NE(0, vb.LoadMeshFromX(&rb, false, false));

  const char text[] = "this is not an X file";
  X2FishTexture junk{text, sizeof(text)};
  X2FishMesh c{0, nullptr, 0, nullptr, 0x112, 32, nullptr, 0, &junk};
  MeshRecord rc{&c, nullptr, nullptr, 0};
  EXPECT_NE(0, vb.LoadMeshFromX(&rc, false, false));
  // A record whose block never loaded gets no buffers.
  EXPECT_NE(0, vb.CreateMeshBuffers(&rc, false, false));
  EXPECT_EQ(0u, vb.LoadedCount());
  Stop(vb);
}

// --- Drawing through all three ---------------------------------------------------

TEST_F(ServersTest, QuadsDrawThroughTheSharedIndexBufferUnderARecordedState) {
  VSServer vs;
  VBServer vb;
  SBServer sb;
  Start(vs);
  Start(vb);
  Start(sb);
  IDirect3DTexture9* white = nullptr;
  ASSERT_EQ(S_OK, d_->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &white, nullptr));
  D3DLOCKED_RECT rect;
  white->LockRect(0, &rect, nullptr, 0);
  for (int y = 0; y < 4; ++y) memset(static_cast<char*>(rect.pBits) + y * rect.Pitch, 0xFF, 16);
  white->UnlockRect(0);
  // Quad 0: the top-left quarter; quad 1: the bottom-right quarter. Vertex
  // order per quad as the text panel writes it: top-left, bottom-left,
  // top-right, bottom-right.
  const float v[8][5] = {{-1, 1, 0, 0, 0}, {-1, 0, 0, 0, 1}, {0, 1, 0, 1, 0}, {0, 0, 0, 1, 1},
                         {0, 0, 0, 0, 0},  {0, -1, 0, 0, 1}, {1, 0, 0, 1, 0}, {1, -1, 0, 1, 1}};
  IDirect3DVertexBuffer9* quads = nullptr;
  ASSERT_EQ(S_OK, d_->CreateVertexBuffer(sizeof(v), D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &quads, nullptr));
  void* p = nullptr;
  quads->Lock(0, 0, &p, 0);
  memcpy(p, v, sizeof(v));
  quads->Unlock();

  d_->SetRenderState(D3DRS_ZENABLE, FALSE);
  d_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);  // the state block turns culling off
  sb.SetSB(sb.CreateSB(g_StateListS3));
  IDirect3DVertexDeclaration9* decl = nullptr;
  IDirect3DVertexDeclaration9* none = nullptr;
  IUnknown* copyVs = vs.GetShader(&g_RenderingBufferShaders[0], &decl);
  IUnknown* copyPs = vs.GetShader(&g_RenderingBufferShaders[1], &none);
  vs.SetShaders(copyVs, copyPs, decl);
  vb.SetVB(0, quads, 20, true);
  vb.SetQuadIB();
  d_->SetTexture(0, white);
  d_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
  ASSERT_EQ(S_OK, d_->BeginScene());
  EXPECT_EQ(S_OK, d_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 8, 0, 4));
  d_->EndScene();
  auto pixels = device_.ReadBackBuffer();
  auto at = [&](int x, int y) { return qvtest::Red(pixels[y * 64 + x]); };
  EXPECT_EQ(255, at(16, 16));
  EXPECT_EQ(255, at(48, 48));
  EXPECT_EQ(0, at(48, 16));
  EXPECT_EQ(0, at(16, 48));

  d_->SetTexture(0, nullptr);
  d_->SetStreamSource(0, nullptr, 0, 0);
  d_->SetIndices(nullptr);
  d_->SetVertexShader(nullptr);
  d_->SetPixelShader(nullptr);
  d_->SetVertexDeclaration(nullptr);
  quads->Release();
  white->Release();
  Stop(vs);
  Stop(vb);
  Stop(sb);
}

// --- All three through a reset and a re-initialisation -------------------------

TEST_F(ServersTest, ServersSurviveResetAndReinitWithoutLeaks) {
  GridMesh grid;
  X2FishTexture block = QuadBlock();
  X2FishMesh xMesh{0, nullptr, 0, nullptr, 0x112, 32, nullptr, 0, &block};
  {
    VSServer vs;
    VBServer vb;
    SBServer sb;
    for (int cycle = 0; cycle < 2; ++cycle) {
      Start(vs);
      Start(vb);
      Start(sb);
      MeshRecord r{&grid.mesh, nullptr, nullptr, 0};
      MeshRecord x{&xMesh, nullptr, nullptr, 0};
      ASSERT_EQ(0, vb.LoadMeshFromX(&x, false, false));
      for (int reset = 0; reset < 2; ++reset) {
        IDirect3DVertexDeclaration9* decl = nullptr;
        for (int i = 0; i < 4; ++i) vs.GetShader(&g_GlareBufferShaders[i], &decl);
        vs.GetShader(&g_RenderingSceneShaders[0], &decl);
        sb.CreateSB(g_StateListS2);
        sb.CreateSB(g_StateListS5);
        ASSERT_EQ(0, vb.CreateMeshBuffers(&r, false, false));
        ASSERT_EQ(0, vb.CreateMeshBuffers(&x, false, false));
        vs.InvalidateDeviceObjects();
        vb.InvalidateDeviceObjects();
        sb.InvalidateDeviceObjects();
        ASSERT_EQ(S_OK, device_.Reset());
        vs.RestoreDeviceObjects();
        vb.RestoreDeviceObjects();
        sb.RestoreDeviceObjects();
      }
      Stop(vs);
      Stop(vb);
      Stop(sb);
    }
  }
  // Back to the device's own references (checked in TearDown).
}

}  // namespace
