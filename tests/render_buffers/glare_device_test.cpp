// The glare passes on a real device: a bright texel spreads symmetrically
// through the blur, the smoothing follows its time constant, and nothing
// made at restore survives an invalidation (the device resets cleanly).
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "D3DTestDevice.h"
#include "DeviceServers.h"
#include "buffers/GlareDraw.h"
#include "buffers/GlarePasses.h"
#include "buffers/RenderTargets.h"
#include "servers/StaticTables.h"

namespace {

using qvtest::Red;

using qvtest::DeviceReferences;

class GlareDeviceTest : public ::testing::Test {
 protected:
  static constexpr unsigned kSize = 64;

  void SetUp() override {
    ASSERT_TRUE(dev_.Create(2 * kSize, 2 * kSize)) << dev_.Error();
    d_ = dev_.Device();
    baseRefs_ = DeviceReferences(d_);
    kernel_.Reset();
    kernel_.SetPreset(0);
    kernel_.Build();
    Restore();
  }
  void TearDown() override {
    Invalidate();
    if (d_) {
      EXPECT_EQ(baseRefs_, DeviceReferences(d_));
    }
  }

  void Restore() {
    servers_.Restore(d_);
    ASSERT_EQ(targets_.Restore(d_, GlareTargetExtent(dev_.Width()), GlareTargetExtent(dev_.Height()),
                               4, true, "X1GlareBuffer"),
              0);
    servers_.Bind(d_, &c_);
    c_.block = servers_.sb.CreateSB(g_StateListS4);
    c_.copyVs = servers_.vs.GetShader(&g_GlareBufferShaders[0], &c_.copyDecl);
    IDirect3DVertexDeclaration9* none = nullptr;
    c_.copyPs = servers_.vs.GetShader(&g_GlareBufferShaders[1], &none);
    c_.fourTapVs = servers_.vs.GetShader(&g_GlareBufferShaders[2], &c_.fourTapDecl);
    c_.fourTapPs = servers_.vs.GetShader(&g_GlareBufferShaders[3], &none);
  }
  void Invalidate() {
    targets_.Invalidate();
    servers_.Invalidate();
  }

  // Fills a target with grey `level`, with one texel of `spot` at (x, y).
  void Paint(unsigned target, int level, int x = -1, int y = -1, int spot = 255) {
    ASSERT_EQ(d_->SetRenderTarget(0, targets_.Surface(target)), 0);
    d_->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(level, level, level), 1.0f, 0);
    if (x >= 0) {
      D3DRECT r = {x, y, x + 1, y + 1};
      d_->Clear(1, &r, D3DCLEAR_TARGET, D3DCOLOR_XRGB(spot, spot, spot), 1.0f, 0);
    }
    targets_.EndTarget();
  }
  void Passes(int selector, float intensity, float dt) {
    ASSERT_EQ(d_->BeginScene(), 0);
    RunGlarePasses(c_, targets_, selector, kernel_, intensity, dt);
    d_->EndScene();
  }
  std::vector<uint32_t> Read(unsigned target) { return dev_.ReadSurface(targets_.Surface(target)); }
  int At(const std::vector<uint32_t>& p, int x, int y) { return Red(p[y * kSize + x]); }

  // A single bright texel in the middle: horizontal and final images.
  void CheckSpread() {
    const int cx = 32, cy = 32;
    Paint(0, 0, cx, cy);
    Paint(2, 0);  // previous smoothed image (selector 0 reads target 2)
    Passes(0, 0.5f, 1.0f);

    std::vector<uint32_t> h = Read(kGlareHorizontalTarget);
    ASSERT_EQ(h.size(), size_t(kSize * kSize));
    EXPECT_NEAR(At(h, cx, cy), 255 * 0.45f * 0.17f, 2);
    for (int k = 1; k <= 13; ++k) {
      EXPECT_NEAR(At(h, cx - 2 * k, cy), At(h, cx + 2 * k, cy), 1) << k;
      EXPECT_LE(At(h, cx + 2 * k, cy), At(h, cx + 2 * (k - 1), cy)) << k;
      EXPECT_GT(At(h, cx + 2 * k, cy), 0) << k;
    }
    EXPECT_NEAR(At(h, cx + 26, cy), 255 * 0.45f * 0.0513f, 2);
    EXPECT_EQ(At(h, cx + 28, cy), 0);
    EXPECT_EQ(At(h, cx, cy + 1), 0);  // only the texel's row

    // Stronger, so the vertical pass has something to show at 8 bits.
    Paint(0, 0, cx, cy);
    Paint(2, 0);
    Passes(0, 5.0f, 1.0f);
    std::vector<uint32_t> g = Read(GlareOutputTarget(0));
    const int centre = At(g, cx, cy);
    EXPECT_NEAR(centre, 255 * 0.765f * 0.765f, 3);
    for (int a = 0; a <= 12; a += 4)
      for (int b = 0; b <= 12; b += 4) {
        const int v = At(g, cx + a, cy + b);
        EXPECT_NEAR(v, At(g, cx - a, cy + b), 1) << a << "," << b;
        EXPECT_NEAR(v, At(g, cx + a, cy - b), 1) << a << "," << b;
        EXPECT_NEAR(v, At(g, cx + b, cy + a), 1) << a << "," << b;  // same both ways
        EXPECT_LE(v, centre);
      }
    EXPECT_GT(At(g, cx + 12, cy + 12), 0);
  }

