// A render texture on a real device: the source fish drawn into the texture,
// its clones drawn as camera-facing billboards of that image, a near clone
// drawn as itself, and a device reset that keeps the clones.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "D3DTestDevice.h"
#include "LogTestSupport.h"
#include "SceneTestSupport.h"
#include "TestSupport.h"
#include "clones/C4RenderTexture.h"
#include "diagnostics/CaptureBmp.h"
#include "fish/C6Fish.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr D3DCOLOR kTop = 0xFFFF0000;     // upper half of the picture: red
constexpr D3DCOLOR kBottom = 0xFFFFFF00;  // lower half: yellow
constexpr D3DCOLOR kItself = 0xFFFF00FF;  // drawn as itself: magenta

// A fish drawn as a 1 x 1 square: red over yellow into the texture, plain
// magenta when drawn as itself. It keeps the texture's surface it drew into.
class PaintFish : public C6Fish {
 public:
  ~PaintFish() override {
    if (captured) captured->Release();
  }
  HRESULT Render() override {
    if (!drawingIntoTexture && (cloneMode == kCloneSource || cloneMode == kCloneCopy) && !drawAsMesh) return 0;
    IDirect3DDevice9* d = GetSceneHost()->GetDevice();
    if (drawingIntoTexture) {
      ++captures;
      if (captured) captured->Release();
      captured = nullptr;
      d->GetRenderTarget(0, &captured);
      d->GetViewport(&tile);
    } else {
      ++ownDraws;
    }
    struct V {
      float x, y, z;
      D3DCOLOR c;
    };
    D3DCOLOR top = drawingIntoTexture ? pictureTop : kItself;
    D3DCOLOR bottom = drawingIntoTexture ? pictureBottom : kItself;
    const V v[12] = {{-0.5f, 0.0f, 0, top},    {-0.5f, 0.5f, 0, top},    {0.5f, 0.0f, 0, top},
                     {0.5f, 0.0f, 0, top},     {-0.5f, 0.5f, 0, top},    {0.5f, 0.5f, 0, top},
                     {-0.5f, -0.5f, 0, bottom}, {-0.5f, 0.0f, 0, bottom}, {0.5f, -0.5f, 0, bottom},
                     {0.5f, -0.5f, 0, bottom},  {-0.5f, 0.0f, 0, bottom}, {0.5f, 0.0f, 0, bottom}};
    d->SetVertexShader(nullptr);
    d->SetPixelShader(nullptr);
    d->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    d->SetTransform(D3DTS_WORLD, &world);
    d->SetTransform(D3DTS_VIEW, &view);
    d->SetTransform(D3DTS_PROJECTION, &projection);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    d->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetTexture(0, nullptr);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 4, v, sizeof(V));
    // Drawn past the servers: they must bind again.
    C3World* w = C3World::Current();
    w->vsServer->ResetCurrent();
    w->sbServer->ResetCurrent();
    w->vbServer->ResetStreams();
    return 0;
  }
  D3DCOLOR pictureTop = kTop;
  D3DCOLOR pictureBottom = kBottom;
  int captures = 0;
  int ownDraws = 0;
  IDirect3DSurface9* captured = nullptr;
  D3DVIEWPORT9 tile{};  // where in the captured surface the picture went
};

using DeviceHost = qvtest::BlueSeaHost;

// Looks a little to the right of straight ahead, so that the view plane is
// not the world's xy plane.
class SlantCamera : public C3Camera {
 public:
  D3DXVECTOR3* GetTarget(D3DXVECTOR3* out) override {
    *out = position + D3DXVECTOR3(0.3f, 0.0f, 1.0f);
    return out;
  }
};

using qvtest::DeviceReferences;

