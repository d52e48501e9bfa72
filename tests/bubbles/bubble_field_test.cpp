// The bubble field without a device: the start window, a layer's start,
// rise and drift (in the field's own coordinates, the current taken at the
// layer's world position) over time, and the field re-seated under the
// camera at every floor build, with or without a buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "common/SceneGlobals.h"
#include "current/X7Bubbles.h"
#include "frame/C3SceneHost.h"
#include "terrain/X1Terrain.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

// A steady current; remembers where it was asked.
class StreamHost : public C3SceneHost {
 public:
  D3DXVECTOR3 GetWaterCurrent(float, const D3DXVECTOR3& at) override {
    asked.push_back(at);
    return D3DXVECTOR3(0.1f, 0.0f, 0.05f);
  }
  std::vector<D3DXVECTOR3> asked;
};

}  // namespace

TEST(BubbleField, StartWindowOpensOnceASecondForTwoStartsASecond) {
  const struct {
    float last, t;
    int allowance;
    float lastAfter;
  } cases[] = {{-1.0f, 0.6f, 3, 0.6f}, {0.0f, 0.6f, 0, 0.0f}, {0.0f, 1.0f, 0, 0.0f},
               {0.0f, 1.05f, 2, 1.05f}, {0.0f, 1.6f, 3, 1.6f}, {10.0f, 14.2f, 8, 14.2f}};
  for (const auto& c : cases) {
    BubbleSpawnWindow w{c.last, 9, 5};
    OpenSpawnWindow(w, c.t);
    EXPECT_EQ(w.allowance, c.allowance) << c.t;
    EXPECT_FLOAT_EQ(w.lastSpawn, c.lastAfter) << c.t;
    EXPECT_EQ(w.spawned, 0);
  }
}

TEST(BubbleField, LayerStartsInTheWindowAndDriftsAwayFromTheFieldCentre) {
  C3Object field;
  field.position = D3DXVECTOR3(100.0f, -28.0f, 100.0f);
  BubbleSpawnWindow window{0.0f, 1, 0};
  std::vector<float> draws;
  const RandomSource random = [&] {
    const float v = draws.empty() ? 0.5f : draws.front();
    if (!draws.empty()) draws.erase(draws.begin());
    return v;
  };
  std::vector<D3DXVECTOR3> asked;
  const CurrentQuery current = [&](const D3DXVECTOR3& at) {
    asked.push_back(at);
    return D3DXVECTOR3(0.1f, 0.02f, 0.0f);
  };
  X7BubbleEmitter a, b;
  a.field = b.field = &field;
  draws = {0.75f, 0.1f, 0.9f};
  a.Update(1.0f, 0.9f, window, current, random);
  b.Update(1.0f, 0.9f, window, current, random);
  EXPECT_EQ(a.alive, 1);
  EXPECT_EQ(b.alive, 0);  // one start allowed
  EXPECT_FLOAT_EQ(a.y, -27.75f);
  EXPECT_EQ(a.x, 0.0f);
  EXPECT_TRUE(asked.empty());

  // Half a second at (3, 4) from the centre: pushed away from the centre
  // (the world's origin lies the other way), the current asked at the
  // world position after that push.
  a.x = 3.0f;
  a.z = 4.0f;
  draws = {0.0f, 1.0f};
  a.Update(1.5f, 1.0f, window, current, random);
  const float pushedX = 3.0f + 0.002f * 0.6f, pushedZ = 4.0f + 2.0f * 0.002f * 0.8f;
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NEAR(asked[0].x, 100.0f + pushedX, 1e-4f);
  EXPECT_NEAR(asked[0].z, 100.0f + pushedZ, 1e-4f);
  EXPECT_NEAR(a.x, pushedX + 0.05f, 1e-5f);
  EXPECT_NEAR(a.z, pushedZ, 1e-5f);
  EXPECT_NEAR(a.y, -27.75f + 0.1f + 0.01f, 1e-5f);
  a.y = -0.05f;
  a.Update(2.0f, 1.5f, window, current, random);
  EXPECT_EQ(a.alive, 0);  // past the top
}

