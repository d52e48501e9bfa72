// Shader constants per object and per frame, and the render states after a
// restore, on a real device; every register is checked in the process-wide
// copy and on the device.
#include <gtest/gtest.h>

#include <d3dx9.h>

#include <cstring>

#include "AppHooks.h"
#include "D3DTestDevice.h"
#include "servers/ShaderConstantCopy.h"

namespace {

class ShaderConstantsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device_.Create(64, 64)) << device_.Error();
    dev_ = device_.Device();
    ClearShaderConstantCopy();
    // Sentinels: registers the hooks must leave alone.
    const float sentinel[4] = {-7, -7, -7, -7};
    for (UINT r = 0; r < 40; ++r) SetVertexConstants(dev_, r, sentinel, 1);
  }

  // Register r in the copy and on the device equals v.
  void ExpectRegister(UINT r, const float* v) {
    const float* copy = VertexConstantCopy(r);
    ASSERT_NE(copy, nullptr);
    float onDevice[4];
    ASSERT_EQ(dev_->GetVertexShaderConstantF(r, onDevice, 1), S_OK);
    for (int i = 0; i < 4; ++i) {
      EXPECT_FLOAT_EQ(copy[i], v[i]) << "c" << r << "[" << i << "]";
      EXPECT_EQ(memcmp(&copy[i], &onDevice[i], 4), 0) << "c" << r << "[" << i << "]";
    }
  }
  void ExpectRegister(UINT r, float x, float y, float z, float w) {
    const float v[4] = {x, y, z, w};
    ExpectRegister(r, v);
  }
  void ExpectUntouched(UINT r) { ExpectRegister(r, -7, -7, -7, -7); }

  static D3DXMATRIX Numbered(float base) {
    D3DXMATRIX m;
    for (int i = 0; i < 16; ++i) m[i] = base + i;
    return m;
  }

  qvtest::D3DTestDevice device_;
  IDirect3DDevice9* dev_ = nullptr;
};

}  // namespace

TEST_F(ShaderConstantsTest, MatrixRegisterMap) {
  D3DXMATRIX world = Numbered(100), wvpT = Numbered(200), wvT = Numbered(300), viewT = Numbered(400);
  ASSERT_EQ(WriteMatrixShaderConstants(dev_, world, wvpT, wvT, viewT), S_OK);
  D3DXMATRIX worldT;
  D3DXMatrixTranspose(&worldT, &world);
  for (UINT row = 0; row < 4; ++row) {
    ExpectRegister(0 + row, &wvpT.m[row][0]);
    ExpectRegister(4 + row, &wvT.m[row][0]);
    ExpectRegister(8 + row, &world.m[row][0]);
    ExpectRegister(12 + row, &worldT.m[row][0]);
  }
  for (UINT row = 0; row < 3; ++row) {
    ExpectRegister(16 + row, &worldT.m[row][0]);
    ExpectRegister(19 + row, &viewT.m[row][0]);
  }
  // c12 holds the first column of the world matrix.
  ExpectRegister(12, 100, 104, 108, 112);
  for (UINT r = 22; r < 40; ++r) ExpectUntouched(r);
}

TEST_F(ShaderConstantsTest, FrameConstantsWithoutFishLights) {
  FrameShaderInputs in;
  in.lightDirection = D3DXVECTOR3(0, -3, 4);
  in.lights = 1;
  in.cameraPosition = D3DXVECTOR3(1.5f, -2.0f, 3.25f);
  in.fogColour = DefaultFogColor(1);
  ASSERT_EQ(WriteFrameShaderConstants(dev_, in), S_OK);

  ExpectRegister(24, 0, 0.6f, -0.8f, 1.0f);  // normalised, towards the light
  ExpectRegister(25, 0.3f, 0.3f, 0.3f, 1.0f);
  ExpectRegister(26, 0.4f, 0.4f, 0.4f, 1.0f);
  ExpectRegister(27, 0.2f, 0.2f, 0.2f, 1.0f);
  ExpectRegister(28, 0, 0, 0, 20.0f);
  ExpectRegister(22, 1.5f, -2.0f, 3.25f, 1.0f);
  ExpectUntouched(23);  // the fog object's own register
  for (UINT r = 29; r <= 36; ++r) ExpectUntouched(r);
  for (UINT r = 0; r < 22; ++r) ExpectUntouched(r);

  DWORD fog = 0;
  ASSERT_EQ(dev_->GetRenderState(D3DRS_FOGCOLOR, &fog), S_OK);
  EXPECT_EQ(fog, 0xFF0033CCu);
}

