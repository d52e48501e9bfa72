// The glare buffer, the frame trail and the text panels inside the world's
// frame on a real device: the glare added over the view, the trail's
// composite of the frame before, panel glyphs drawn by the late pass (over
// the composite when a trail exists), all across a device reset with the
// device's references back where they started.
#include <gtest/gtest.h>

#include <vector>

#include "D3DTestDevice.h"
#include "SceneTestSupport.h"
#include "buffers/X1GlareBuffer.h"
#include "buffers/X5RenderingScene.h"
#include "frame/C3SceneHost.h"
#include "panels/C7TexturePanel.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

using qvtest::Blue;
using qvtest::Green;
using qvtest::Red;

constexpr int kW = 512, kH = 384;

using qvtest::DeviceReferences;

class BufferHost : public qvtest::DeviceSceneHost {
 public:
  using DeviceSceneHost::DeviceSceneHost;
  int GetMultiSurfaceCount() override { return kept; }
  bool IsMultiSurface() override { return glare; }
  int kept = 0;
  bool glare = false;
};

using qvtest::LookAlongZ;

// A screen rectangle of one colour in pixels. A glare source draws only
// while the glare buffer draws it (flag 0x80).
class ScreenRect : public C3Object {
 public:
  ScreenRect(const char* name, int x0, int y0, int x1, int y1, D3DCOLOR c, bool glareOnly)
      : colour(c), glareOnly_(glareOnly), x0_(x0), y0_(y0), x1_(x1), y1_(y1) {
    SetClassName(name);
    flags |= kObjAlwaysVisible;
  }
  HRESULT Render() override {
    if (glareOnly_ != HasFlag(kObjGlarePass)) return 0;
    IDirect3DDevice9* d = GetSceneHost()->GetDevice();
    // Placed in screen pixels, scaled to the bound target (the glare's is
    // half the screen).
    D3DVIEWPORT9 vp;
    d->GetViewport(&vp);
    const float sx = float(vp.Width) / kW, sy = float(vp.Height) / kH;
    const float x0 = x0_ * sx, x1 = x1_ * sx, y0 = y0_ * sy, y1 = y1_ * sy;
    struct V {
      float x, y, z, w;
      D3DCOLOR c;
    } quad[4] = {{x0, y0, 0.5f, 1, colour}, {x1, y0, 0.5f, 1, colour}, {x0, y1, 0.5f, 1, colour},
                 {x1, y1, 0.5f, 1, colour}};
    d->SetVertexShader(nullptr);
    d->SetPixelShader(nullptr);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_FOGENABLE, FALSE);
    d->SetRenderState(D3DRS_ZENABLE, FALSE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    d->SetTexture(0, nullptr);
    d->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(V));
    d->SetRenderState(D3DRS_ZENABLE, TRUE);
    ++renders;
    return 0;
  }
  D3DCOLOR colour;
  int renders = 0;

 private:
  bool glareOnly_;
  int x0_, y0_, x1_, y1_;
};

class WorldBuffers : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dev.Create(kW, kH)) << dev.Error();
    baseRefs = DeviceReferences(dev.Device());
    camera = new LookAlongZ;
    world = qvtest::OpenWorld(&host, camera);
  }
  void TearDown() override {
    qvtest::CloseWorld(world);
    if (dev.Device()) {
      EXPECT_EQ(baseRefs, DeviceReferences(dev.Device())) << "a device object outlived the world";
    }
  }
  void Start() {
    world->InitDeviceObjects();
    ASSERT_EQ(0, world->RestoreDeviceObjects());
  }
  void ResetDevice() {
    world->InvalidateDeviceObjects();
    ASSERT_EQ(dev.Reset(), 0) << "a resource made at restore outlived the invalidation";
    ASSERT_EQ(0, world->RestoreDeviceObjects());
  }
  std::vector<uint32_t> Frame(float elapsed = 0.1f) {
    world->Move(elapsed);
    camera->C3Camera::Move(0, 0);
    world->PreRender();
    world->Render();
    return dev.ReadBackBuffer();
  }
  static uint32_t At(const std::vector<uint32_t>& px, int x, int y) { return px[y * kW + x] & 0xFFFFFF; }
  // Bright pixels in a rectangle.
  static int Lit(const std::vector<uint32_t>& px, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += Red(px[y * kW + x]) > 128 && Green(px[y * kW + x]) > 128;
    return n;
  }

  qvtest::D3DTestDevice dev;
  ULONG baseRefs = 0;
  BufferHost host{dev};
  C3World* world = nullptr;
  LookAlongZ* camera = nullptr;
};

