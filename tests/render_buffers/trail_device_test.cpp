// The frame trail on a real device: the composite shows the frame rendered
// one frame earlier with the older ones laid over it, kept frames rotate and
// swap, the screen's depth surface comes back on a multisampled screen, and
// a device reset finds every restore-time resource released.
#include <gtest/gtest.h>

#include <vector>

#include "D3DTestDevice.h"
#include "DeviceServers.h"
#include "X2PluginAbi.h"
#include "buffers/FrameTrail.h"
#include "buffers/TrailFrames.h"
#include "servers/StaticTables.h"

namespace {

using qvtest::Blue;
using qvtest::Green;
using qvtest::Red;

using qvtest::DeviceReferences;

class TrailDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dev_.Create(96, 64)) << dev_.Error();
    d_ = dev_.Device();
    baseRefs_ = DeviceReferences(d_);
  }
  void TearDown() override {
    Invalidate();
    if (d_) {
      EXPECT_EQ(baseRefs_, DeviceReferences(d_));
    }
  }

  void Restore(unsigned kept) {
    servers_.Restore(d_);
    ASSERT_EQ(frames_.Restore(d_, dev_.Width(), dev_.Height(), kept), 0);
    record_ = MeshRecord{};
    record_.descriptor = TrailGridMesh();
    ASSERT_EQ(servers_.vb.CreateMeshBuffers(&record_, false, false), 0);
    servers_.Bind(d_, &c_);
    c_.block = servers_.sb.CreateSB(g_StateListS5);
    c_.waveVs = servers_.vs.GetShader(&g_RenderingSceneShaders[0], &c_.waveDecl);
    c_.gridIndices = record_.indexBuffer;
  }
  void Invalidate() {
    frames_.Invalidate();
    servers_.Invalidate();
  }

  // One frame as the world runs it: Move, the scene into kept frame 0 (here a
  // clear to one colour), then the composite on the screen.
  uint32_t Frame(float t, float tPrev, D3DCOLOR colour) {
    if (motion_.Step(t, tPrev, 0.5f))
      frames_.Rotate();
    else
      frames_.Swap();
    frames_.BeginTarget();
    d_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, colour, 1.0f, 0);
    frames_.EndTarget(true);
    d_->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(255, 0, 255), 1.0f, 0);
    if (d_->BeginScene() == 0) {
      frames_.Composite(c_, motion_.wave, motion_.phase);
      d_->EndScene();
    }
    std::vector<uint32_t> screen = dev_.ReadBackBuffer();
    return screen.empty() ? 0 : screen[(dev_.Height() / 2) * dev_.Width() + dev_.Width() / 2];
  }

  qvtest::D3DTestDevice dev_;
  IDirect3DDevice9* d_ = nullptr;
  ULONG baseRefs_ = 0;
  DeviceServers servers_;
  MeshRecord record_;
  TrailFrames frames_;
  TrailMotion motion_;
  TrailDrawContext c_;
};

const D3DCOLOR kColours[] = {D3DCOLOR_XRGB(200, 0, 0), D3DCOLOR_XRGB(0, 200, 0),
                             D3DCOLOR_XRGB(0, 0, 200), D3DCOLOR_XRGB(120, 120, 0),
                             D3DCOLOR_XRGB(0, 90, 180)};

TEST_F(TrailDeviceTest, ThreeKeptFramesShowTheFrameBeforeAcrossResets) {
  for (int round = 0; round < 3; ++round) {
    Restore(3);
    ASSERT_EQ(frames_.KeptCount(), 3u);
    EXPECT_EQ(frames_.Width(), unsigned(dev_.Width()));
    float t = 5.0f + round;
    Frame(t, t - 0.02f, kColours[0]);
    for (int i = 1; i < 5; ++i) {
      t += 0.02f;
      const uint32_t p = Frame(t, t - 0.02f, kColours[i]);
      EXPECT_EQ(p & 0xFFFFFF, kColours[i - 1] & 0xFFFFFF) << "round " << round << " frame " << i;
    }
    Invalidate();
    ASSERT_EQ(dev_.Reset(), 0) << "a resource made at restore outlived the invalidation";
  }
}