class BubbleSeat : public ::testing::Test {
 protected:
  void SetUp() override {
    srand(7);
    world = new C3World;  // no device
    TheTerrain = terrain = new X1Terrain;
    world->AddChild(terrain);
    bubbles = new X7Bubbles;
    world->AddChild(bubbles);
    terrain->followers.Add(bubbles);
    camera = new C3Camera;
    camera->position = D3DXVECTOR3(7.0f, 5.0f, -12.0f);
    world->AddChild(camera);
    SetMainCamera(camera);
  }
  void TearDown() override {
    SetMainCamera(nullptr);
    SetSceneHost(nullptr);
    TheTerrain = nullptr;
    delete world;
  }
  // Under the camera on the floor, 40 vents scattered on the floor around.
  void ExpectSeatedUnderTheCamera() {
    const D3DXVECTOR3 p = bubbles->position;
    EXPECT_EQ(p.x, camera->position.x);
    EXPECT_EQ(p.z, camera->position.z);
    EXPECT_EQ(p.y, terrain->GetHeight(p.x, p.z, nullptr, false, false));
    ASSERT_EQ(bubbles->VentCount(), kBubbleVents);
    float span = 0.0f;
    for (int i = 0; i < kBubbleVents; ++i) {
      const float* q = &bubbles->Vertices()[i * kBubbleQuadFloats];
      EXPECT_LE(std::max(std::fabs(q[0]), std::fabs(q[2])), 30.0f);
      EXPECT_NEAR(q[1] + p.y, terrain->GetHeight(p.x + q[0], p.z + q[2], nullptr, false, false), 1e-3f);
      EXPECT_EQ(q[3 * kBubbleVertexFloats], q[0]);
      span = std::max(span, std::fabs(q[0]));
    }
    EXPECT_GT(span, 10.0f);
  }

  C3World* world = nullptr;
  X1Terrain* terrain = nullptr;
  X7Bubbles* bubbles = nullptr;
  C3Camera* camera = nullptr;
};

TEST_F(BubbleSeat, EveryFloorBuildReseatsTheFieldBeforeAndAfterItsDeviceObjects) {
  // The first build comes before the bubbles' buffer exists.
  terrain->BuildFloor();
  EXPECT_EQ(bubbles->VertexBuffer(), nullptr);
  ExpectSeatedUnderTheCamera();
  // Restored again and again: one array throughout, vents laid out afresh.
  const float* array = bubbles->Vertices().data();
  for (int i = 0; i < 3; ++i) {
    bubbles->RestoreDeviceObjects();
    bubbles->InvalidateDeviceObjects();
  }
  EXPECT_EQ(bubbles->Vertices().data(), array);
  ExpectSeatedUnderTheCamera();
  // The camera travels; the rebuilt floor takes the field along.
  camera->position = D3DXVECTOR3(140.0f, 2.0f, 95.0f);
  terrain->Recentre(140.0f, 95.0f);
  ExpectSeatedUnderTheCamera();
}

TEST_F(BubbleSeat, LayersRiseFromTheFloorAndDriftWithTheCurrentOverTime) {
  StreamHost host;
  SetSceneHost(&host);
  camera->position = D3DXVECTOR3(100.0f, 0.0f, 100.0f);
  terrain->BuildFloor();
  const D3DXVECTOR3 field = bubbles->position;
  ASSERT_LT(field.y, -5.0f);
  int maxAlive = 0;
  for (int frame = 0; frame < 2000; ++frame) {  // 200 seconds
    bubbles->Move(0.1f * (frame + 1), 0.1f * frame);
    EXPECT_LE(bubbles->window.spawned, bubbles->window.allowance);
    maxAlive = std::max(maxAlive, bubbles->AliveCount());
    for (const X7BubbleEmitter& layer : bubbles->layers) {
      if (!layer.alive) continue;
      // Carried from the centre by the current (x : z = 2 : 1) plus an
      // outward push of at most 0.004 a frame each; risen 0.2 a second.
      const float age = layer.x / 0.1f;
      ASSERT_LE(layer.y, 0.0f);
      ASSERT_GE(layer.x, 0.0f);
      ASSERT_NEAR(layer.z, 0.5f * layer.x, 0.04f * age + 1e-3f);
      ASSERT_NEAR(layer.y, field.y + 0.2f * age, 0.5f + 0.08f * age + 1e-3f);
    }
  }
  // Two starts a second, each alive until it reaches the top: at most all
  // 300 records at a time.
  const int expected = std::min(kBubbleLayers, static_cast<int>(2.0f * std::min(200.0f, -field.y / 0.2f)));
  EXPECT_GT(maxAlive, expected * 85 / 100) << field.y;
  EXPECT_LE(maxAlive, kBubbleLayers);
  for (const D3DXVECTOR3& at : host.asked) ASSERT_TRUE(at.x >= field.x && at.x < field.x + 30.0f) << at.x;
}
