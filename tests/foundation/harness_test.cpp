// The test harness itself: Japanese code page, Shift-JIS literals, a real device.
#include <gtest/gtest.h>

#include <d3dx9.h>

#include "D3DTestDevice.h"
#include "TestSupport.h"

using namespace qvtest;

TEST(HarnessTest, AnsiCodePageIsJapanese) { EXPECT_EQ(GetACP(), 932u); }

TEST(HarnessTest, LiteralsAreShiftJis) {
  const char text[] = "ソ表";
  ASSERT_EQ(sizeof text, 5u);
  EXPECT_EQ(static_cast<unsigned char>(text[0]), 0x83);
  EXPECT_EQ(static_cast<unsigned char>(text[1]), 0x5C);
  EXPECT_EQ(static_cast<unsigned char>(text[2]), 0x95);
  EXPECT_EQ(static_cast<unsigned char>(text[3]), 0x5C);
}

TEST(HarnessTest, DistFolderHoldsTheReporter) {
  EXPECT_TRUE(FileExists(DistDir() + "Wexnote.exe"));
  EXPECT_TRUE(FileExists(DistDir() + "ai"));
  EXPECT_TRUE(FileExists(DistDir() + "model"));
}

namespace {
struct ColorVertex {
  float x, y, z, rhw;
  D3DCOLOR color;
};
}  // namespace

// Clears to blue, draws a red pre-transformed triangle over the left half and
// checks the pixels read back from the back buffer.
TEST(DeviceTest, DrawsATriangleAndReadsItBack) {
  D3DTestDevice dev;
  ASSERT_TRUE(dev.Create(128, 96)) << dev.Error();
  IDirect3DDevice9* d = dev.Device();
  ASSERT_EQ(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0), D3D_OK);
  ASSERT_EQ(d->BeginScene(), D3D_OK);
  ColorVertex tri[3] = {{0, 0, 0.5f, 1, 0xFFFF0000}, {64, 0, 0.5f, 1, 0xFFFF0000},
                        {0, 96, 0.5f, 1, 0xFFFF0000}};
  d->SetRenderState(D3DRS_LIGHTING, FALSE);
  d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  d->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
  ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, tri, sizeof(ColorVertex)), D3D_OK);
  ASSERT_EQ(d->EndScene(), D3D_OK);

  auto pixels = dev.ReadBackBuffer();
  ASSERT_EQ(pixels.size(), 128u * 96u);
  uint32_t inside = pixels[10 * 128 + 10];
  uint32_t outside = pixels[90 * 128 + 120];
  EXPECT_GT(Red(inside), 200);
  EXPECT_LT(Blue(inside), 50);
  EXPECT_LT(Red(outside), 50);
  EXPECT_GT(Blue(outside), 200);
  EXPECT_EQ(d->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

  // A reset keeps the device usable.
  EXPECT_EQ(dev.Reset(), D3D_OK);
  EXPECT_EQ(d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
  pixels = dev.ReadBackBuffer();
  ASSERT_FALSE(pixels.empty());
  EXPECT_GT(Green(pixels[0]), 200);
}

TEST(DeviceTest, AssemblesVertexAndPixelShaders) {
  D3DTestDevice dev;
  ASSERT_TRUE(dev.Create(32, 32)) << dev.Error();
  const char vs[] = "vs_1_1\ndcl_position v0\nm4x4 oPos, v0, c0\nmov oFog, c4.x\n";
  const char ps[] = "; comment first\nps.1.1\nmov r0, v0\n";
  ID3DXBuffer* code = nullptr;
  ASSERT_EQ(D3DXAssembleShader(vs, sizeof vs - 1, nullptr, nullptr, 0, &code, nullptr), D3D_OK);
  IDirect3DVertexShader9* vshader = nullptr;
  EXPECT_EQ(dev.Device()->CreateVertexShader(static_cast<DWORD*>(code->GetBufferPointer()), &vshader),
            D3D_OK);
  code->Release();
  ASSERT_EQ(D3DXAssembleShader(ps, sizeof ps - 1, nullptr, nullptr, 0, &code, nullptr), D3D_OK);
  IDirect3DPixelShader9* pshader = nullptr;
  EXPECT_EQ(dev.Device()->CreatePixelShader(static_cast<DWORD*>(code->GetBufferPointer()), &pshader),
            D3D_OK);
  code->Release();
  if (vshader) vshader->Release();
  if (pshader) pshader->Release();
}