TEST_F(TrailDeviceTest, OlderFramesLieOverTheDelayedOneAtOneEighth) {
  Restore(5);  // the delayed frame and two trail layers
  float t = 3.0f;
  for (int i = 0; i < 4; ++i, t += 0.02f) Frame(t, t - 0.02f, kColours[i]);
  const uint32_t p = Frame(t, t - 0.02f, kColours[4]);
  // Kept 1 = colour 3 opaque, then kept 2 = colour 2 and kept 3 = colour 1.
  const float a = 32.0f / 255.0f;
  auto blend = [&](auto channel) {
    float v = float(channel(kColours[3]));
    v = channel(kColours[2]) * a + v * (1 - a);
    v = channel(kColours[1]) * a + v * (1 - a);
    return v;
  };
  EXPECT_NEAR(Red(p), blend([](uint32_t c) { return Red(c); }), 3);
  EXPECT_NEAR(Green(p), blend([](uint32_t c) { return Green(c); }), 3);
  EXPECT_NEAR(Blue(p), blend([](uint32_t c) { return Blue(c); }), 3);
}

TEST_F(TrailDeviceTest, FramesCloserThanFiveMillisecondsSwap) {
  Restore(3);
  // A second restore without an invalidation still keeps exactly N frames.
  ASSERT_EQ(frames_.Restore(d_, dev_.Width(), dev_.Height(), 3), 0);
  EXPECT_EQ(frames_.KeptCount(), 3u);
  Frame(2.0f, 1.98f, kColours[0]);
  IDirect3DTexture9* first = frames_.KeptTexture(0);
  IDirect3DTexture9* second = frames_.KeptTexture(1);
  // 2 ms later: kept frames 0 and 1 change places, so the frame just drawn
  // into kept 0 is shown at once.
  const uint32_t p = Frame(2.002f, 2.0f, kColours[1]);
  EXPECT_EQ(frames_.KeptTexture(0), second);
  EXPECT_EQ(frames_.KeptTexture(1), first);
  EXPECT_EQ(p & 0xFFFFFF, kColours[0] & 0xFFFFFF);
}

TEST_F(TrailDeviceTest, OwnDepthStaysBoundOnlyWithASingleSampledScreen) {
  Restore(3);
  frames_.BeginTarget();
  frames_.EndTarget(true);
  IDirect3DSurface9* depth = nullptr;
  ASSERT_EQ(d_->GetDepthStencilSurface(&depth), 0);
  EXPECT_EQ(depth, frames_.OwnDepth());
  depth->Release();
  frames_.EndTarget(false);
  Invalidate();

  // A second device on the same window with a multisampled back buffer.
  D3DPRESENT_PARAMETERS pp = dev_.Params();
  pp.MultiSampleType = D3DMULTISAMPLE_4_SAMPLES;
  pp.MultiSampleQuality = 0;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  if (FAILED(dev_.D3D()->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                                    pp.BackBufferFormat, TRUE, pp.MultiSampleType,
                                                    nullptr)))
    GTEST_SKIP() << "no 4x multisampling here";
  IDirect3DDevice9* ms = nullptr;
  ASSERT_EQ(dev_.D3D()->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, dev_.Window(),
                                     D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &ms),
            0);
  {
    TrailFrames trail;
    ASSERT_EQ(trail.Restore(ms, pp.BackBufferWidth, pp.BackBufferHeight, 3), 0);
    trail.BeginTarget();
    trail.EndTarget(true);
    IDirect3DSurface9* target = nullptr;
    IDirect3DSurface9* bound = nullptr;
    ASSERT_EQ(ms->GetRenderTarget(0, &target), 0);
    ASSERT_EQ(ms->GetDepthStencilSurface(&bound), 0);
    D3DSURFACE_DESC td, dd;
    target->GetDesc(&td);
    bound->GetDesc(&dd);
    EXPECT_EQ(td.MultiSampleType, dd.MultiSampleType);
    EXPECT_NE(bound, trail.OwnDepth());
    target->Release();
    bound->Release();
  }
  EXPECT_EQ(ms->Release(), 0u);
}

}  // namespace
