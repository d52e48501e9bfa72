// The main loop when the device is lost: Present reports it, the loop stops
// drawing and tests the device every 100 ms until it can be reset, resets
// it, and the scene is drawn again as before. The device is a real one whose
// Present, TestCooperativeLevel and Reset answer as a driver that loses it
// would.
#include <gtest/gtest.h>

#include <d3d9.h>

#include <cstring>
#include <vector>

#include "D3DTestDevice.h"
#include "SceneTestSupport.h"
#include "frame/C3Application.h"
#include "world/C3World.h"

namespace {

constexpr int kSize = 64;
constexpr int kFramesBeforeLoss = 3;
constexpr int kLostAnswers = 3;
constexpr int kFramesAfterReset = 5;

// A driver that loses the device: Present reports the loss on the third
// frame, TestCooperativeLevel then answers "lost" three times and "not
// reset" until Reset. The device's own operations do the work; the test
// swaps its table of operations for a copy with these three replaced.
struct Script {
  void** own = nullptr;
  std::vector<void*> table;
  int presents = 0, lostTests = 0, resets = 0, framesWhileLost = 0;
  bool lost = false;
  DWORD lostAt = 0, resetAt = 0;
} g_script;

enum Slot { kTestCooperativeLevel = 3, kReset = 16, kPresent = 17, kSlots = 119 };

template <class Fn>
Fn Own(Slot slot) {
  return reinterpret_cast<Fn>(g_script.own[slot]);
}

HRESULT STDMETHODCALLTYPE Present(IDirect3DDevice9* self, const RECT* a, const RECT* b, HWND w, const RGNDATA* r) {
  using Fn = HRESULT(STDMETHODCALLTYPE*)(IDirect3DDevice9*, const RECT*, const RECT*, HWND, const RGNDATA*);
  const HRESULT hr = Own<Fn>(kPresent)(self, a, b, w, r);
  if (++g_script.presents != kFramesBeforeLoss) return hr;
  g_script.lost = true;
  g_script.lostAt = GetTickCount();
  return D3DERR_DEVICELOST;
}

HRESULT STDMETHODCALLTYPE TestCooperativeLevel(IDirect3DDevice9* self) {
  if (!g_script.lost) return Own<HRESULT(STDMETHODCALLTYPE*)(IDirect3DDevice9*)>(kTestCooperativeLevel)(self);
  return ++g_script.lostTests <= kLostAnswers ? D3DERR_DEVICELOST : D3DERR_DEVICENOTRESET;
}

HRESULT STDMETHODCALLTYPE Reset(IDirect3DDevice9* self, D3DPRESENT_PARAMETERS* params) {
  const HRESULT hr = Own<HRESULT(STDMETHODCALLTYPE*)(IDirect3DDevice9*, D3DPRESENT_PARAMETERS*)>(kReset)(self, params);
  ++g_script.resets;
  g_script.lost = false;
  g_script.resetAt = GetTickCount();
  return hr;
}

void InstallScript(IDirect3DDevice9* device) {
  g_script = Script{};
  g_script.own = *reinterpret_cast<void***>(device);
  g_script.table.assign(g_script.own, g_script.own + kSlots);
  g_script.table[kTestCooperativeLevel] = reinterpret_cast<void*>(&TestCooperativeLevel);
  g_script.table[kReset] = reinterpret_cast<void*>(&Reset);
  g_script.table[kPresent] = reinterpret_cast<void*>(&Present);
  *reinterpret_cast<void***>(device) = g_script.table.data();
}

void RemoveScript(IDirect3DDevice9* device) { *reinterpret_cast<void***>(device) = g_script.own; }

struct ScreenVertex {
  float x, y, z, rhw;
  D3DCOLOR colour;
};

// A red square in the middle of the view, its vertices in a default-pool
// buffer: released by every invalidation, made again by every restore.
class DefaultPoolSquare : public C3Object {
 public:
  DefaultPoolSquare() { flags |= kObjAlwaysVisible; }
  ~DefaultPoolSquare() override { InvalidateDeviceObjects(); }
  HRESULT RestoreDeviceObjects() override {
    IDirect3DDevice9* device = GetSceneHost()->GetDevice();
    const DWORD fvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
    if (FAILED(device->CreateVertexBuffer(4 * sizeof(ScreenVertex), D3DUSAGE_WRITEONLY, fvf, D3DPOOL_DEFAULT,
                                          &buffer_, nullptr)))
      return E_FAIL;
    const float a = kSize / 4.0f, b = kSize * 3 / 4.0f;
    const D3DCOLOR red = D3DCOLOR_XRGB(255, 0, 0);
    const ScreenVertex square[4] = {{a, a, 0.5f, 1, red}, {b, a, 0.5f, 1, red}, {a, b, 0.5f, 1, red},
                                    {b, b, 0.5f, 1, red}};
    void* p = nullptr;
    buffer_->Lock(0, 0, &p, 0);
    memcpy(p, square, sizeof square);
    buffer_->Unlock();
    return 0;
  }
  HRESULT InvalidateDeviceObjects() override {
    if (buffer_) buffer_->Release();
    buffer_ = nullptr;
    return 0;
  }
  HRESULT Render() override {
    IDirect3DDevice9* device = GetSceneHost()->GetDevice();
    if (!buffer_) return 0;
    device->SetVertexShader(nullptr);
    device->SetPixelShader(nullptr);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetStreamSource(0, buffer_, 0, sizeof(ScreenVertex));
    if (SUCCEEDED(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2))) ++draws;
    return 0;
  }
  int draws = 0;

