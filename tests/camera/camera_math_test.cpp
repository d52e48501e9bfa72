// The camera's decisions without a device: fades, list rotation,
// directions, the hand-held settings, zoom and projection.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "camera/X2Camera.h"
#include "camera/X2EaseTimer.h"
#include "camera/X2HumanCamera.h"

namespace {
const float kNaN = std::numeric_limits<float>::quiet_NaN();
}

TEST(EaseTimer, FadesOverItsLengthAndARestartNeverCutsARunningFade) {
  X2EaseTimer t;
  EXPECT_EQ(t.Weight(0.0f), 0.0f);  // the initial fade ended long ago
  t.Restart(5.0f);
  EXPECT_FLOAT_EQ(t.Weight(5.25f), 0.75f);
  t.Restart(5.5f);  // still running: ignored
  EXPECT_FLOAT_EQ(t.Weight(5.5f), 0.5f);
  t.Restart(7.0f);
  EXPECT_FLOAT_EQ(t.Weight(7.0f), 1.0f);
}

TEST(CameraRotation, AdvancesWhenDueAndWrapsAtTheEnd) {
  struct Case {
    float now, last;
    int entries, index, next;
  } cases[] = {
      {0.0f, -1000.0f, 3, 0, 1},  // the first move already goes to the second entry
      {0.0f, -1000.0f, 1, 0, 0},  // one entry stays
      {0.0f, -1000.0f, 0, 0, 0},  // none
      {10.0f, 0.0f, 3, 1, 1},     // the interval must be exceeded
      {10.5f, 0.0f, 3, 1, 2},
      {10.5f, 0.0f, 3, 2, 0},
  };
  for (const Case& c : cases) {
    float last = c.last;
    int index = c.index;
    const bool due = c.now - c.last > 10.0f;
    EXPECT_EQ(AdvanceCameraIndex(c.now, 10.0f, c.entries, &last, &index), due) << c.now;
    EXPECT_EQ(index, c.next) << c.now << " " << c.entries;
    EXPECT_EQ(last, due ? c.now : c.last);
  }
}

TEST(CameraDirection, AlongZWhenDegenerateAndLookAtStaysFinite) {
  const D3DXVECTOR3 eye(5, 5, 5), z(0, 0, 1);
  const D3DXVECTOR3 miss = CameraDirection(eye, eye + D3DXVECTOR3(-3, 4, 0)) - D3DXVECTOR3(-0.6f, 0.8f, 0);
  EXPECT_LT(D3DXVec3Length(&miss), 1e-6f);
  EXPECT_EQ(CameraDirection(eye, eye), z);
  EXPECT_EQ(CameraDirection(eye, D3DXVECTOR3(kNaN, 0, 0)), z);
  for (const D3DXVECTOR3& at : {eye, eye + D3DXVECTOR3(0, 3, 0)}) {  // coinciding, along up
    D3DXMATRIX m;
    CameraLookAt(&m, eye, at, D3DXVECTOR3(0, 1, 0));
    D3DXVECTOR3 origin;
    D3DXVec3TransformCoord(&origin, &eye, &m);
    EXPECT_NEAR(D3DXVec3Length(&origin), 0.0f, 1e-5f);
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(static_cast<const float*>(m)[i]));
  }
}

TEST(HumanCamera, SettingsClampedToTheDialogRangesZoomGoalsAndRestarts) {
  const HumanCameraSettings low = ClampHumanCameraSettings(0, 0, 0);
  const HumanCameraSettings high = ClampHumanCameraSettings(99, 99, 99);
  EXPECT_EQ(std::make_tuple(low.stability, low.trackability, low.maxZoom), std::make_tuple(5, 1, 1));
  EXPECT_EQ(std::make_tuple(high.stability, high.trackability, high.maxZoom), std::make_tuple(20, 40, 20));
  const D3DXVECTOR3 up = HumanWobbleUp(12.3f, low.stability * 0.1f);
  EXPECT_NEAR(D3DXVec3Length(&up), 1.0f, 1e-5f);

  struct Goal {
    float distance, maxZoom, goal;
  } goals[] = {{9.99f, 3, 1}, {10.0f, 20, 10.0f / 3}, {30.0f, 3, 3}, {50.0f, 1, 1}, {kNaN, 3, 1}};
  for (const Goal& g : goals) EXPECT_FLOAT_EQ(HumanZoomGoal(g.distance, g.maxZoom), g.goal) << g.distance;
  struct Restart {
    float last, goal;
    bool restarts;
  } restarts[] = {{1, 3, true}, {3, 1, true}, {1, 1, false}, {3, 5, false}};
  for (const Restart& r : restarts) EXPECT_EQ(HumanZoomRestarts(r.last, r.goal), r.restarts) << r.last;
}

TEST(HumanCamera, ProjectionIsTheLeftHandedPerspective) {
  D3DXMATRIX ours, reference;
  HumanProjection(&ours, D3DX_PI / 9.0f, 4.0f / 3.0f, 0.1f, 100.0f);
  D3DXMatrixPerspectiveFovLH(&reference, D3DX_PI / 9.0f, 4.0f / 3.0f, 0.1f, 100.0f);
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(static_cast<const float*>(ours)[i], static_cast<const float*>(reference)[i], 1e-4f) << i;
}