TEST_F(WorldBuffers, GlareOfABrightSourceIsAddedOverTheView) {
  host.glare = true;
  auto* source = new ScreenRect("BrightSource", 236, 172, 276, 212, 0xFFFFFFFF, true);
  world->AddChild(source);
  world->glareSources.Add(source);
  Start();
  ASSERT_NE(world->glareBuffers[0], nullptr);
  EXPECT_EQ(world->renderingScenes[0], nullptr);
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(world->glareBuffers[0]->Targets().Width(), unsigned(kW / 2));
    EXPECT_EQ(world->glareBuffers[0]->Targets().Height(), unsigned(kH / 2));
    std::vector<uint32_t> px;
    for (int i = 0; i < 3; ++i) px = Frame(1.0f);
    ASSERT_EQ(px.size(), size_t(kW * kH));
    const int centre = Red(At(px, 256, 192));
    EXPECT_GT(centre, 60) << "round " << round;
    // The glow reaches past the source, symmetric about it, and fades out.
    // (Pixel centres 295.5 and 216.5 lie 39.5 either side of the source's
    // centre line at 256.)
    const int beside = Red(At(px, 295, 192));
    EXPECT_GT(beside, 0);
    EXPECT_LT(beside, centre);
    EXPECT_NEAR(beside, Red(At(px, 216, 192)), 4);
    EXPECT_NEAR(Red(At(px, 256, 231)), Red(At(px, 256, 152)), 4);
    EXPECT_EQ(At(px, 10, 10), 0u);
    EXPECT_EQ(source->HasFlag(kObjGlarePass), false);
    ResetDevice();
  }
}

TEST_F(WorldBuffers, WithoutPixelShadersTheGlareMakesAndDrawsNothing) {
  host.glare = true;
  auto* source = new ScreenRect("BrightSource", 236, 172, 276, 212, 0xFFFFFFFF, true);
  world->AddChild(source);
  world->glareSources.Add(source);
  world->vsServer->SetPixelShaderQuery([] { return false; });
  Start();
  ASSERT_NE(world->glareBuffers[0], nullptr);
  EXPECT_EQ(world->glareBuffers[0]->Targets().Count(), 0u);
  std::vector<uint32_t> px = Frame(1.0f);
  ASSERT_EQ(px.size(), size_t(kW * kH));
  EXPECT_EQ(At(px, 256, 192), 0u);
  EXPECT_EQ(source->renders, 0);
  ResetDevice();
}

TEST_F(WorldBuffers, FrameTrailShowsTheFrameBeforeWithPanelsOverIt) {
  host.kept = 3;
  auto* scene = new ScreenRect("SceneColour", 0, 0, kW, kH, 0xFF000000, false);
  world->AddChild(scene);
  auto* panel = new C7TexturePanel(-1.0f, 1.0f, 0.125f, 0.0f);
  world->AddChild(panel);
  C7TexturePanel::Printf(panel, "%s", "AB");
  Start();
  ASSERT_NE(world->renderingScenes[0], nullptr);
  EXPECT_EQ(world->glareBuffers[0], nullptr);
  const D3DCOLOR colours[] = {D3DCOLOR_XRGB(200, 0, 0), D3DCOLOR_XRGB(0, 200, 0), D3DCOLOR_XRGB(0, 0, 200),
                              D3DCOLOR_XRGB(0, 90, 180)};
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(world->renderingScenes[0]->Frames().KeptCount(), 3u);
    scene->colour = colours[0];
    Frame();
    for (int i = 1; i < 4; ++i) {
      scene->colour = colours[i];
      std::vector<uint32_t> px = Frame();
      ASSERT_EQ(px.size(), size_t(kW * kH));
      EXPECT_EQ(At(px, 256, 250), colours[i - 1] & 0xFFFFFF) << "round " << round << " frame " << i;
      // The panel's glyphs, drawn after the composite: 32 x 32 pixel cells.
      EXPECT_GT(Lit(px, 0, 0, 32, 32), 20);
      EXPECT_GT(Lit(px, 32, 0, 64, 32), 20);
      EXPECT_EQ(Lit(px, 64, 0, 128, 32), 0);
    }
    ResetDevice();
  }
}

TEST_F(WorldBuffers, PanelsDrawInTheLatePassWithoutATrail) {
  auto* panel = new C7TexturePanel(-1.0f, 1.0f, 0.125f, 0.0f);
  auto* cover = new ScreenRect("Cover", 0, 0, kW, kH, D3DCOLOR_XRGB(0, 0, 120), false);
  world->AddChild(panel);  // registered first, drawn last
  world->AddChild(cover);
  Start();
  for (int round = 0; round < 2; ++round) {
    C7TexturePanel::Printf(panel, "x=%d", 7);
    std::vector<uint32_t> px = Frame();
    ASSERT_EQ(px.size(), size_t(kW * kH));
    EXPECT_EQ(std::string(panel->Text()), "x=7");
    for (int cell = 0; cell < 3; ++cell) EXPECT_GT(Lit(px, cell * 32, 0, cell * 32 + 32, 32), 10) << cell;
    EXPECT_EQ(Lit(px, 96, 0, 256, 32), 0);
    EXPECT_EQ(At(px, 300, 300), 120u);
    ResetDevice();
  }
}

}  // namespace