class RenderTextureScene : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dev.Create(kWidth, kHeight)) << dev.Error();
    startReferences = DeviceReferences(dev.Device());
    camera = new SlantCamera;
    world = qvtest::OpenWorld(&host, camera);
    texture = new C4RenderTexture;
    source = AddFish(D3DXVECTOR3(3.0f, 0.0f, 10.0f));
    // As the host table binds them: the source is its own first clone.
    source->cloneMode = kCloneSource;
    source->cloneSource = source;
    source->renderTexture = texture;
    texture->SetSource(source);
    texture->AddObject(source);
    left = AddClone(D3DXVECTOR3(-1.0f, 0.5f, 12.0f));
    right = AddClone(D3DXVECTOR3(5.5f, -1.0f, 14.0f));
    closeBy = AddClone(D3DXVECTOR3(0.6f, -1.6f, 4.2f));
    world->AddChild(texture);
    world->InitDeviceObjects();
    ASSERT_EQ(0, world->RestoreDeviceObjects());
  }
  void TearDown() override {
    qvtest::CloseWorld(world);
    EXPECT_EQ(startReferences, DeviceReferences(dev.Device()));
  }
  PaintFish* AddFish(const D3DXVECTOR3& at) {
    PaintFish* f = new PaintFish;
    f->position = at;
    f->renderTextureSize = 256;
    f->renderTextureScale = 1.4f;
    world->AddChild(f);
    return f;
  }
  PaintFish* AddClone(const D3DXVECTOR3& at) { return AddClone(at, texture, source); }
  PaintFish* AddClone(const D3DXVECTOR3& at, C4RenderTexture* of, PaintFish* from) {
    PaintFish* f = AddFish(at);
    f->cloneMode = kCloneCopy;
    f->cloneSource = from;
    f->renderTexture = of;
    of->AddObject(f);
    return f;
  }
  // As the program draws a frame: the sources go into the atlas before the
  // world is drawn.
  void Frame() {
    camera->C3Camera::Move(0, 0);
    world->Move(0.02f);
    world->PreRender();
    world->Render();
  }
  // The back-buffer pixel where a world point is seen (0xRRGGBB).
  uint32_t Seen(const std::vector<uint32_t>& px, const D3DXVECTOR3& p) {
    D3DXMATRIX vp = camera->view * camera->projection;
    D3DXVECTOR3 s;
    D3DXVec3TransformCoord(&s, &p, &vp);
    int x = static_cast<int>((s.x + 1.0f) * 0.5f * kWidth);
    int y = static_cast<int>((1.0f - s.y) * 0.5f * kHeight);
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return 0xDEAD;
    return px[static_cast<size_t>(y) * kWidth + x] & 0xFFFFFF;
  }
  // A billboard at a clone: red above, yellow below, background beside the
  // picture, all along the camera's own right and up axes.
  void ExpectBillboard(const std::vector<uint32_t>& px, const C6Fish* clone, D3DCOLOR kTop = ::kTop,
                       D3DCOLOR kBottom = ::kBottom) {
    SCOPED_TRACE(::testing::Message() << "clone at " << clone->position.x << "," << clone->position.z);
    D3DXVECTOR3 dir, right, up, y(0.0f, 1.0f, 0.0f);
    camera->GetDirection(&dir);
    D3DXVec3Cross(&right, &y, &dir);
    D3DXVec3Normalize(&right, &right);
    D3DXVec3Cross(&up, &dir, &right);
    const D3DXVECTOR3 c = clone->position;
    EXPECT_EQ(kTop & 0xFFFFFF, Seen(px, c + up * 0.25f + right * 0.3f));
    EXPECT_EQ(kTop & 0xFFFFFF, Seen(px, c + up * 0.25f - right * 0.3f));
    EXPECT_EQ(kBottom & 0xFFFFFF, Seen(px, c - up * 0.25f + right * 0.3f));
    EXPECT_EQ(kBottom & 0xFFFFFF, Seen(px, c - up * 0.25f - right * 0.3f));
    for (const D3DXVECTOR3& off : {right * 0.62f, -right * 0.62f, up * 0.62f, -up * 0.62f})
      EXPECT_EQ(0x0000FFu, Seen(px, c + off));
  }
  void ExpectScene() {
    std::vector<uint32_t> px = dev.ReadBackBuffer();
    ASSERT_EQ(static_cast<size_t>(kWidth * kHeight), px.size());
    for (const C6Fish* f : {static_cast<C6Fish*>(source), static_cast<C6Fish*>(left), static_cast<C6Fish*>(right)})
      ExpectBillboard(px, f);
    EXPECT_EQ(kItself & 0xFFFFFF, Seen(px, closeBy->position));
    EXPECT_EQ(1, closeBy->drawAsMesh);
    EXPECT_EQ(0, left->drawAsMesh);
  }

  qvtest::D3DTestDevice dev;
  DeviceHost host{dev};
  ULONG startReferences = 0;
  C3World* world = nullptr;
  SlantCamera* camera = nullptr;
  C4RenderTexture* texture = nullptr;
  PaintFish* source = nullptr;
  PaintFish* left = nullptr;
  PaintFish* right = nullptr;
  PaintFish* closeBy = nullptr;
};

