// The program's shader data: every blob inflates to its recorded length,
// carries the right version line, assembles, creates on a real device and
// draws what it should (fog included).
#include <d3dx9.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "D3DTestDevice.h"
#include "EngineData.h"
#include "servers/StaticTables.h"
#include "servers/VSServer.h"

namespace {

struct Blob {
  std::string name;
  uint32_t compressed = 0;
  uint32_t inflated = 0;
  std::string text;
};

Blob Inflate(const EngineData::ShaderBlobInfo& info) {
  Blob b;
  b.name = info.name;
  ReadShaderSizeRecord(info.sizeRecord, &b.compressed, &b.inflated);
  std::vector<char> out(b.inflated + 64);
  uLongf length = static_cast<uLongf>(out.size());
  EXPECT_EQ(Z_OK, uncompress(reinterpret_cast<Bytef*>(out.data()), &length, info.stream, b.compressed))
      << b.name;
  b.text.assign(out.data(), length);
  return b;
}

// The first line that is neither blank nor a comment.
std::string VersionLine(const std::string& text) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) continue;
    line = line.substr(first);
    if (line.compare(0, 2, "//") == 0 || line[0] == ';') continue;
    return line.substr(0, line.find_last_not_of(" \t\r") + 1);
  }
  return "";
}

bool IsVertexShader(const Blob& b) { return VersionLine(b.text) == "vs_1_1"; }

TEST(ShaderDataTest, BlobsInflateToTheirRecordedLengthAndFollowEachOther) {
  ASSERT_GE(EngineData::kShaderBlobCount, 5u);
  for (unsigned i = 0; i < EngineData::kShaderBlobCount; ++i) {
    const auto& info = EngineData::kShaderBlobs[i];
    Blob b = Inflate(info);
    EXPECT_EQ(0x78, info.stream[0]) << b.name;
    EXPECT_EQ(0x9C, info.stream[1]) << b.name;
    EXPECT_EQ(info.stream + b.compressed, info.sizeRecord) << b.name;
    EXPECT_EQ(b.inflated, b.text.size()) << b.name;
    EXPECT_LE(b.inflated, static_cast<uint32_t>(VSServer::kTextBufferSize)) << b.name;
    if (i + 1 < EngineData::kShaderBlobCount) {
      EXPECT_EQ(info.sizeRecord + 8, EngineData::kShaderBlobs[i + 1].stream) << b.name;
    }
  }
}

TEST(ShaderDataTest, VersionLinesAndFog) {
  for (unsigned i = 0; i < EngineData::kShaderBlobCount; ++i) {
    Blob b = Inflate(EngineData::kShaderBlobs[i]);
    const std::string version = VersionLine(b.text);
    if (version == "vs_1_1") {
      EXPECT_EQ(0u, b.text.rfind("vs_1_1", 0)) << b.name << ": nothing may precede vs_1_1";
      EXPECT_NE(std::string::npos, b.text.find("oFog")) << b.name << " writes no fog";
    } else {
      EXPECT_EQ("ps.1.1", version) << b.name;
      EXPECT_NE(0u, b.text.rfind("ps.1.1", 0)) << b.name << ": comment lines come first";
    }
  }
}

TEST(ShaderDataTest, DescriptorKindsMatchTheirTexts) {
  for (const ShaderDescriptor* list : {g_RenderingBufferShaders, g_GlareBufferShaders,
                                       g_RenderingSceneShaders, g_TexturePanelShaders,
                                       g_TexViewerShaders}) {
    const ShaderDescriptor& d = list[0];
    for (unsigned i = 0; i < EngineData::kShaderBlobCount; ++i) {
      const auto& info = EngineData::kShaderBlobs[i];
      if (info.stream != d.code) continue;
      EXPECT_EQ(info.sizeRecord, d.sizeRecord);
      EXPECT_EQ(d.kind == ShaderDescriptor::kVertexText, IsVertexShader(Inflate(info)));
    }
  }
  for (int j = 0; j < 4; ++j) {
    const ShaderDescriptor& d = g_GlareBufferShaders[j];
    for (unsigned i = 0; i < EngineData::kShaderBlobCount; ++i) {
      if (EngineData::kShaderBlobs[i].stream == d.code) {
        EXPECT_EQ(d.kind == ShaderDescriptor::kVertexText,
                  IsVertexShader(Inflate(EngineData::kShaderBlobs[i])));
      }
    }
  }
}