TEST_F(ShaderConstantsTest, FrameConstantsByLightsAndFishLights) {
  FrameShaderInputs in;
  in.lightDirection = DefaultLightDirection();
  in.lights = 2;
  in.fogColour = DefaultFogColor(2);
  in.fishLights[1].present = true;
  in.fishLights[1].colour = D3DXVECTOR4(0.9f, 0.8f, 0.7f, 0.5f);
  in.fishLights[1].fishPosition = D3DXVECTOR3(10, 11, 12);
  in.fishLights[1].fishRotationX = 0.25f;
  in.fishLights[3].present = true;
  in.fishLights[3].colour = D3DXVECTOR4(1, 0, 0, 1);
  in.fishLights[3].fishPosition = D3DXVECTOR3(-1, -2, -3);
  in.fishLights[3].fishRotationX = -0.5f;
  ASSERT_EQ(WriteFrameShaderConstants(dev_, in), S_OK);

  ExpectRegister(25, 0.2f, 0.2f, 0.2f, 1.0f);
  ExpectRegister(26, 0.3f, 0.3f, 0.3f, 1.0f);
  ExpectRegister(27, 0.1f, 0.1f, 0.1f, 1.0f);
  ExpectRegister(24, 0, 0.70710677f, -0.70710677f, 1.0f);
  // Slot k: position in 29 + 2k, colour in 30 + 2k.
  ExpectUntouched(29);
  ExpectUntouched(30);
  ExpectRegister(31, 10, 11, 12, 0.25f);
  ExpectRegister(32, 0.9f, 0.8f, 0.7f, 0.5f);
  ExpectUntouched(33);
  ExpectUntouched(34);
  ExpectRegister(35, -1, -2, -3, -0.5f);
  ExpectRegister(36, 1, 0, 0, 1);
  DWORD fog = 0;
  dev_->GetRenderState(D3DRS_FOGCOLOR, &fog);
  EXPECT_EQ(fog, 0x99001A66u);

  // Lights 0 and an unknown value.
  in.lights = 0;
  WriteFrameShaderConstants(dev_, in);
  ExpectRegister(27, 0.4f, 0.4f, 0.4f, 1.0f);
  in.lights = 3;
  in.fogColour = DefaultFogColor(3);
  WriteFrameShaderConstants(dev_, in);
  ExpectRegister(25, 0, 0, 0, 1.0f);
  dev_->GetRenderState(D3DRS_FOGCOLOR, &fog);
  EXPECT_EQ(fog, 0u);
}

TEST_F(ShaderConstantsTest, CopyKeepsVertexAndPixelApartAndSurvivesAReset) {
  const float v[4] = {1, 2, 3, 4};
  const float p[4] = {5, 6, 7, 8};
  ASSERT_EQ(SetVertexConstants(dev_, 5, v, 1), S_OK);
  ASSERT_EQ(SetPixelConstants(dev_, 5, p, 1), S_OK);
  EXPECT_EQ(memcmp(VertexConstantCopy(5), v, sizeof v), 0);
  EXPECT_EQ(memcmp(PixelConstantCopy(5), p, sizeof p), 0);
  float onDevice[4];
  dev_->GetPixelShaderConstantF(5, onDevice, 1);
  EXPECT_EQ(memcmp(onDevice, p, sizeof p), 0);

  ASSERT_EQ(device_.Reset(), S_OK);
  EXPECT_EQ(memcmp(VertexConstantCopy(5), v, sizeof v), 0);

  EXPECT_EQ(VertexConstantCopy(kVertexConstantCopyRegisters), nullptr);
  EXPECT_EQ(PixelConstantCopy(kPixelConstantCopyRegisters), nullptr);
  // A write running past the copy's end keeps what fits.
  const float two[8] = {9, 9, 9, 9, 10, 10, 10, 10};
  SetVertexConstants(nullptr, kVertexConstantCopyRegisters - 1, two, 2);
  EXPECT_EQ(VertexConstantCopy(kVertexConstantCopyRegisters - 1)[0], 9.0f);

  // No data or no registers leaves the copy and the device alone.
  EXPECT_EQ(SetVertexConstants(dev_, 5, nullptr, 1), S_OK);
  EXPECT_EQ(SetPixelConstants(dev_, 5, p, 0), S_OK);
  EXPECT_EQ(memcmp(VertexConstantCopy(5), v, sizeof v), 0);
  EXPECT_EQ(memcmp(PixelConstantCopy(5), p, sizeof p), 0);
}

