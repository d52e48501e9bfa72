// The sea surface on a real device: both surfaces drawn from below in a
// world (pixel shaders on and off) and moving; the water simulation's normal
// map read back and compared with the CPU reference of the same passes,
// frame by frame, and its restart after a device reset and at the end of
// its cycle.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "D3DTestDevice.h"
#include "SceneTestSupport.h"
#include "TestSupport.h"
#include "seaface/C6Seaface.h"
#include "seaface/C6unionSeaface.h"
#include "seaface/C9WaterPhysics.h"
#include "seaface/WaterSimulation.h"
#include "servers/SBServer.h"
#include "servers/TextureTable.h"
#include "servers/VSServer.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const D3DXVECTOR4 kSea(0.02f, 0.22f, 0.38f, 1.0f);

class LookAt : public C3Camera {
 public:
  D3DXVECTOR3* GetTarget(D3DXVECTOR3* out) override {
    *out = target;
    return out;
  }
  D3DXVECTOR3 target{0.0f, 0.0f, 1.0f};
};

bool NoPixelShaders() { return false; }

int Difference(uint32_t a, uint32_t b) {
  return std::abs(qvtest::Red(a) - qvtest::Red(b)) + std::abs(qvtest::Green(a) - qvtest::Green(b)) +
         std::abs(qvtest::Blue(a) - qvtest::Blue(b));
}

// Pixels of the rows [top, bottom) that differ by more than threshold.
int CountChanged(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int top, int bottom,
                 int threshold) {
  int n = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const size_t i = static_cast<size_t>(y) * kWidth + x;
      if (i < a.size() && i < b.size()) n += Difference(a[i], b[i]) > threshold ? 1 : 0;
    }
  return n;
}

class SeafaceScene : public ::testing::TestWithParam<bool> {
 public:
  void SetUp() override {
    ASSERT_TRUE(dev.Create(kWidth, kHeight)) << dev.Error();
    deviceReferences = qvtest::DeviceReferences(dev.Device());
    camera = new LookAt;
    world = qvtest::OpenWorld(&host, camera);
    if (!GetParam()) {
      world->vsServer->SetPixelShaderQuery(NoPixelShaders);
      world->sbServer->SetPixelShaderQuery(NoPixelShaders);
    }
  }
  void TearDown() override {
    qvtest::CloseWorld(world);
    EXPECT_EQ(0, TextureTable::Instance().LiveCount());
    if (dev.Device()) {
      EXPECT_EQ(deviceReferences, qvtest::DeviceReferences(dev.Device()));
    }
  }
  void Start() {
    ASSERT_EQ(0, world->InitDeviceObjects());
    ASSERT_EQ(0, world->RestoreDeviceObjects());
    for (DWORD s = 0; s < 4; ++s) {
      dev.Device()->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
      dev.Device()->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    }
  }
  void Frame(float elapsed = 0.05f) {
    world->Move(elapsed);
    world->Render();
  }
  std::vector<uint32_t> BareFrame() {
    dev.Device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER,
                        D3DCOLOR_COLORVALUE(kSea.x, kSea.y, kSea.z, 1.0f), 1.0f, 0);
    return dev.ReadBackBuffer();
  }
  // The pattern the simulation seeds from, as loaded.
  WaterReference::Image Disturbance(C9WaterPhysics* physics) {
    WaterReference::Image out;
    IDirect3DTexture9* t = physics->textures.empty() ? nullptr : physics->textures[0];
    D3DLOCKED_RECT lock;
    if (!t || FAILED(t->LockRect(0, &lock, nullptr, D3DLOCK_READONLY))) return out;
    for (int y = 0; y < C9WaterPhysics::kSize; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(lock.pBits) + y * lock.Pitch);
      out.insert(out.end(), row, row + C9WaterPhysics::kSize);
    }
    t->UnlockRect(0);
    return out;
  }
  std::vector<uint32_t> ReadTarget(IDirect3DTexture9* texture) {
    IDirect3DSurface9* surface = nullptr;
    if (!texture || FAILED(texture->GetSurfaceLevel(0, &surface))) return {};
    std::vector<uint32_t> got = dev.ReadSurface(surface);
    surface->Release();
    return got;
  }
  // Channels (of the colour and alpha) further than `tolerance` levels
  // apart; -1 when the sizes differ.
  static int Mismatches(const std::vector<uint32_t>& got, const std::vector<uint32_t>& want, int tolerance,
                        bool alpha = true) {
    if (got.size() != want.size()) return -1;
    int n = 0;
    for (size_t i = 0; i < got.size(); ++i)
      for (int k = 0; k < (alpha ? 32 : 24); k += 8)
        n += std::abs(static_cast<int>((got[i] >> k) & 0xFF) - static_cast<int>((want[i] >> k) & 0xFF)) > tolerance;
    return n;
  }
  int NormalMismatches(C9WaterPhysics* physics, const WaterReference& reference) {
    return Mismatches(ReadTarget(physics->GetResultTexture()), reference.normal, 2);
  }

  qvtest::D3DTestDevice dev;
  qvtest::FishSceneHost host{dev, kSea};
  ULONG deviceReferences = 0;
  C3World* world = nullptr;
  LookAt* camera = nullptr;
};