TEST_F(RenderTextureScene, SourceIntoTextureClonesAsBillboards) {
  Frame();
  EXPECT_EQ(1, source->captures);
  EXPECT_EQ(1, source->sourceCaptured);
  EXPECT_EQ(3, texture->QuadCount());
  EXPECT_EQ(1, closeBy->ownDraws);
  EXPECT_EQ(0, left->ownDraws + right->ownDraws + source->ownDraws);

  // The picture: the square in the middle, the cleared rest transparent.
  ASSERT_NE(nullptr, source->captured);
  int w = 0, h = 0;
  std::vector<uint32_t> image = dev.ReadSurface(source->captured, &w, &h);
  ASSERT_EQ(128u, source->tile.Width);
  ASSERT_EQ(128u, source->tile.Height);
  ASSERT_LE(static_cast<int>(source->tile.X + 128), w);
  ASSERT_LE(static_cast<int>(source->tile.Y + 128), h);
  auto at = [&](int x, int y) { return image[static_cast<size_t>(source->tile.Y + y) * w + source->tile.X + x]; };
  EXPECT_EQ(kTop, at(64, 40));
  EXPECT_EQ(kBottom, at(64, 88));
  EXPECT_EQ(0u, at(2, 2) >> 24);
  EXPECT_EQ(0u, at(4, 64) >> 24);

  ExpectScene();
  // The billboard constants are in the program's copy as well.
  const float* extent = VertexConstantCopy(39);
  EXPECT_FLOAT_EQ(1.4f, extent[0]);
  EXPECT_FLOAT_EQ(1.0f, extent[3]);
  D3DXMATRIX viewT, projectionT;
  D3DXMatrixTranspose(&viewT, &camera->view);
  D3DXMatrixTranspose(&projectionT, &camera->projection);
  for (int i = 0; i < 16; ++i) {
    EXPECT_FLOAT_EQ(static_cast<const float*>(viewT)[i], VertexConstantCopy(4 + i / 4)[i % 4]) << i;
    EXPECT_FLOAT_EQ(static_cast<const float*>(projectionT)[i], VertexConstantCopy(45 + i / 4)[i % 4]) << i;
  }
  std::vector<uint32_t> px = dev.ReadBackBuffer();
  const std::string folder = qvtest::TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  EXPECT_TRUE(WriteBmp24File((folder + "render_texture.bmp").c_str(), px.data(), kWidth, kHeight, kWidth * 4));
}

TEST_F(RenderTextureScene, ClonesSurviveADeviceReset) {
  Frame();
  ASSERT_EQ(4, texture->Clones().count);
  // Nothing of the default pool may be held across the reset.
  source->captured->Release();
  source->captured = nullptr;
  world->InvalidateDeviceObjects();
  EXPECT_EQ(4, texture->Clones().count);
  ASSERT_EQ(D3D_OK, dev.Reset());
  ASSERT_EQ(0, world->RestoreDeviceObjects());
  // One more clone after the restore: the quads grow with it.
  PaintFish* late = AddClone(D3DXVECTOR3(-3.0f, 1.5f, 16.0f));
  late->InitDeviceObjects();
  late->RestoreDeviceObjects();
  // The late clone moves after the texture: its first frame finds it culled.
  Frame();
  Frame();
  EXPECT_EQ(5, texture->Clones().count);
  EXPECT_EQ(4, texture->QuadCount());
  EXPECT_EQ(3, source->captures);
  ExpectScene();
  ExpectBillboard(dev.ReadBackBuffer(), late);
}

// Rows of a formation each have a render texture: every billboard shows its
// own row's picture, although all pictures share the atlas.
TEST_F(RenderTextureScene, EachTextureShowsItsOwnPicture) {
  constexpr D3DCOLOR kGreen = 0xFF00FF00, kWhite = 0xFFFFFFFF;
  C4RenderTexture* second = new C4RenderTexture;
  PaintFish* otherSource = AddFish(D3DXVECTOR3(-3.0f, -1.5f, 11.0f));
  otherSource->renderTextureSize = 128;  // a smaller picture: a tile of its own size
  otherSource->pictureTop = kGreen;
  otherSource->pictureBottom = kWhite;
  otherSource->cloneMode = kCloneSource;
  otherSource->cloneSource = otherSource;
  otherSource->renderTexture = second;
  second->SetSource(otherSource);
  second->AddObject(otherSource);
  PaintFish* otherClone = AddClone(D3DXVECTOR3(1.5f, 1.8f, 13.0f), second, otherSource);
  world->AddChild(second);
  second->InitDeviceObjects();
  ASSERT_EQ(0, second->RestoreDeviceObjects());
  otherClone->InitDeviceObjects();
  otherClone->RestoreDeviceObjects();
  Frame();
  Frame();
  EXPECT_EQ(2, second->QuadCount());
  EXPECT_EQ(64u, otherSource->tile.Width);
  // Both pictures went to one surface, in tiles apart.
  EXPECT_EQ(source->captured, otherSource->captured);
  const D3DVIEWPORT9& a = source->tile;
  const D3DVIEWPORT9& b = otherSource->tile;
  EXPECT_TRUE(a.X + a.Width <= b.X || b.X + b.Width <= a.X || a.Y + a.Height <= b.Y || b.Y + b.Height <= a.Y);
  ExpectScene();
  const std::vector<uint32_t> px = dev.ReadBackBuffer();
  ExpectBillboard(px, otherSource, kGreen, kWhite);
  ExpectBillboard(px, otherClone, kGreen, kWhite);
}