TEST_F(ShaderConstantsTest, RenderStatesAfterRestore) {
  auto state = [&](D3DRENDERSTATETYPE s) {
    DWORD v = 0xFFFFFFFF;
    dev_->GetRenderState(s, &v);
    return v;
  };
  auto sampler = [&](DWORD stage, D3DSAMPLERSTATETYPE s) {
    DWORD v = 0xFFFFFFFF;
    dev_->GetSamplerState(stage, s, &v);
    return v;
  };
  for (DWORD st = 0; st < 6; ++st) dev_->SetSamplerState(st, D3DSAMP_MIPFILTER, D3DTEXF_NONE);

  ApplyRenderStates(dev_, D3DPTFILTERCAPS_MIPFLINEAR | D3DPTFILTERCAPS_MIPFPOINT);
  for (DWORD st = 0; st < 6; ++st) {
    EXPECT_EQ(sampler(st, D3DSAMP_MINFILTER), (DWORD)D3DTEXF_LINEAR) << st;
    EXPECT_EQ(sampler(st, D3DSAMP_MAGFILTER), (DWORD)D3DTEXF_LINEAR) << st;
    EXPECT_EQ(sampler(st, D3DSAMP_MIPFILTER), st < 4 ? (DWORD)D3DTEXF_LINEAR : (DWORD)D3DTEXF_NONE);
  }
  EXPECT_EQ(state(D3DRS_ZENABLE), (DWORD)TRUE);
  EXPECT_EQ(state(D3DRS_CULLMODE), (DWORD)D3DCULL_CCW);
  EXPECT_EQ(state(D3DRS_ALPHAREF), 1u);
  EXPECT_EQ(state(D3DRS_ALPHATESTENABLE), (DWORD)TRUE);
  EXPECT_EQ(state(D3DRS_ALPHAFUNC), (DWORD)D3DCMP_GREATEREQUAL);
  EXPECT_EQ(state(D3DRS_FOGENABLE), (DWORD)TRUE);
  EXPECT_EQ(state(D3DRS_FILLMODE), (DWORD)D3DFILL_SOLID);
  EXPECT_EQ(state(D3DRS_DITHERENABLE), (DWORD)TRUE);

  // Point mips only; then no mip caps leaves the filter as it was.
  ApplyRenderStates(dev_, D3DPTFILTERCAPS_MIPFPOINT);
  EXPECT_EQ(sampler(0, D3DSAMP_MIPFILTER), (DWORD)D3DTEXF_POINT);
  dev_->SetSamplerState(2, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
  ApplyRenderStates(dev_, 0);
  EXPECT_EQ(sampler(0, D3DSAMP_MIPFILTER), (DWORD)D3DTEXF_POINT);
  EXPECT_EQ(sampler(2, D3DSAMP_MIPFILTER), (DWORD)D3DTEXF_NONE);

  // After a reset the states are the device defaults again until restored.
  ASSERT_EQ(device_.Reset(), S_OK);
  EXPECT_EQ(state(D3DRS_ALPHATESTENABLE), (DWORD)FALSE);
  ApplyRenderStates(dev_, D3DPTFILTERCAPS_MIPFLINEAR);
  EXPECT_EQ(state(D3DRS_ALPHATESTENABLE), (DWORD)TRUE);
}
