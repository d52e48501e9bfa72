// The full-target square: drawn with the copy shaders it maps the texture's
// top-left corner to the target's top-left corner and covers every pixel.
#include <gtest/gtest.h>

#include "D3DTestDevice.h"
#include "buffers/X1SquareShader.h"
#include "servers/StaticTables.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"

namespace {

using qvtest::DeviceReferences;

TEST(SquareShaderTest, CoversTheTargetWithTheTextureUpright) {
  qvtest::D3DTestDevice dev;
  ASSERT_TRUE(dev.Create(64, 64)) << dev.Error();
  IDirect3DDevice9* d = dev.Device();
  const ULONG baseRefs = DeviceReferences(d);
  {
    VSServer vs;
    VBServer vb;
    vs.InitDeviceObjects(d);
    vb.InitDeviceObjects(d);
    X1SquareShader square;
    ASSERT_EQ(square.CreateBuffer(d), 0);
    ASSERT_EQ(square.CreateBuffer(d), 0);  // again: the first buffer is let go

    // A 2 x 2 texture: red, green / blue, white.
    IDirect3DTexture9* tex = nullptr;
    ASSERT_EQ(d->CreateTexture(2, 2, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &tex, nullptr), 0);
    D3DLOCKED_RECT r;
    ASSERT_EQ(tex->LockRect(0, &r, nullptr, 0), 0);
    auto* row0 = static_cast<uint32_t*>(r.pBits);
    auto* row1 = reinterpret_cast<uint32_t*>(static_cast<char*>(r.pBits) + r.Pitch);
    row0[0] = 0xFFFF0000;
    row0[1] = 0xFF00FF00;
    row1[0] = 0xFF0000FF;
    row1[1] = 0xFFFFFFFF;
    tex->UnlockRect(0);

    IDirect3DVertexDeclaration9* decl = nullptr;
    IDirect3DVertexDeclaration9* none = nullptr;
    IUnknown* copyVs = vs.GetShader(&g_GlareBufferShaders[0], &decl);
    IUnknown* copyPs = vs.GetShader(&g_GlareBufferShaders[1], &none);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    ASSERT_EQ(d->BeginScene(), 0);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_ZENABLE, FALSE);
    d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    vs.SetShaders(copyVs, copyPs, decl);
    square.SetStream(&vb);
    d->SetTexture(0, tex);
    d->DrawPrimitive(D3DPT_TRIANGLEFAN, 0, 2);
    d->SetTexture(0, nullptr);
    d->EndScene();
    std::vector<uint32_t> p = dev.ReadBackBuffer();
    ASSERT_EQ(p.size(), 64u * 64u);
    EXPECT_EQ(p[0] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(p[63] & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(p[63 * 64] & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(p[63 * 64 + 63] & 0xFFFFFF, 0xFFFFFFu);
    int black = 0;
    for (uint32_t px : p) black += (px & 0xFFFFFF) == 0;
    EXPECT_EQ(black, 0);

    tex->Release();
    EXPECT_EQ(square.ReleaseBuffer(), 0);
    EXPECT_EQ(square.Buffer(), nullptr);
    vs.InvalidateDeviceObjects();
    vb.InvalidateDeviceObjects();
    vb.DeleteDeviceObjects();
  }
  EXPECT_EQ(baseRefs, DeviceReferences(d));
}

}  // namespace
