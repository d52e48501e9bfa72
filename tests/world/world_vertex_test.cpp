// A scene of vertex objects on a real device: textures, shaders and meshes
// through the servers, a reset, and the screenshot of the result.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "D3DTestDevice.h"
#include "SceneTestSupport.h"
#include "TestSupport.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/TextureTable.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "world/C3Camera.h"
#include "world/C3World.h"
#include "world/C4VertexObject.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// A 4 x 4 uncompressed 24-bit image of one colour.
std::vector<uint8_t> MakeTga(uint8_t r, uint8_t g, uint8_t b) {
  std::vector<uint8_t> t(18, 0);
  t[2] = 2;
  t[12] = 4;
  t[14] = 4;
  t[16] = 24;
  for (int i = 0; i < 16; ++i) {
    t.push_back(b);
    t.push_back(g);
    t.push_back(r);
  }
  return t;
}

const std::vector<uint8_t>& RedImage() {
  static const std::vector<uint8_t> image = MakeTga(255, 0, 0);
  return image;
}
const std::vector<uint8_t>& GreenImage() {
  static const std::vector<uint8_t> image = MakeTga(0, 255, 0);
  return image;
}

const D3DVERTEXELEMENT9 kElements[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END()};

const DWORD* ShaderTokens() {
  static std::vector<DWORD> tokens;
  if (tokens.empty()) {
    const char text[] =
        "vs_1_1\n"
        "dcl_position v0\n"
        "dcl_normal v1\n"
        "dcl_texcoord v2\n"
        "m4x4 oPos, v0, c0\n"
        "mov oT0.xy, v2\n";
    ID3DXBuffer* code = nullptr;
    if (SUCCEEDED(D3DXAssembleShader(text, sizeof(text) - 1, nullptr, nullptr, 0, &code, nullptr))) {
      const DWORD* p = static_cast<const DWORD*>(code->GetBufferPointer());
      tokens.assign(p, p + code->GetBufferSize() / sizeof(DWORD));
      code->Release();
    }
  }
  return tokens.data();
}

const uint32_t kNoSizes[2] = {0, 0};

ShaderDescriptor* Shaders() {
  static ShaderDescriptor shaders[1] = {
      {ShaderDescriptor::kVertexTokens, kElements, ShaderTokens(), kNoSizes}};
  return shaders;
}

// One quad of two triangles, 2 x 2 in the xy plane, 32-byte vertices.
float g_quadVertices[] = {-1, -1, 0, 0, 0, -1, 0, 1, -1, 1, 0, 0, 0, -1, 0, 0,
                          1,  -1, 0, 0, 0, -1, 1, 1, 1,  1, 0, 0, 0, -1, 1, 0};
uint16_t g_quadIndices[] = {0, 1, 2, 2, 1, 3};
X2FishMesh g_quad = {4, g_quadVertices, 2, g_quadIndices, 0x112, 32, nullptr, 0, nullptr};

// Texture colour as it stands, no culling, no lighting.
const uint32_t kQuadStates[] = {1, 2, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
                                D3DRS_CULLMODE, D3DCULL_NONE, D3DRS_LIGHTING, FALSE, 0xFFFFFFFFu};

const char kNotAnXFile[] = "this is no mesh at all";
X2FishTexture g_badBlock = {kNotAnXFile, sizeof(kNotAnXFile)};
// A plug-in's mesh that names an X block beside its vertex data: the block
// decides, and one that does not load leaves the mesh out at every restore.
X2FishMesh g_quadWithBadBlock = {4, g_quadVertices, 2, g_quadIndices, 0x112, 32, nullptr, 0, &g_badBlock};

class TexturedQuad : public C4VertexObject {
 public:
  TexturedQuad(const std::vector<uint8_t>& image, float x, float z) {
    SetClassName("TexturedQuad");
    position = D3DXVECTOR3(x, 0, z);
    singleLevelTextures = 1;
    AddTexture(image.data(), static_cast<UINT>(image.size()));
    AddMesh(&g_quad);
    shaderDescriptors = Shaders();
    shaderCount = 1;
    stateRecords = kQuadStates;
  }
  HRESULT Render() override {
    C3World* world = C3World::Current();
    IDirect3DDevice9* d = GetSceneHost()->GetDevice();
    ++renders;
    if (vertexShaders.size() != 1 || !textures[0] || stateBlock == SBServer::kNoBlock) return 0;
    d->SetVertexShaderConstantF(0, Shading().worldViewProjectionT, 4);
    world->vsServer->SetShaders(vertexShaders[0], VSServer::kNoPixelShader, declarations[0]);
    d->SetTexture(0, textures[0]);
    world->sbServer->SetSB(stateBlock);
    for (size_t i = 0; i < meshes.size(); ++i) {
      BindStreams(static_cast<int>(i));
      DrawMesh(static_cast<int>(i));
    }
    d->SetTexture(0, nullptr);
    return 0;
  }
  int renders = 0;
};

using DeviceHost = qvtest::BlueSeaHost;

using qvtest::LookAlongZ;