  qvtest::D3DTestDevice dev_;
  IDirect3DDevice9* d_ = nullptr;
  ULONG baseRefs_ = 0;
  DeviceServers servers_;
  RenderTargets targets_;
  GlareDrawContext c_;
  X1GlareKernel kernel_;
};

TEST_F(GlareDeviceTest, TargetsAreHalfTheBackBufferWithAnUnchangedQuad) {
  // A second restore without an invalidation replaces what the first made
  // (TearDown checks that the device holds no more references than before).
  ASSERT_EQ(targets_.Restore(d_, kSize, kSize, 4, true, "X1GlareBuffer"), 0);
  EXPECT_EQ(targets_.Count(), 4u);
  EXPECT_EQ(targets_.Width(), kSize);
  EXPECT_EQ(targets_.Height(), kSize);
  float q[4][5];
  BuildTargetQuad(QuadPlacement{}, kSize, kSize, q);
  // The whole quad moves half a texel left and up, so texel centres land on
  // pixel centres and every pass reads its source unfiltered.
  EXPECT_FLOAT_EQ(q[0][0], -1.0f - 1.0f / kSize);
  EXPECT_FLOAT_EQ(q[0][1], 1.0f + 1.0f / kSize);
  EXPECT_FLOAT_EQ(q[3][0], 1.0f - 1.0f / kSize);
  EXPECT_FLOAT_EQ(q[3][1], -1.0f + 1.0f / kSize);
  EXPECT_EQ(q[3][3], 1.0f);
  EXPECT_EQ(q[3][4], 1.0f);
}

TEST_F(GlareDeviceTest, BrightTexelSpreadsSymmetricallyAcrossResets) {
  CheckSpread();
  for (int i = 0; i < 2; ++i) {
    Invalidate();
    ASSERT_EQ(dev_.Reset(), 0) << "a resource made at restore outlived the invalidation";
    Restore();
    EXPECT_EQ(targets_.Width(), kSize);
    CheckSpread();
  }
}

TEST_F(GlareDeviceTest, SmoothingFollowsTheFrameTime) {
  // Sources grey 200, previous black: dt >= 0.1 s takes the sources.
  Paint(0, 200);
  Paint(2, 0);
  Passes(0, 0.5f, 0.1f);
  EXPECT_NEAR(At(Read(GlareSmoothedTarget(0)), 10, 10), 200, 2);
  // Next frame (selector 1 reads the image just made): black sources,
  // 0.05 s later: half of each.
  Paint(0, 0);
  Passes(1, 0.5f, 0.05f);
  EXPECT_NEAR(At(Read(GlareSmoothedTarget(1)), 10, 10), 100, 2);
  // No time passed: the previous image stays.
  Paint(0, 0);
  Passes(0, 0.5f, 0.0f);
  EXPECT_NEAR(At(Read(GlareSmoothedTarget(0)), 10, 10), 100, 2);
}

TEST_F(GlareDeviceTest, OverlayAddsTheGlareOverTheBoundTarget) {
  Paint(0, 0, 32, 32);
  Paint(2, 0);
  Passes(0, 5.0f, 1.0f);
  // Draw over a dark-grey screen: the glare is added.
  d_->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(20, 20, 20), 1.0f, 0);
  ASSERT_EQ(d_->BeginScene(), 0);
  DrawGlareOverlay(c_, targets_, 0);
  d_->EndScene();
  std::vector<uint32_t> screen = dev_.ReadBackBuffer();
  std::vector<uint32_t> glare = Read(GlareOutputTarget(0));
  const int w = dev_.Width();
  EXPECT_EQ(Red(screen[10 * w + 10]), 20);
  // Target texel (32, 32) covers screen pixels (64..65, 64..65).
  EXPECT_NEAR(Red(screen[64 * w + 64]), 20 + At(glare, 32, 32), 3);
}

}  // namespace
