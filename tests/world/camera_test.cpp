// Camera frustum tests and projections.
#include <gtest/gtest.h>

#include "SceneTestSupport.h"
#include "frame/C3SceneHost.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

using qvtest::LookAlongZ;

class TestHost : public C3SceneHost {
 public:
  UINT GetBackBufferWidth() override { return width; }
  UINT GetBackBufferHeight() override { return height; }
  bool IsDualView() override { return dual; }
  UINT width = 1024, height = 768;
  bool dual = false;
};

class CameraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSceneHost(&host);
    camera.InitDeviceObjects();
    camera.Move(0, 0);
  }
  void TearDown() override { SetSceneHost(nullptr); }
  TestHost host;
  LookAlongZ camera;
};

void Place(C3Object& o, float x, float y, float z, float r = 1.0f) {
  o.position = D3DXVECTOR3(x, y, z);
  o.radius = r;
  o.boxMin = D3DXVECTOR3(-r, -r, -r);
  o.boxMax = D3DXVECTOR3(r, r, r);
  ComposePlacement(&o.world, o);
}

// An object placed for a visibility test and the answer expected.
struct Sight {
  float x, y, z, r;
  bool visible;
  const char* what;
};

TEST_F(CameraTest, FlagsAndName) {
  EXPECT_STREQ("C3Camera", camera.className);
  EXPECT_TRUE(camera.HasFlag(kObjAlwaysCulled));
}

// Notes the time the world moves it to.
class ClockedCamera : public LookAlongZ {
 public:
  HRESULT Move(float current, float previous) override {
    last = current;
    return LookAlongZ::Move(current, previous);
  }
  float last = -1.0f;
};

class ClockedObject : public C3Object {
 public:
  HRESULT Move(float current, float) override {
    last = current;
    return 0;
  }
  float last = -1.0f;
};

TEST_F(CameraTest, RunsOnTheUnscaledClockWhenTheSceneIsSlowed) {
  C3World world;
  auto* object = new ClockedObject;
  auto* moving = new ClockedCamera;
  world.AddChild(object);
  world.AddChild(moving);
  world.InitDeviceObjects();
  world.SetSpeedFactor(0.5f);
  for (int i = 0; i < 20; ++i) world.Move(0.1f);
  EXPECT_GT(moving->last, 1.0f);
  EXPECT_NEAR(moving->last * 0.5f, object->last, 1e-3f);
}

TEST_F(CameraTest, SphereAheadBehindAndBeyondFar) {
  const Sight sights[] = {
      {0, 0, 50, 1, true, "ahead"},
      {0, 0, 100.5f, 1, true, "reaching over the far plane"},
      {0, 0, 102, 1, false, "beyond the far plane"},
      {0, 0, -10, 1, false, "behind"},
      {0, 40, 10, 1, false, "far above the vertical angle"},
      {50, 0, 10, 1, false, "far to the side"},
      {50, 0, 10, 50, true, "large enough to reach into view"},
  };
  C3Object o;
  for (const Sight& s : sights) {
    Place(o, s.x, s.y, s.z, s.r);
    EXPECT_EQ(s.visible, camera.IsSphereVisible(o)) << s.what;
  }
}

TEST_F(CameraTest, BoxCulledOnlyWhenAllCornersOutsideOnePlane) {
  const Sight sights[] = {
      {0, 0, 20, 1, true, "ahead"},
      {60, 0, 10, 1, false, "to the side"},
      {0, 0, -20, 1, false, "behind"},
      // Every corner lies outside some plane, but no plane has all eight
      // outside, so it stays visible.
      {0, 0, 0, 1000, true, "around the whole frustum"},
  };
  C3Object o;
  for (const Sight& s : sights) {
    Place(o, s.x, s.y, s.z, s.r);
    EXPECT_EQ(s.visible, camera.IsBoxVisible(o)) << s.what;
  }
  // A long thin box crossing the view with both ends outside.
  o.position = D3DXVECTOR3(0, 0, 20);
  o.boxMin = D3DXVECTOR3(-500, -0.5f, -0.5f);
  o.boxMax = D3DXVECTOR3(500, 0.5f, 0.5f);
  ComposePlacement(&o.world, o);
  EXPECT_TRUE(camera.IsBoxVisible(o));
}

TEST_F(CameraTest, DualViewTestsOnlyUpperAndLowerPlanes) {
  host.dual = true;
  C3Object o;
  Place(o, 50, 0, 10);
  EXPECT_TRUE(camera.IsSphereVisible(o));
  EXPECT_TRUE(camera.IsBoxVisible(o));
  Place(o, 0, 40, 10);
  EXPECT_FALSE(camera.IsSphereVisible(o));
  EXPECT_FALSE(camera.IsBoxVisible(o));
}

TEST_F(CameraTest, ProjectionUsesFloatAspectAndIsRebuiltOnRestore) {
  D3DXMATRIX expected;
  D3DXMatrixPerspectiveFovLH(&expected, D3DX_PI / 3, 1024.0f / 768.0f, 0.1f, 100.0f);
  EXPECT_NEAR(expected._11, camera.projection._11, 1e-6f);
  host.width = 1366;
  host.height = 768;
  camera.RestoreDeviceObjects();
  D3DXMatrixPerspectiveFovLH(&expected, D3DX_PI / 3, 1366.0f / 768.0f, 0.1f, 100.0f);
  EXPECT_NEAR(expected._11, camera.projection._11, 1e-6f);
  EXPECT_NEAR(expected._22, camera.projection._22, 1e-6f);
}

TEST_F(CameraTest, HalfViewProjectionsAndCentreKeepsLast) {
  // The centre of the double-width view is the right edge of the left half
  // and the left edge of the right half.
  D3DXVECTOR3 p(0, 0, 10), out;
  camera.SetEye(kEyeLeft);
  D3DXVec3TransformCoord(&out, &p, &camera.projection);
  EXPECT_NEAR(1.0f, out.x, 1e-5f);
  camera.SetEye(kEyeRight);
  D3DXVec3TransformCoord(&out, &p, &camera.projection);
  EXPECT_NEAR(-1.0f, out.x, 1e-5f);
  D3DXMATRIX right = camera.projection;
  camera.SetEye(kEyeCentre);
  EXPECT_EQ(0, memcmp(&right, &camera.projection, sizeof(right)));
  EXPECT_EQ(kEyeCentre, camera.eye);
}

}  // namespace
