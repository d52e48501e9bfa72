// The bubble field without a device: the start window, a layer's start,
// rise and drift (in the field's own coordinates, with the current taken at
// the layer's world position), a layer's place and spread, and the field
// re-seated on the floor under the camera at every rebuild, before and
// after its buffer exists.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <vector>

#include "BubbleField.h"
#include "C3Camera.h"
#include "C3SceneHost.h"
#include "C3World.h"
#include "SceneGlobals.h"
#include "X1Terrain.h"
#include "X7BubbleEmitter.h"
#include "X7Bubbles.h"

namespace {

struct Draws {
  std::deque<float> values;
  RandomSource Source() {
    return [this] {
      if (values.empty()) return 0.5f;
      const float v = values.front();
      values.pop_front();
      return v;
    };
  }
};

// The current as a steady stream; remembers where it was asked.
class StreamHost : public C3SceneHost {
 public:
  D3DXVECTOR3 GetWaterCurrent(float, const D3DXVECTOR3& at) override {
    asked.push_back(at);
    return stream;
  }
  D3DXVECTOR3 stream{0.1f, 0.0f, 0.05f};
  std::vector<D3DXVECTOR3> asked;
};

}  // namespace

TEST(BubbleField, StartWindowOpensOnceASecondForTwoStartsASecond) {
  struct Case {
    float last, t;
    int allowance;
    float lastAfter;
  };
  const Case cases[] = {
      {-1.0f, 0.6f, 3, 0.6f},  // the first frame after the start
      {0.0f, 0.6f, 0, 0.0f},   {0.0f, 1.0f, 0, 0.0f},  {0.0f, 1.05f, 2, 1.05f},
      {0.0f, 1.6f, 3, 1.6f},   {10.0f, 14.2f, 8, 14.2f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.t);
    BubbleSpawnWindow w;
    w.lastSpawn = c.last;
    w.spawned = 5;
    OpenSpawnWindow(w, c.t);
    EXPECT_EQ(w.allowance, c.allowance);
    EXPECT_FLOAT_EQ(w.lastSpawn, c.lastAfter);
    EXPECT_EQ(w.spawned, 0);
  }
}

TEST(BubbleField, LayerStartsAtTheFieldRisesDriftsOutwardsAndEndsAtTheTop) {
  C3Object field;
  field.position = D3DXVECTOR3(100.0f, -28.0f, 100.0f);
  BubbleSpawnWindow window;
  window.allowance = 1;
  Draws draws;
  std::vector<D3DXVECTOR3> asked;
  const D3DXVECTOR3 stream(0.1f, 0.02f, 0.0f);
  const CurrentQuery current = [&](const D3DXVECTOR3& at) {
    asked.push_back(at);
    return stream;
  };

  // One start in the window: at the centre, its height the first draw.
  X7BubbleEmitter a, b;
  a.field = b.field = &field;
  draws.values = {0.75f, 0.1f, 0.9f};
  a.Update(1.0f, 0.9f, window, current, draws.Source());
  EXPECT_EQ(a.alive, 1);
  EXPECT_FLOAT_EQ(a.y, -27.75f);
  EXPECT_EQ(a.x, 0.0f);
  EXPECT_EQ(a.z, 0.0f);
  EXPECT_TRUE(draws.values.empty());
  b.Update(1.0f, 0.9f, window, current, draws.Source());
  EXPECT_EQ(b.alive, 0);
  EXPECT_EQ(window.spawned, 1);
  EXPECT_TRUE(asked.empty());

  // Half a second at (3, 4) from the centre: it rises, is pushed away from
  // the centre (not from the world's origin: the field lies at +100), and
  // the current is asked at its world position after that push.
  a.x = 3.0f;
  a.z = 4.0f;
  draws.values = {0.0f, 1.0f};
  a.Update(1.5f, 1.0f, window, current, draws.Source());
  const float pushedX = 3.0f + 1.0f * 0.002f * 0.6f, pushedZ = 4.0f + 2.0f * 0.002f * 0.8f;
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NEAR(asked[0].x, 100.0f + pushedX, 1e-4f);
  EXPECT_NEAR(asked[0].z, 100.0f + pushedZ, 1e-4f);
  EXPECT_NEAR(asked[0].y, -27.75f + 0.1f, 1e-5f);
  EXPECT_NEAR(a.x, pushedX + 0.05f, 1e-5f);
  EXPECT_NEAR(a.z, pushedZ, 1e-5f);
  EXPECT_NEAR(a.y, -27.75f + 0.1f + 0.01f, 1e-5f);
  EXPECT_EQ(a.alive, 1);

  // Past the top it is over.
  a.y = -0.05f;
  a.Update(2.0f, 1.5f, window, current, draws.Source());
  EXPECT_EQ(a.alive, 0);

  // A layer of no field starts anywhere within 20 units, at -2.
  X7BubbleEmitter loose;
  draws.values = {0.0f, 1.0f};
  loose.Spawn(window, draws.Source());
  EXPECT_EQ(loose.alive, 1);
  EXPECT_FLOAT_EQ(loose.x, -20.0f);
  EXPECT_FLOAT_EQ(loose.z, 20.0f);
  EXPECT_FLOAT_EQ(loose.y, -2.0f);
}