TEST(ShaderDataTest, EveryTextAssembles) {
  for (unsigned i = 0; i < EngineData::kShaderBlobCount; ++i) {
    Blob b = Inflate(EngineData::kShaderBlobs[i]);
    ID3DXBuffer* tokens = nullptr;
    ID3DXBuffer* errors = nullptr;
    HRESULT hr = D3DXAssembleShader(b.text.data(), static_cast<UINT>(b.text.size()), nullptr,
                                    nullptr, 0, &tokens, &errors);
    EXPECT_EQ(S_OK, hr) << b.name << ": "
                        << (errors ? static_cast<const char*>(errors->GetBufferPointer()) : "");
    if (tokens) tokens->Release();
    if (errors) errors->Release();

    uint32_t compressed = 0, inflated = 0;
    ReadShaderSizeRecord(EngineData::kShaderBlobs[i].sizeRecord, &compressed, &inflated);
    std::vector<DWORD> out(VSServer::kTokenBufferSize / 4);
    EXPECT_EQ(0, VSServer::AssembleCompressedShader(EngineData::kShaderBlobs[i].stream, compressed,
                                                    out.data(), VSServer::kTokenBufferSize))
        << b.name;
  }
}

std::vector<unsigned char> Compress(const std::string& text) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::vector<unsigned char> out(size);
  compress(out.data(), &size, reinterpret_cast<const Bytef*>(text.data()),
           static_cast<uLong>(text.size()));
  out.resize(size);
  return out;
}

TEST(ShaderDataTest, FailedInflationOrAssemblyLeavesNoTokens) {
  std::vector<DWORD> tokens(64, 0xABCDABCD);
  const size_t capacity = tokens.size() * sizeof(DWORD);
  // Truncated stream.
  const auto& first = EngineData::kShaderBlobs[0];
  EXPECT_EQ(1, VSServer::AssembleCompressedShader(first.stream, 20, tokens.data(), capacity));
  // Not a zlib stream at all.
  const char junk[] = "vs_1_1\nmov oPos, v0\n";
  EXPECT_EQ(1, VSServer::AssembleCompressedShader(junk, sizeof(junk), tokens.data(), capacity));
  // A text longer than the text buffer (a buffer error, not a memory error).
  std::string longText = "vs_1_1\n" + std::string(20000, ' ') + "\n";
  auto packed = Compress(longText);
  EXPECT_EQ(1, VSServer::AssembleCompressedShader(packed.data(), static_cast<uint32_t>(packed.size()),
                                                  tokens.data(), capacity));
  // Inflates, but does not assemble.
  auto bad = Compress("vs_1_1\nnot_an_instruction r0, v9\n");
  HRESULT hr = VSServer::AssembleCompressedShader(bad.data(), static_cast<uint32_t>(bad.size()),
                                                  tokens.data(), capacity);
  EXPECT_NE(0, hr);
  // Assembles, but the tokens do not fit the destination.
  auto good = Compress("vs_1_1\ndcl_position v0\nmov oPos, v0\nmov oFog, v0.x\n");
  EXPECT_EQ(E_FAIL, VSServer::AssembleCompressedShader(good.data(), static_cast<uint32_t>(good.size()),
                                                       tokens.data(), 8));
  for (DWORD t : tokens) ASSERT_EQ(0xABCDABCDu, t);
}

// --- On a device --------------------------------------------------------------