class VertexScene : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(nullptr, ShaderTokens());
    ASSERT_TRUE(dev.Create(kWidth, kHeight)) << dev.Error();
    camera = new LookAlongZ;
    world = qvtest::OpenWorld(&host, camera);
    left = new TexturedQuad(RedImage(), -2.0f, 8.0f);
    right = new TexturedQuad(GreenImage(), 2.0f, 8.0f);
    shared = new TexturedQuad(RedImage(), 0.0f, -8.0f);  // behind the camera
    broken = new TexturedQuad(GreenImage(), 0.0f, 8.0f);
    broken->meshes.clear();
    broken->AddVertexArray(&g_badBlock, 0x112, 32, 0);
    broken->AddMesh(&g_quadWithBadBlock);
    for (C3Object* o : {static_cast<C3Object*>(left), static_cast<C3Object*>(right),
                        static_cast<C3Object*>(shared), static_cast<C3Object*>(broken)})
      world->AddChild(o);
    world->InitDeviceObjects();
    ASSERT_EQ(0, world->RestoreDeviceObjects());
  }
  void TearDown() override {
    world->InvalidateDeviceObjects();
    world->DeleteDeviceObjects();
    EXPECT_EQ(0, TextureTable::Instance().LiveCount());
    delete world;
    SetMainCamera(nullptr);
    SetSceneHost(nullptr);
  }
  void Frame() {
    camera->C3Camera::Move(0, 0);
    world->Move(0.02f);
    world->Render();
  }
  uint32_t At(const std::vector<uint32_t>& px, float fx, float fy) {
    return px[static_cast<int>(fy * kHeight) * kWidth + static_cast<int>(fx * kWidth)] & 0xFFFFFF;
  }
  void ExpectScene() {
    std::vector<uint32_t> px = dev.ReadBackBuffer();
    ASSERT_EQ(static_cast<size_t>(kWidth * kHeight), px.size());
    EXPECT_EQ(0xFF0000u, At(px, 0.34f, 0.5f));
    EXPECT_EQ(0x00FF00u, At(px, 0.66f, 0.5f));
    EXPECT_EQ(0x0000FFu, At(px, 0.5f, 0.5f));  // the broken object drew nothing
    EXPECT_EQ(0x0000FFu, At(px, 0.5f, 0.1f));
  }

  qvtest::D3DTestDevice dev;
  DeviceHost host{dev};
  C3World* world = nullptr;
  LookAlongZ* camera = nullptr;
  TexturedQuad* left = nullptr;
  TexturedQuad* right = nullptr;
  TexturedQuad* shared = nullptr;
  TexturedQuad* broken = nullptr;
};

TEST_F(VertexScene, QuadsRenderThroughTheServers) {
  Frame();
  ExpectScene();
  EXPECT_EQ(1, left->renders);
  EXPECT_EQ(0, shared->renders);  // culled by the sphere test
  EXPECT_EQ(left->textures[0], shared->textures[0]);  // one texture per image
  EXPECT_EQ(left->vertexShaders[0], right->vertexShaders[0]);
  EXPECT_FALSE(broken->IsMeshDrawable(0));
  EXPECT_FALSE(broken->IsMeshDrawable(1));
  EXPECT_TRUE(left->IsMeshDrawable(0));
}

TEST_F(VertexScene, ResetKeepsTexturesAndRenewsShaders) {
  Frame();
  IDirect3DTexture9* before = left->textures[0];
  for (int i = 0; i < 3; ++i) {
    world->InvalidateDeviceObjects();
    ASSERT_EQ(D3D_OK, dev.Reset());
    ASSERT_EQ(0, world->RestoreDeviceObjects());
  }
  EXPECT_EQ(before, left->textures[0]);
  EXPECT_EQ(1u, left->textures.size());
  EXPECT_EQ(1u, left->vertexShaders.size());
  EXPECT_EQ(1u, left->declarations.size());
  EXPECT_EQ(1, world->vsServer->Count());
  EXPECT_EQ(1, world->sbServer->Count());
  EXPECT_NE(SBServer::kNoBlock, left->stateBlock);
  Frame();
  ExpectScene();
}

// The device objects released and made again: the meshes whose blocks do
// not load are left out as they were the first time.
TEST_F(VertexScene, DeviceMadeAgainLeavesTheSameMeshesOut) {
  world->InvalidateDeviceObjects();
  world->DeleteDeviceObjects();
  world->InitDeviceObjects();
  ASSERT_EQ(0, world->RestoreDeviceObjects());
  EXPECT_FALSE(broken->IsMeshDrawable(1));
  Frame();
  ExpectScene();
}

TEST_F(VertexScene, CaptureShowsTheObjects) {
  std::string folder = qvtest::MakeTempDir("vcapture");
  CreateDirectoryA((folder + "\\capture").c_str(), nullptr);
  SetProgramFolder(folder.c_str());
  world->RequestCapture();
  Frame();
  std::vector<uint8_t> bmp = qvtest::ReadFileBytes(folder + "\\capture\\L0000.bmp");
  ASSERT_EQ(static_cast<size_t>(54 + kWidth * 3 * kHeight), bmp.size());
  auto pixel = [&](float fx, float fy) {
    int x = static_cast<int>(fx * kWidth);
    int y = kHeight - 1 - static_cast<int>(fy * kHeight);
    const uint8_t* p = &bmp[54 + y * kWidth * 3 + x * 3];
    return (p[2] << 16) | (p[1] << 8) | p[0];
  };
  EXPECT_EQ(0xFF0000, pixel(0.34f, 0.5f));
  EXPECT_EQ(0x00FF00, pixel(0.66f, 0.5f));
  EXPECT_EQ(0x0000FF, pixel(0.5f, 0.1f));
  qvtest::RemoveTree(folder);
}

}  // namespace
