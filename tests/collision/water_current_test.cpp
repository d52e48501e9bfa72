// The water current: no current at level 0, the first turn on the first
// frame, turns when the timer comes due, and the drift it gives objects
// flagged to drift over many frames.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>

#include "common/SettingIds.h"
#include "current/WaterCurrent.h"
#include "current/X7CurrentServer.h"
#include "frame/C3SceneHost.h"
#include "world/C3Move.h"

namespace {

// Hands out the given draws in order (0.5 once they run out).
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

void ExpectVec(const D3DXVECTOR3& v, float x, float y, float z, float tolerance = 1e-5f) {
  EXPECT_NEAR(v.x, x, tolerance);
  EXPECT_NEAR(v.y, y, tolerance);
  EXPECT_NEAR(v.z, z, tolerance);
}

}  // namespace

TEST(WaterCurrent, LevelZeroAndUnknownLevelsGiveNoCurrent) {
  CurrentState state;
  Draws draws;
  for (int level : {0, -1, 4, 99}) {
    for (float t = 0.0f; t < 3.0f; t += 0.5f) {
      StepCurrent(state, level, t, draws.Source());
      ExpectVec(state.vector, 0, 0, 0);
    }
  }
  // No turn was taken meanwhile: the timer is still due at 0.
  EXPECT_EQ(state.sign, 1.0f);
  EXPECT_EQ(state.due, 0.0f);
}

TEST(WaterCurrent, TurnsOnTheFirstFrameAndWhenDue) {
  CurrentState state;
  Draws draws;
  // Level 2 at t = 0: nothing is due yet (due at 0, not before it).
  StepCurrent(state, 2, 0.0f, draws.Source());
  ExpectVec(state.vector, 0.1f, 0, 0);
  EXPECT_EQ(state.sign, 1.0f);

  // Level 3 from the first frame after 0: offset 0.25 x 2pi, the next turn
  // 5 + 0.4 x 15 = 11 s later, the sign flipped.
  draws.values = {0.25f, 0.4f};
  StepCurrent(state, 3, 0.1f, draws.Source());
  EXPECT_EQ(state.sign, -1.0f);
  EXPECT_NEAR(state.angleOffset, D3DX_PI / 2.0f, 1e-5f);
  EXPECT_NEAR(state.due, 11.1f, 1e-4f);
  EXPECT_EQ(state.minimum, 5.0f);
  EXPECT_EQ(state.maximum, 20.0f);
  const D3DXVECTOR3 expected = CurrentVector(*FindCurrentLevel(3), 0.1f, D3DX_PI / 2.0f, -1.0f);
  ExpectVec(state.vector, expected.x, expected.y, expected.z);

  // Nothing until the due time has passed, then one more turn.
  StepCurrent(state, 3, 11.1f, draws.Source());
  EXPECT_EQ(state.sign, -1.0f);
  draws.values = {1.0f, 0.0f};
  StepCurrent(state, 3, 11.2f, draws.Source());
  EXPECT_EQ(state.sign, 1.0f);
  EXPECT_NEAR(state.angleOffset, 2.0f * D3DX_PI, 1e-5f);
  EXPECT_NEAR(state.due, 16.2f, 1e-4f);
}

namespace {

// A scene whose water current comes from a current server.
class CurrentHost : public C3SceneHost {
 public:
  explicit CurrentHost(X7CurrentServer& s) : server(s) {}
  D3DXVECTOR3 GetWaterCurrent(float, const D3DXVECTOR3& position) override {
    D3DXVECTOR3 c;
    server.GetCurrent(&c, position);
    return c;
  }
  int GetSceneSetting(int pos) override { return pos == kSceneWaterCurrent ? level : 0; }
  X7CurrentServer& server;
  int level = 2;
};

}  // namespace

TEST(WaterCurrent, DriftingObjectsFollowTheCurrentOverTime) {
  X7CurrentServer server;
  EXPECT_STREQ(server.className, "X7CurrentServer");
  EXPECT_TRUE(server.HasFlag(kObjAlwaysVisible));
  CurrentHost host(server);
  SetSceneHost(&host);

  // Two drifting objects far apart and one that stays put; 40 s at 30
  // frames a second, the server moving first in each frame.
  C3Move close, distant, still;
  close.flags |= kObjDrift;
  distant.flags |= kObjDrift;
  distant.position = D3DXVECTOR3(500, -30, -700);
  D3DXVECTOR3 expected(0, 0, 0);
  float previous = 0.0f;
  float path = 0.0f;
  int turns = 0;
  float sign = server.state.sign;
  for (int frame = 1; frame <= 1200; ++frame) {
    const float now = frame / 30.0f;
    server.Move(now, previous);
    if (server.state.sign != sign) {
      ++turns;
      sign = server.state.sign;
    }
    D3DXVECTOR3 c;
    server.GetCurrent(&c, close.position);
    expected += c * (now - previous);
    path += D3DXVec3Length(&c) * (now - previous);
    for (C3Move* o : {&close, &distant, &still}) o->Move(now, previous);
    previous = now;
  }
  SetSceneHost(nullptr);
  // Level 2 turns on the first frame and then every 10 to 30 s.
  EXPECT_GE(turns, 2);
  EXPECT_LE(turns, 5);
  ExpectVec(close.position, expected.x, 0, expected.z, 1e-3f);
  // Far out the same drift, within the rounding of positions in the hundreds.
  ExpectVec(distant.position - D3DXVECTOR3(500, -30, -700), expected.x, 0, expected.z, 1e-2f);
  ExpectVec(still.position, 0, 0, 0);
  // Level 2 never runs slower than 0.1 a second: the path is at least 4 long.
  EXPECT_GE(path, 4.0f);
  // The world matrix carries the drifted position.
  EXPECT_NEAR(close.world._41, close.position.x, 1e-5f);
  EXPECT_NEAR(close.world._43, close.position.z, 1e-5f);
}