// From below the surface fills the top of the view, and the waves move it.
TEST_P(SeafaceScene, SurfaceShowsFromBelowAndMoves) {
  auto* surface = new C6unionSeaface;
  world->AddChild(surface);
  camera->position = D3DXVECTOR3(0.0f, -6.0f, 0.0f);
  camera->target = D3DXVECTOR3(0.0f, 1.0f, 20.0f);
  Start();
  ASSERT_NE(surface->inner, nullptr);
  EXPECT_STREQ(surface->inner->className, GetParam() ? "C6Seaface" : "C6LegacySeaface");
  if (GetParam()) {
    EXPECT_NE(static_cast<C6Seaface*>(surface->inner)->physics, nullptr);
  }
  EXPECT_EQ(surface->inner->position.y, 1.0f);
  for (int i = 0; i < 3; ++i) Frame();
  const std::vector<uint32_t> first = dev.ReadBackBuffer();
  qvtest::SaveBackBufferArtefact(dev.Device(), GetParam() ? "seaface_below" : "seaface_below_fixed");
  const std::vector<uint32_t> bare = BareFrame();
  const int topRows = kHeight / 3;
  EXPECT_GT(CountChanged(first, bare, 0, topRows, 24), kWidth * topRows * 3 / 4);
  // Under the horizon of the surface, open water.
  EXPECT_LT(CountChanged(first, bare, kHeight - 20, kHeight, 24), kWidth * 2);
  for (int i = 0; i < 10; ++i) Frame(0.2f);
  EXPECT_GT(CountChanged(dev.ReadBackBuffer(), first, 0, topRows, 12), 2000);
  // Recentred over another point, the surface moves along (its height stays).
  surface->Recentre(30.0f, -20.0f);
  EXPECT_EQ(surface->inner->position, D3DXVECTOR3(30.0f, 1.0f, -20.0f));
}

// The simulation on the device computes what its CPU reference computes:
// the heights within a level each frame (rounding differences of 8-bit
// targets feed back, so the reference restarts from the device's heights),
// and the normal map from the device's smoothed heights. The normal pass
// multiplies slopes by 8, so the whole chain is compared only on the first
// frames.
TEST_P(SeafaceScene, SimulationMatchesTheCpuReference) {
  if (!GetParam()) GTEST_SKIP() << "the simulation runs on pixel shaders";
  auto* physics = new C9WaterPhysics;
  world->AddChild(physics);
  Start();
  const WaterReference::Image disturbance = Disturbance(physics);
  ASSERT_EQ(disturbance.size(), 64u * 64u);
  constexpr int kChannels = 64 * 64 * 4;
  WaterReference whole(C9WaterPhysics::kSize);
  WaterReference step(C9WaterPhysics::kSize);
  int moving = 0;
  for (int frame = 0; frame < 8; ++frame) {
    SCOPED_TRACE(frame);
    world->Move(0.05f);
    EXPECT_EQ(physics->frameCounter, frame + 1);
    whole.Step(disturbance);
    step.Step(disturbance);
    if (frame < 2) {
      EXPECT_LE(NormalMismatches(physics, whole), kChannels / 200);
    }
    EXPECT_LE(Mismatches(ReadTarget(physics->targets[0]), step.height, 1, false), kChannels / 200);
    EXPECT_LE(Mismatches(ReadTarget(physics->targets[5]), step.velocity, 1, false), kChannels / 200);
    const std::vector<uint32_t> normals = ReadTarget(physics->GetResultTexture());
    EXPECT_LE(Mismatches(normals, step.Normals(ReadTarget(physics->targets[2])), 2), kChannels / 400);
    for (uint32_t p : normals) moving += (p & 0xFFFFFF) != 0x8080FFu;
    step.height = ReadTarget(physics->targets[0]);
    step.velocity = ReadTarget(physics->targets[5]);
  }
  EXPECT_GT(moving, 8 * 500) << "the normal maps are flat: the comparison shows nothing";
}

// After a device reset the new targets hold garbage: the simulation seeds
// again. So it does after the last frame of its cycle.
TEST_P(SeafaceScene, SimulationSeedsAgainAfterResetAndCycle) {
  if (!GetParam()) GTEST_SKIP() << "the simulation runs on pixel shaders";
  auto* physics = new C9WaterPhysics;
  world->AddChild(physics);
  Start();
  const WaterReference::Image disturbance = Disturbance(physics);
  for (int i = 0; i < 5; ++i) world->Move(0.05f);
  ASSERT_EQ(physics->frameCounter, 5);

  world->InvalidateDeviceObjects();
  ASSERT_EQ(D3D_OK, dev.Reset());
  ASSERT_EQ(0, world->RestoreDeviceObjects());
  EXPECT_EQ(physics->frameCounter, 0);
  world->Move(0.05f);
  WaterReference fresh(C9WaterPhysics::kSize);
  fresh.Step(disturbance);
  EXPECT_LE(NormalMismatches(physics, fresh), 64 * 64 * 4 / 200);

  physics->frameCounter = kWaterCycleLast;
  world->Move(0.05f);
  EXPECT_EQ(physics->frameCounter, 0);
  world->Move(0.05f);
  EXPECT_EQ(physics->frameCounter, 1);
  EXPECT_LE(NormalMismatches(physics, fresh), 64 * 64 * 4 / 200);
}

INSTANTIATE_TEST_SUITE_P(PixelShaders, SeafaceScene, ::testing::Bool());

}  // namespace