 private:
  IDirect3DVertexBuffer9* buffer_ = nullptr;
};

// The frame's application: its device objects, moves and draws are the
// world's; each frame notes the colour drawn in the middle of the view, and
// a few frames after the reset the loop is ended.
class WorldApp : public C3Application {
 public:
  WorldApp(qvtest::D3DTestDevice& dev, C3World* world) : dev_(dev), world_(world) {
    m_device = dev.Device();
    m_device->AddRef();  // the application's reference
    m_mainWindow = dev.Window();
    m_presentParams = dev.Params();
    m_deviceObjectsInited = m_deviceObjectsRestored = true;
  }
  HRESULT RestoreDeviceObjects() override {
    ++restores;
    return world_->RestoreDeviceObjects();
  }
  HRESULT InvalidateDeviceObjects() override { return world_->InvalidateDeviceObjects(); }
  HRESULT Move() override { return world_->Move(m_elapsedTime); }
  HRESULT Render() override {
    if (g_script.lost) ++g_script.framesWhileLost;
    world_->Render();
    const std::vector<uint32_t> px = dev_.ReadBackBuffer();
    centre = px.empty() ? 0 : px[(kSize / 2) * kSize + kSize / 2] & 0xFFFFFF;
    if (g_script.resets > 0 && ++framesAfterReset == kFramesAfterReset) PostQuitMessage(0);
    return 0;
  }
  int restores = 0;
  int framesAfterReset = 0;
  uint32_t centre = 0;

 private:
  qvtest::D3DTestDevice& dev_;
  C3World* world_;
};

// Ends a loop that never got its frames after the reset.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); }

TEST(LostDeviceTest, LoopWaitsResetsAndTheSceneIsDrawnAgain) {
  qvtest::D3DTestDevice dev;
  ASSERT_TRUE(dev.Create(kSize, kSize)) << dev.Error();
  qvtest::BlueSeaHost host(dev);
  C3World* world = qvtest::OpenWorld(&host, new qvtest::LookAlongZ);
  auto* square = new DefaultPoolSquare;
  world->AddChild(square);
  ASSERT_EQ(0, world->InitDeviceObjects());
  ASSERT_EQ(0, world->RestoreDeviceObjects());

  WorldApp app(dev, world);
  InstallScript(dev.Device());
  app.SetPaused(false);
  SetTimer(dev.Window(), 1, 20000, GiveUp);
  const int result = app.Run();
  KillTimer(dev.Window(), 1);
  RemoveScript(dev.Device());

  EXPECT_EQ(result, 0) << "no frames after the reset";
  EXPECT_EQ(g_script.presents, kFramesBeforeLoss + kFramesAfterReset);
  EXPECT_EQ(g_script.framesWhileLost, 0);
  EXPECT_EQ(g_script.lostTests, kLostAnswers + 1);
  EXPECT_GE(g_script.resetAt - g_script.lostAt, 250u) << "tested every 100 ms while lost";
  EXPECT_EQ(g_script.resets, 1);
  EXPECT_EQ(app.restores, 1);
  EXPECT_FALSE(app.IsDeviceLost());
  EXPECT_EQ(square->draws, kFramesBeforeLoss + kFramesAfterReset);
  EXPECT_EQ(app.centre, 0xFF0000u) << std::hex << app.centre;

  qvtest::CloseWorld(world);
}

}  // namespace