struct Vertex20 {
  float x, y, z, u, v;
};
struct Vertex32 {
  float x, y, z, nx, ny, nz, u, v;
};

class ShaderDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device_.Create(64, 64)) << device_.Error();
    d_ = device_.Device();
    server_.InitDeviceObjects(d_);
    server_.RestoreDeviceObjects();
    d_->SetRenderState(D3DRS_ZENABLE, FALSE);
    d_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d_->SetRenderState(D3DRS_LIGHTING, FALSE);
    // Fog on with a loud colour: shaders that write fog = 1 show no fog.
    d_->SetRenderState(D3DRS_FOGENABLE, TRUE);
    d_->SetRenderState(D3DRS_FOGCOLOR, 0xFFFF0000);
    d_->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_NONE);
    d_->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_NONE);
  }
  void TearDown() override {
    for (auto* t : textures_) t->Release();
    server_.InvalidateDeviceObjects();
  }

  IDirect3DTexture9* SolidTexture(D3DCOLOR colour) {
    IDirect3DTexture9* t = nullptr;
    EXPECT_EQ(S_OK, d_->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr));
    D3DLOCKED_RECT r;
    t->LockRect(0, &r, nullptr, 0);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x)
        reinterpret_cast<uint32_t*>(static_cast<char*>(r.pBits) + y * r.Pitch)[x] = colour;
    t->UnlockRect(0);
    textures_.push_back(t);
    return t;
  }

  void Bind(const ShaderDescriptor& vs, const ShaderDescriptor* ps) {
    IDirect3DVertexDeclaration9* decl = nullptr;
    IUnknown* v = server_.GetShader(&vs, &decl);
    IUnknown* p = nullptr;
    if (ps) {
      IDirect3DVertexDeclaration9* none = nullptr;
      p = server_.GetShader(ps, &none);
      EXPECT_EQ(nullptr, none);
    }
    ASSERT_NE(nullptr, decl);
    server_.SetShaders(v, p, decl);
  }

  std::vector<uint32_t> Draw(const void* vertices, UINT stride) {
    d_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    EXPECT_EQ(S_OK, d_->BeginScene());
    EXPECT_EQ(S_OK, d_->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, vertices, stride));
    d_->EndScene();
    return device_.ReadBackBuffer();
  }

  static void ExpectColour(uint32_t pixel, int r, int g, int b) {
    EXPECT_NEAR(r, qvtest::Red(pixel), 4);
    EXPECT_NEAR(g, qvtest::Green(pixel), 4);
    EXPECT_NEAR(b, qvtest::Blue(pixel), 4);
  }

  qvtest::D3DTestDevice device_;
  IDirect3DDevice9* d_ = nullptr;
  VSServer server_;
  std::vector<IDirect3DTexture9*> textures_;
};

const Vertex20 kFullQuad[4] = {
    {-1, -1, 0, 0, 1}, {1, -1, 0, 1, 1}, {1, 1, 0, 1, 0}, {-1, 1, 0, 0, 0}};

TEST_F(ShaderDeviceTest, EveryEngineShaderCreates) {
  for (const ShaderDescriptor* list : {g_RenderingBufferShaders, g_RenderingSceneShaders}) {
    for (int i = 0; i < 2; ++i) {
      IDirect3DVertexDeclaration9* decl = nullptr;
      IUnknown* s = server_.GetShader(&list[i], &decl);
      EXPECT_NE(nullptr, s);
      EXPECT_NE(VSServer::kNoShader, s);
      EXPECT_EQ(list[i].kind == ShaderDescriptor::kVertexText, decl != nullptr);
    }
  }
  for (int i = 0; i < 4; ++i) {
    IDirect3DVertexDeclaration9* decl = nullptr;
    EXPECT_NE(nullptr, server_.GetShader(&g_GlareBufferShaders[i], &decl));
  }
  EXPECT_EQ(5, server_.Count());  // copy pair, wave, four-tap pair
}

