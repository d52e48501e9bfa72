// The world on a real device: draw passes, a reset, the screenshot file.
#include <gtest/gtest.h>

#include <string>

#include "D3DTestDevice.h"
#include "SceneTestSupport.h"
#include "TestSupport.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "world/C3Camera.h"
#include "world/C3Move.h"
#include "world/C3World.h"

namespace {

constexpr int kWidth = 322;  // 3 x 322 is not a multiple of 4
constexpr int kHeight = 240;

class DeviceHost : public qvtest::BlueSeaHost {
 public:
  using BlueSeaHost::BlueSeaHost;
  const char* GetDebugDisableRender() override { return disable.c_str(); }
  std::string disable;
};

using qvtest::LookAlongZ;

// A flat square of one colour facing the camera, drawn with the fixed pipeline.
class Square : public C3Move {
 public:
  Square(const char* name, D3DCOLOR c, float x, float z) : colour(c) {
    SetClassName(name);
    position = D3DXVECTOR3(x, 0, z);
    boxMin = D3DXVECTOR3(-1, -1, 0);
    boxMax = D3DXVECTOR3(1, 1, 0);
    UpdateRadiusFromBox();
  }
  HRESULT Move(float current, float previous) override {
    C3Move::Move(current, previous);
    flags &= ~kObjCulled;
    if (!HasFlag(kObjAlwaysVisible) && !GetMainCamera()->IsSphereVisible(*this)) flags |= kObjCulled;
    return 0;
  }
  void SetViewProjection(const D3DXMATRIX* v, const D3DXMATRIX* p) override {
    view = *v;
    projection = *p;
  }
  HRESULT Render() override {
    IDirect3DDevice9* d = GetSceneHost()->GetDevice();
    struct V {
      float x, y, z;
      D3DCOLOR c;
    } quad[4] = {{-1, -1, 0, colour}, {-1, 1, 0, colour}, {1, -1, 0, colour}, {1, 1, 0, colour}};
    d->SetTransform(D3DTS_WORLD, &world);
    d->SetTransform(D3DTS_VIEW, &view);
    d->SetTransform(D3DTS_PROJECTION, &projection);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(V));
    ++renders;
    return 0;
  }
  D3DCOLOR colour;
  D3DXMATRIX view, projection;
  int renders = 0;
};

class WorldRender : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dev.Create(kWidth, kHeight)) << dev.Error();
    SetSceneHost(&host);
    camera = new LookAlongZ;
    SetMainCamera(camera);
    world.AddChild(camera);
    red = new Square("RedSquare", 0xFFFF0000, -2.0f, 8.0f);
    green = new Square("GreenSquare", 0xFF00FF00, 2.0f, 8.0f);
    green->flags |= kObjSorted;
    behind = new Square("BehindSquare", 0xFFFFFFFF, 0.0f, -8.0f);
    world.AddChild(red);
    world.AddChild(green);
    world.AddChild(behind);
    world.InitDeviceObjects();
    ASSERT_EQ(0, world.RestoreDeviceObjects());
  }
  void TearDown() override {
    world.InvalidateDeviceObjects();
    world.DeleteDeviceObjects();
    world.FinalCleanUp();
    SetMainCamera(nullptr);
    SetSceneHost(nullptr);
  }
  void Frame() {
    world.Move(0.02f);
    camera->C3Camera::Move(0, 0);
    world.Render();
  }
  uint32_t At(const std::vector<uint32_t>& px, float fx, float fy) {
    return px[static_cast<int>(fy * kHeight) * kWidth + static_cast<int>(fx * kWidth)] & 0xFFFFFF;
  }

  qvtest::D3DTestDevice dev;
  DeviceHost host{dev};
  C3World world;
  LookAlongZ* camera = nullptr;
  Square* red = nullptr;
  Square* green = nullptr;
  Square* behind = nullptr;
};

TEST_F(WorldRender, ObjectsAppearAndCulledOnesAreNotDrawn) {
  Frame();
  std::vector<uint32_t> px = dev.ReadBackBuffer();
  ASSERT_EQ(static_cast<size_t>(kWidth * kHeight), px.size());
  EXPECT_EQ(0xFF0000u, At(px, 0.34f, 0.5f));  // red on the left (+x is right)
  EXPECT_EQ(0x00FF00u, At(px, 0.66f, 0.5f));  // sorted pass
  EXPECT_EQ(0x0000FFu, At(px, 0.5f, 0.1f));   // fog-coloured clear
  EXPECT_EQ(0, behind->renders);
  EXPECT_EQ(1, red->renders);
  EXPECT_EQ(1, green->renders);

  host.disable = "BehindSquare,GreenSquare";
  Frame();
  px = dev.ReadBackBuffer();
  EXPECT_EQ(0x0000FFu, At(px, 0.66f, 0.5f));
  EXPECT_EQ(0xFF0000u, At(px, 0.34f, 0.5f));
}

TEST_F(WorldRender, ResetKeepsTheSceneDrawing) {
  Frame();
  world.InvalidateDeviceObjects();
  ASSERT_EQ(D3D_OK, dev.Reset());
  ASSERT_EQ(0, world.RestoreDeviceObjects());
  Frame();
  std::vector<uint32_t> px = dev.ReadBackBuffer();
  EXPECT_EQ(0xFF0000u, At(px, 0.34f, 0.5f));
  EXPECT_EQ(0x00FF00u, At(px, 0.66f, 0.5f));
}

TEST_F(WorldRender, CaptureWritesTheBackBufferAsBmp) {
  std::string folder = qvtest::MakeTempDir("capture");
  CreateDirectoryA((folder + "\\capture").c_str(), nullptr);
  qvtest::WriteFileText(folder + "\\capture\\L0000.bmp", "taken");
  SetProgramFolder(folder.c_str());
  world.RequestCapture();
  Frame();
  EXPECT_EQ(0, world.captureRequested);
  std::vector<uint8_t> bmp = qvtest::ReadFileBytes(folder + "\\capture\\L0001.bmp");
  const int row = (kWidth * 3 + 3) & ~3;
  ASSERT_EQ(static_cast<size_t>(54 + row * kHeight), bmp.size());
  EXPECT_EQ(kWidth, bmp[18] | (bmp[19] << 8));
  EXPECT_EQ(kHeight, bmp[22] | (bmp[23] << 8));
  auto pixel = [&](float fx, float fy) {
    int x = static_cast<int>(fx * kWidth);
    int y = kHeight - 1 - static_cast<int>(fy * kHeight);  // bottom-up
    const uint8_t* p = &bmp[54 + y * row + x * 3];
    return (p[2] << 16) | (p[1] << 8) | p[0];
  };
  EXPECT_EQ(0xFF0000, pixel(0.34f, 0.5f));
  EXPECT_EQ(0x00FF00, pixel(0.66f, 0.5f));
  EXPECT_EQ(0x0000FF, pixel(0.5f, 0.1f));
  EXPECT_EQ(0, bmp[54 + row - 1]);  // row padding
  qvtest::RemoveTree(folder);
}

}  // namespace
