// The camera's decisions without a device: averages, fades, list rotation,
// directions, the hand-held zoom and projection, the wander path.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "RingOffset.h"
#include "X2Camera.h"
#include "X2EaseTimer.h"
#include "X2HumanCamera.h"
#include "X2PositionAverage.h"

namespace {

void ExpectNear(const D3DXVECTOR3& v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, 1e-4f);
  EXPECT_NEAR(v.y, y, 1e-4f);
  EXPECT_NEAR(v.z, z, 1e-4f);
}

const float kNaN = std::numeric_limits<float>::quiet_NaN();

}  // namespace

TEST(PositionAverage, RampsFromZeroOverFourSamplesThenSlides) {
  X2PositionAverage a;
  const D3DXVECTOR3 p(4.0f, -8.0f, 12.0f);
  for (int i = 1; i <= 4; ++i) ExpectNear(a.Add(p), i * 1.0f, i * -2.0f, i * 3.0f);
  ExpectNear(a.Add(D3DXVECTOR3(0, 0, 0)), 3.0f, -6.0f, 9.0f);  // the first sample drops out
  // A sample that is not a number counts as the average so far.
  ExpectNear(a.Add(D3DXVECTOR3(kNaN, 0, 0)), 2.75f, -5.5f, 8.25f);
}

TEST(EaseTimer, FadesOverItsLengthAndARestartNeverCutsARunningFade) {
  X2EaseTimer t;
  EXPECT_EQ(t.Weight(0.0f), 0.0f);  // the initial fade ended long ago
  t.Restart(5.0f);
  EXPECT_FLOAT_EQ(t.Weight(5.0f), 1.0f);
  EXPECT_FLOAT_EQ(t.Weight(5.25f), 0.75f);
  t.Restart(5.5f);  // still running: ignored
  EXPECT_FLOAT_EQ(t.Weight(5.5f), 0.5f);
  EXPECT_EQ(t.Weight(7.0f), 0.0f);
  t.Restart(7.0f);
  EXPECT_FLOAT_EQ(t.Weight(7.0f), 1.0f);
  EXPECT_FLOAT_EQ(t.Weight(6.0f), 1.0f);  // never above 1
}

TEST(CameraRotation, AdvancesWhenDueAndWrapsAtTheEnd) {
  struct Case {
    float now, last;
    int entries, index;
    bool switched;
    int nextIndex;
  } cases[] = {
      {0.0f, -1000.0f, 3, 0, true, 1},  // the first move already goes to the second entry
      {0.0f, -1000.0f, 1, 0, true, 0},  // one entry stays
      {0.0f, -1000.0f, 0, 0, true, 0},  // none
      {10.0f, 0.0f, 3, 1, false, 1},    // the interval must be exceeded
      {10.5f, 0.0f, 3, 1, true, 2},
      {10.5f, 0.0f, 3, 2, true, 0},
  };
  for (const Case& c : cases) {
    float last = c.last;
    int index = c.index;
    EXPECT_EQ(AdvanceCameraIndex(c.now, 10.0f, c.entries, &last, &index), c.switched) << c.now;
    EXPECT_EQ(index, c.nextIndex) << c.now << " " << c.entries;
    EXPECT_EQ(last, c.switched ? c.now : c.last);
  }
}

TEST(CameraDirection, NormalisedOrAlongZWhenDegenerate) {
  ExpectNear(CameraDirection(D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(1, 2, 13)), 0, 0, 1);
  ExpectNear(CameraDirection(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(-3, 4, 0)), -0.6f, 0.8f, 0);
  ExpectNear(CameraDirection(D3DXVECTOR3(5, 5, 5), D3DXVECTOR3(5, 5, 5)), 0, 0, 1);
  ExpectNear(CameraDirection(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(kNaN, 0, 0)), 0, 0, 1);

  // Look-at matrices stay finite for coinciding points and a view along up.
  const D3DXVECTOR3 eye(1, 2, 3), yUp(0, 1, 0);
  for (const D3DXVECTOR3& at : {eye, D3DXVECTOR3(1, 10, 3)}) {
    D3DXMATRIX m;
    CameraLookAt(&m, eye, at, yUp);
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(static_cast<const float*>(m)[i]));
    D3DXVECTOR3 e;
    D3DXVec3TransformCoord(&e, &eye, &m);
    ExpectNear(e, 0, 0, 0);  // the eye is the view's origin
  }
}

TEST(HumanCamera, SettingsHeldInTheDialogRanges) {
  const HumanCameraSettings low = ClampHumanCameraSettings(0, 0, 0);
  const HumanCameraSettings high = ClampHumanCameraSettings(99, 99, 99);
  const HumanCameraSettings mid = ClampHumanCameraSettings(18, 26, 3);
  EXPECT_EQ(low.stability, 5);
  EXPECT_EQ(low.trackability, 1);
  EXPECT_EQ(low.maxZoom, 1);
  EXPECT_EQ(high.stability, 20);
  EXPECT_EQ(high.trackability, 40);
  EXPECT_EQ(high.maxZoom, 20);
  EXPECT_EQ(mid.stability, 18);
  EXPECT_EQ(mid.trackability, 26);
  EXPECT_EQ(mid.maxZoom, 3);
  // The smallest stability still gives a finite, unit up vector.
  const D3DXVECTOR3 up = HumanWobbleUp(12.3f, low.stability * 0.1f);
  EXPECT_NEAR(D3DXVec3Length(&up), 1.0f, 1e-5f);
  EXPECT_GT(up.y, 0.9f);
}

TEST(HumanCamera, ZoomGoalAndWhenItsFadeRestarts) {
  struct Goal {
    float distance, maxZoom, goal;
  } goals[] = {{0.0f, 3, 1}, {9.99f, 3, 1}, {10.0f, 20, 10.0f / 3}, {30.0f, 3, 3},
               {90.0f, 20, 20}, {50.0f, 1, 1}, {kNaN, 3, 1}};
  for (const Goal& g : goals) EXPECT_FLOAT_EQ(HumanZoomGoal(g.distance, g.maxZoom), g.goal) << g.distance;

  struct Restart {
    float last, goal;
    bool restarts;
  } restarts[] = {{1, 3, true}, {3, 1, true}, {1, 1, false}, {3, 5, false}, {2, 2, false}};
  for (const Restart& r : restarts)
    EXPECT_EQ(HumanZoomRestarts(r.last, r.goal), r.restarts) << r.last << " -> " << r.goal;
}

TEST(HumanCamera, ProjectionIsTheLeftHandedPerspective) {
  for (float fov : {D3DX_PI / 3.0f, D3DX_PI / 9.0f}) {
    D3DXMATRIX ours, reference;
    HumanProjection(&ours, fov, 4.0f / 3.0f, 0.1f, 100.0f);
    D3DXMatrixPerspectiveFovLH(&reference, fov, 4.0f / 3.0f, 0.1f, 100.0f);
    for (int i = 0; i < 16; ++i)
      EXPECT_NEAR(static_cast<const float*>(ours)[i], static_cast<const float*>(reference)[i], 1e-4f) << i;
  }
}

TEST(RingOffset, CirclesOfTheTwoWorldSizes) {
  ExpectNear(RingOffset(0.0f, false), 0, 0, 0);  // through the origin at the start
  ExpectNear(RingOffset(600.0f * D3DX_PI / 2, false), 100, 0, -100);
  ExpectNear(RingOffset(0.0f, true), 0, 0, 50);
  ExpectNear(RingOffset(180.0f * D3DX_PI / 2, true), 50, 0, 0);
}