// Without the pass before the frame (the atlas never drew the pictures) no
// billboard shows a stale or empty picture.
TEST_F(RenderTextureScene, NoPictureNoBillboards) {
  camera->C3Camera::Move(0, 0);
  world->Move(0.02f);
  world->Render();
  for (uint32_t p : dev.ReadBackBuffer()) {
    const uint32_t rgb = p & 0xFFFFFF;
    ASSERT_TRUE(rgb != (kTop & 0xFFFFFF) && rgb != (kBottom & 0xFFFFFF)) << std::hex << rgb;
  }
}

// The atlas's scene cannot begin (one is open already): no picture, and every
// clone, the source too, is drawn as itself in the frame.
TEST_F(RenderTextureScene, FailedAtlasPassLeavesClonesToThemselves) {
  camera->C3Camera::Move(0, 0);
  world->Move(0.02f);
  ASSERT_EQ(3, texture->QuadCount());
  ASSERT_EQ(D3D_OK, dev.Device()->BeginScene());
  world->PreRender();
  dev.Device()->EndScene();
  EXPECT_EQ(0, source->captures);
  EXPECT_EQ(0, source->sourceCaptured);
  EXPECT_EQ(0, texture->QuadCount());
  world->Render();
  for (PaintFish* f : {source, left, right, closeBy}) {
    EXPECT_EQ(1, f->drawAsMesh);
    EXPECT_EQ(1, f->ownDraws);
  }
  EXPECT_EQ(kItself & 0xFFFFFF, Seen(dev.ReadBackBuffer(), left->position));
}

TEST_F(RenderTextureScene, MatrixWithNaNDrawsNothing) {
  Frame();
  ASSERT_EQ(3, texture->QuadCount());
  D3DXMATRIX bad = camera->view;
  bad._21 = std::nanf("");
  texture->SetViewProjection(&bad, &camera->projection);
  IDirect3DDevice9* d = dev.Device();
  d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
  ASSERT_EQ(D3D_OK, d->BeginScene());
  EXPECT_EQ(0, texture->Render());
  d->EndScene();
  // Ended before any constant was set.
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(std::isnan(VertexConstantCopy(4)[i])) << i;
  for (uint32_t p : dev.ReadBackBuffer()) ASSERT_EQ(0x0000FFu, p & 0xFFFFFF);
}

TEST_F(RenderTextureScene, SourceTooNearTheCameraLeavesClonesToThemselves) {
  source->position = D3DXVECTOR3(0.1f, 0.0f, 0.5f);
  Frame();
  EXPECT_EQ(0, source->captures);
  EXPECT_EQ(0, source->sourceCaptured);
  EXPECT_EQ(0, texture->QuadCount());
  EXPECT_EQ(1, left->drawAsMesh);
  EXPECT_EQ(1, left->ownDraws);
  EXPECT_EQ(1, right->ownDraws);
}

// A debug run (log level 1 and up) has the vertex-buffer server report every
// buffer of no mesh it binds, 100 ms each: the billboards' own buffer must
// not be reported, or every render texture costs a tenth of a second a frame.
TEST_F(RenderTextureScene, DebugRunDrawsBillboardsUnreported) {
  const std::string log = qvtest::LoggedAtLevel(1, [&] {
    Frame();
    Frame();
  });
  EXPECT_EQ(3, texture->QuadCount());
  EXPECT_EQ(std::string::npos, log.find("ILLEGAL VB")) << log;
  ExpectScene();
}

}  // namespace
