// The draw counter's record of one frame on a real device: only the frame
// asked for is written, with its render targets, clears, draws, the state
// they were issued with and the pixels each one drew.
#include <gtest/gtest.h>
#include <d3dx9.h>

#include <string>

#include "D3DTestDevice.h"
#include "TestSupport.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/DrawRecord.h"

namespace {

constexpr int kW = 64, kH = 48;

struct ScreenVertex {
  float x, y, z, rhw;
};
struct ClipVertex {
  float x, y, z;
};

template <class V, size_t N>
IDirect3DVertexBuffer9* MakeBuffer(IDirect3DDevice9* d, const V (&vertices)[N]) {
  IDirect3DVertexBuffer9* vb = nullptr;
  void* p = nullptr;
  if (FAILED(d->CreateVertexBuffer(sizeof vertices, 0, 0, D3DPOOL_MANAGED, &vb, nullptr))) return nullptr;
  vb->Lock(0, 0, &p, 0);
  memcpy(p, vertices, sizeof vertices);
  vb->Unlock();
  return vb;
}

TEST(DrawRecorderDeviceTest, RecordsTheRequestedFrameOnly) {
  qvtest::D3DTestDevice device;
  ASSERT_TRUE(device.Create(kW, kH)) << device.Error();
  IDirect3DDevice9* d = device.Device();
  CreateDirectoryA("c:\\log", nullptr);
  DeleteFileA(kDrawRecordPath);

  // The left half of the back buffer, in screen space (fixed function).
  const ScreenVertex half[] = {{-0.5f, -0.5f, 0.5f, 1}, {31.5f, -0.5f, 0.5f, 1}, {31.5f, 47.5f, 0.5f, 1},
                               {-0.5f, 47.5f, 0.5f, 1}};
  // A whole target in clip space, through a vertex shader.
  const ClipVertex whole[] = {{-1, 1, 0.5f}, {1, 1, 0.5f}, {1, -1, 0.5f}, {-1, -1, 0.5f}};
  IDirect3DVertexBuffer9* halfBuffer = MakeBuffer(d, half);
  IDirect3DVertexBuffer9* wholeBuffer = MakeBuffer(d, whole);
  ASSERT_TRUE(halfBuffer && wholeBuffer);
  const char text[] = "vs_1_1\ndcl_position v0\nmov oPos, v0\n";
  ID3DXBuffer* code = nullptr;
  ASSERT_EQ(D3DXAssembleShader(text, sizeof text - 1, nullptr, nullptr, 0, &code, nullptr), D3D_OK);
  IDirect3DVertexShader9* shader = nullptr;
  ASSERT_EQ(d->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()), &shader), D3D_OK);
  code->Release();
  IDirect3DTexture9* target = nullptr;
  IDirect3DSurface9* targetSurface = nullptr;
  IDirect3DSurface9* back = nullptr;
  ASSERT_EQ(d->CreateTexture(32, 32, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target, nullptr),
            D3D_OK);
  target->GetSurfaceLevel(0, &targetSurface);
  d->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
  d->SetRenderState(D3DRS_LIGHTING, FALSE);
  d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);

  auto frame = [&] {
    C3DrawCounter::BeginFrame(d);
    d->BeginScene();
    d->SetRenderTarget(0, back);
    C3DrawCounter::Clear(d, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    d->SetVertexShader(nullptr);
    d->SetFVF(D3DFVF_XYZRHW);
    d->SetStreamSource(0, halfBuffer, 0, sizeof(ScreenVertex));
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    C3DrawCounter::Draw(d, D3DPT_TRIANGLEFAN, 0, 2);
    d->SetRenderTarget(0, targetSurface);
    C3DrawCounter::Clear(d, D3DCLEAR_TARGET, 0, 1.0f, 0);
    d->SetFVF(D3DFVF_XYZ);
    d->SetVertexShader(shader);
    d->SetStreamSource(0, wholeBuffer, 0, sizeof(ClipVertex));
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    C3DrawCounter::Draw(d, D3DPT_TRIANGLEFAN, 0, 2);
    d->SetRenderTarget(0, back);
    d->SetVertexShader(nullptr);
    d->EndScene();
    d->Present(nullptr, nullptr, nullptr, nullptr);
    C3DrawCounter::EndFrame();
  };
  C3DrawCounter::Take();
  frame();
  EXPECT_FALSE(qvtest::FileExists(kDrawRecordPath)) << "a frame nobody asked for was written";
  C3DrawCounter::RecordNextFrame();
  frame();
  frame();  // the request is for one frame: the record stays as written
  EXPECT_EQ(C3DrawCounter::Take().draws, 6u);

  DrawRecord record;
  std::string error;
  ASSERT_TRUE(ParseDrawRecord(qvtest::ReadFileText(kDrawRecordPath), &record, &error)) << error;
  ASSERT_EQ(record.targets.size(), 2u);
  EXPECT_TRUE(record.targets[0].backBuffer);
  EXPECT_EQ(record.targets[0].width, static_cast<UINT>(kW));
  EXPECT_EQ(record.targets[0].depthFormat, D3DFMT_D24S8);
  EXPECT_FALSE(record.targets[1].backBuffer);
  EXPECT_EQ(record.targets[1].width, 32u);
  EXPECT_EQ(record.targets[1].format, D3DFMT_A8R8G8B8);
  ASSERT_EQ(record.events.size(), 4u);
  EXPECT_EQ(record.events[0].kind, DrawRecordEvent::kClear);
  EXPECT_EQ(record.events[0].clearFlags, static_cast<DWORD>(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER));
  const DrawRecordEvent& first = record.events[1];
  EXPECT_EQ(first.kind, DrawRecordEvent::kDraw);
  EXPECT_EQ(first.target, 0);
  EXPECT_EQ(first.type, D3DPT_TRIANGLEFAN);
  EXPECT_EQ(first.vertices, 4u);
  EXPECT_EQ(first.indexBytes, 0u);
  EXPECT_EQ(first.stride, sizeof(ScreenVertex));
  EXPECT_EQ(first.vertexShader, 0u);
  EXPECT_FALSE(first.alphaBlend);
  EXPECT_TRUE(first.depthTest);
  EXPECT_EQ(first.pixels, 32 * kH);
  EXPECT_EQ(record.events[2].kind, DrawRecordEvent::kClear);
  EXPECT_EQ(record.events[2].target, 1);
  const DrawRecordEvent& second = record.events[3];
  EXPECT_EQ(second.target, 1);
  EXPECT_EQ(second.vertexShader, 0xFFFE0101u);
  EXPECT_EQ(second.stride, sizeof(ClipVertex));
  EXPECT_TRUE(second.alphaBlend);
  EXPECT_EQ(second.pixels, 32 * 32);

  back->Release();
  targetSurface->Release();
  target->Release();
  shader->Release();
  wholeBuffer->Release();
  halfBuffer->Release();
  DeleteFileA(kDrawRecordPath);
}

}  // namespace