TEST_F(ShaderDeviceTest, CopyPairDrawsTheTextureWithoutFog) {
  Bind(g_RenderingBufferShaders[0], &g_RenderingBufferShaders[1]);
  d_->SetTexture(0, SolidTexture(0xFF4080C0));
  auto pixels = Draw(kFullQuad, sizeof(Vertex20));
  ExpectColour(pixels[32 * 64 + 32], 0x40, 0x80, 0xC0);
  ExpectColour(pixels[2 * 64 + 61], 0x40, 0x80, 0xC0);
}

TEST_F(ShaderDeviceTest, FourTapWeightsSitInConstants2310) {
  Bind(g_GlareBufferShaders[2], &g_GlareBufferShaders[3]);
  const D3DCOLOR colours[4] = {0xFFC80000, 0xFF00C800, 0xFF0000C8, 0xFF646464};
  for (int s = 0; s < 4; ++s) {
    d_->SetTexture(s, SolidTexture(colours[s]));
    d_->SetTextureStageState(s, D3DTSS_TEXCOORDINDEX, s);
  }
  const float zero[4] = {0, 0, 0, 0};
  for (int k = 0; k < 4; ++k) d_->SetVertexShaderConstantF(k, zero, 1);
  // Stage 0 weight 0.5 (c2), stage 1 0.25 (c3), stage 2 1.0 (c1), stage 3 0 (c0).
  const float w[4][4] = {{0, 0, 0, 0}, {1, 1, 1, 1}, {0.5f, 0.5f, 0.5f, 0.5f}, {0.25f, 0.25f, 0.25f, 0.25f}};
  d_->SetPixelShaderConstantF(0, &w[0][0], 4);
  auto pixels = Draw(kFullQuad, sizeof(Vertex20));
  ExpectColour(pixels[32 * 64 + 32], 100, 50, 200);
}

TEST_F(ShaderDeviceTest, WaveMovesVerticesAlongTheirNormals) {
  Bind(g_RenderingSceneShaders[0], &g_RenderingSceneShaders[1]);
  d_->SetTexture(0, SolidTexture(0xFFFFFFFF));
  // A strip of the screen from x = -1 to -0.5; normals point along +x.
  const Vertex32 quad[4] = {{-1, -0.05f, 0, 1, 0, 0, 0, 1}, {-0.5f, -0.05f, 0, 1, 0, 0, 1, 1},
                            {-0.5f, 0.05f, 0, 1, 0, 0, 1, 0}, {-1, 0.05f, 0, 1, 0, 0, 0, 0}};
  const float flat[4] = {0.5f, 0.7f, 0.0f, 0.0f};
  const float phase[4] = {1.5707963f, 0, 0, 0};
  d_->SetVertexShaderConstantF(45, flat, 1);
  d_->SetVertexShaderConstantF(46, phase, 1);
  auto still = Draw(quad, sizeof(Vertex32));
  EXPECT_EQ(255, qvtest::Red(still[32 * 64 + 8]));   // x = -0.75
  EXPECT_EQ(0, qvtest::Red(still[32 * 64 + 24]));    // x = -0.25

  // Amplitude 0.5 at phase pi/2: s = sin(pi/2 +- 0.22) * 0.5 ~ 0.49, so the
  // strip moves right to about [-0.51, -0.01].
  const float wave[4] = {0.5f, 0.7f, 0.5f, 0.0f};
  d_->SetVertexShaderConstantF(45, wave, 1);
  auto moved = Draw(quad, sizeof(Vertex32));
  EXPECT_EQ(0, qvtest::Red(moved[32 * 64 + 8]));
  EXPECT_EQ(255, qvtest::Red(moved[32 * 64 + 24]));
  EXPECT_EQ(0, qvtest::Red(moved[32 * 64 + 40]));    // x = +0.25
}

}  // namespace