TEST(BubbleField, LayerMatrixTurnsSpreadsAndPlacesTheVents) {
  const D3DXVECTOR3 field(50.0f, -20.0f, -10.0f);
  struct Case {
    int index;
    float layerY;
    float x, y, z;  // where the vent (2, 0, -4) goes, relative to (field x + 1, -, field z + 2)
  };
  const Case cases[] = {
      {0, -20.0f, 2.0f, -20.0f, -4.0f},    // at the floor: no turn, no spread
      {0, 20.0f, 3.0f, 20.0f, -6.0f},      // 40 units up: spread 1.5
      {75, 20.0f, -3.0f, 20.0f, 6.0f},     // a quarter round the layers: half a turn
      {150, -30.0f, 2.0f, -30.0f, -4.0f},  // below the field: never narrower
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    D3DXMATRIX m;
    BubbleLayerMatrix(&m, field, 0.0f, 0.0f, c.index, D3DXVECTOR3(1.0f, c.layerY, 2.0f));
    D3DXVECTOR3 out, vent(2.0f, 0.0f, -4.0f);
    D3DXVec3TransformCoord(&out, &vent, &m);
    EXPECT_NEAR(out.x, 51.0f + c.x, 1e-4f);
    EXPECT_NEAR(out.y, c.y, 1e-4f);
    EXPECT_NEAR(out.z, -8.0f + c.z, 1e-4f);
  }
  EXPECT_FLOAT_EQ(BubbleLayerSpread(20.0f, -20.0f), 1.5f);
}

class BubbleSeat : public ::testing::Test {
 protected:
  void SetUp() override {
    srand(7);
    world = new C3World;  // no device
    terrain = new X1Terrain;
    world->AddChild(terrain);
    TheTerrain = terrain;
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
  // The field under the camera on the floor, its vents on the floor around it.
  void ExpectSeatedUnderTheCamera() {
    const D3DXVECTOR3 p = bubbles->position;
    EXPECT_EQ(p.x, camera->position.x);
    EXPECT_EQ(p.z, camera->position.z);
    EXPECT_EQ(p.y, terrain->GetHeight(p.x, p.z, nullptr, false, false));
    ASSERT_EQ(bubbles->VentCount(), kBubbleVents);
    const std::vector<float>& v = bubbles->Vertices();
    ASSERT_GE(v.size(), static_cast<size_t>(kBubbleVents * kBubbleQuadFloats));
    float spanX = 0.0f;
    for (int i = 0; i < kBubbleVents; ++i) {
      const float* q = &v[i * kBubbleQuadFloats];
      EXPECT_LE(std::fabs(q[0]), 30.0f);
      EXPECT_LE(std::fabs(q[2]), 30.0f);
      EXPECT_NEAR(q[1] + p.y, terrain->GetHeight(p.x + q[0], p.z + q[2], nullptr, false, false), 1e-3f);
      for (int k = 1; k < 4; ++k)
        for (int f = 0; f < 3; ++f) EXPECT_EQ(q[k * kBubbleVertexFloats + f], q[f]);
      spanX = std::fmax(spanX, std::fabs(q[0]));
    }
    EXPECT_GT(spanX, 10.0f);  // scattered, not heaped
  }

  C3World* world = nullptr;
  X1Terrain* terrain = nullptr;
  X7Bubbles* bubbles = nullptr;
  C3Camera* camera = nullptr;
};

TEST_F(BubbleSeat, EveryFloorBuildReseatsTheFieldBeforeAndAfterItsDeviceObjects) {
  // The floor is first built before the bubbles' buffer exists: they are
  // seated without one.
  terrain->BuildFloor();
  EXPECT_EQ(bubbles->VertexBuffer(), nullptr);
  ExpectSeatedUnderTheCamera();

  // Restored again and again (no device here): one array throughout, vents
  // laid out afresh where the field is.
  const float* array = bubbles->Vertices().data();
  const D3DXVECTOR3 seat = bubbles->position;
  for (int i = 0; i < 3; ++i) {
    bubbles->RestoreDeviceObjects();
    bubbles->InvalidateDeviceObjects();
  }
  EXPECT_EQ(bubbles->Vertices().data(), array);
  EXPECT_EQ(bubbles->position, seat);
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

  // 200 seconds in frames of a tenth.
  int maxAlive = 0;
  float t = 0.0f;
  for (int frame = 0; frame < 2000; ++frame, t += 0.1f) {
    bubbles->Move(t + 0.1f, t);
    EXPECT_LE(bubbles->window.spawned, bubbles->window.allowance);
    maxAlive = std::max(maxAlive, bubbles->AliveCount());
    for (const X7BubbleEmitter& layer : bubbles->layers) {
      if (!layer.alive) continue;
      ASSERT_LE(layer.y, 0.0f);
      ASSERT_GE(layer.y, field.y - 0.5f);
      // Started at the centre, carried by the current since: x and z keep
      // the current's 2 : 1, plus an outward push of at most 0.004 a frame
      // on each; height risen at 0.2 a second over the same time.
      const float age = layer.x / 0.1f;
      EXPECT_GE(layer.x, 0.0f);
      EXPECT_NEAR(layer.z, 0.5f * layer.x, 0.004f * 10.0f * age + 1e-3f);
      EXPECT_NEAR(layer.y, field.y + 0.2f * age, 0.5f + 0.08f * age + 1e-3f);
    }
  }
  // Two starts a second, each alive for as long as it takes to rise from
  // the floor to the top at 0.2 a second (within these 200), at most all
  // 300 records at a time.
  const float lifetime = std::min(200.0f, -field.y / 0.2f);
  const int expected = std::min(kBubbleLayers, static_cast<int>(2.0f * lifetime));
  EXPECT_GT(maxAlive, expected * 85 / 100) << field.y;
  EXPECT_LE(maxAlive, kBubbleLayers);
  // The current was asked where the layers are in the world.
  ASSERT_FALSE(host.asked.empty());
  for (const D3DXVECTOR3& at : host.asked) {
    EXPECT_GE(at.x, field.x);
    EXPECT_LT(at.x, field.x + 30.0f);
  }
}
