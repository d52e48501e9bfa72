// The ring wander with scripted draws: rally records kept in world space,
// the choice of record and point, the walk and the circle without records.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "C7TexturePanel.h"
#include "CameraTestSupport.h"
#include "Diagnostics.h"
#include "LogTestSupport.h"
#include "RingOffset.h"
#include "SceneGlobals.h"
#include "X1RingWander.h"

namespace {

X2RallyRecord Record(std::initializer_list<D3DXVECTOR3> points) {
  X2RallyRecord r{};
  for (const D3DXVECTOR3& p : points) {
    r.points[r.count][0] = p.x;
    r.points[r.count][1] = p.y;
    r.points[r.count][2] = p.z;
    ++r.count;
  }
  return r;
}

D3DXMATRIX Identity() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

// Draws of r give the index int(r x 100) modulo the count.
float Pick(int n) { return (n + 0.5f) / 100.0f; }

}  // namespace

TEST(RingWander, RallyRecordsCarriedIntoWorldSpaceBadOnesSkipped) {
  CreateDirectoryA("c:\\log", nullptr);
  SetDebugLogLevel(1);
  const size_t logged = qvtest::ReadLog().size();
  X1RingWander wander;
  D3DXMATRIX scale, move, matrix;
  D3DXMatrixScaling(&scale, 2.0f, 2.0f, 2.0f);
  D3DXMatrixTranslation(&move, 10.0f, 0.0f, -5.0f);
  matrix = scale * move;
  X2RallyRecord none{}, tooMany = Record({});
  tooMany.count = 11;
  wander.AddRallyPoints(nullptr, matrix);
  wander.AddRallyPoints(&none, matrix);
  wander.AddRallyPoints(&tooMany, matrix);
  const X2RallyRecord good = Record({D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(-1, 0, 0)});
  wander.AddRallyPoints(&good, matrix);
  SetDebugLogLevel(0);
  ASSERT_EQ(wander.rallies.size(), 1u);
  const X2RallyRecord& kept = wander.rallies[0];
  EXPECT_EQ(kept.count, 2u);
  EXPECT_FLOAT_EQ(kept.points[0][0], 12.0f);
  EXPECT_FLOAT_EQ(kept.points[0][1], 4.0f);
  EXPECT_FLOAT_EQ(kept.points[0][2], 1.0f);
  EXPECT_FLOAT_EQ(kept.points[1][0], 8.0f);
  EXPECT_FLOAT_EQ(good.points[0][0], 1.0f);  // the plug-in's record is not touched
  const std::string log = qvtest::ReadLog();
  EXPECT_NE(log.find("Rally Points: 0 points", logged), std::string::npos);
  EXPECT_NE(log.find("Rally Points: 11 points", logged), std::string::npos);
  EXPECT_NE(log.find("Rally Points 0:1   8.00/-5.00", logged), std::string::npos);
}

TEST(RingWander, FollowsTheCircleWithoutRecordsAndShowsItWhenAsked) {
  camtest::SettingsHost host;
  host.debugDisplay = 1;
  SetSceneHost(&host);
  C7TexturePanel panel(-1.0f, 1.0f, 0.05f, 0.0f);
  ThePanels[5] = &panel;
  X1RingWander wander;
  wander.Move(300.0f, 299.0f);
  const D3DXVECTOR3 ring = RingOffset(300.0f, false);
  EXPECT_EQ(wander.position, ring);
  char text[64];
  snprintf(text, sizeof text, "Center:.%.2f %.2f", ring.x, ring.z);
  EXPECT_STREQ(panel.Text(), text);
  host.settings[kSceneSmallWorld] = 1;
  wander.Move(300.0f, 299.0f);
  EXPECT_EQ(wander.position, RingOffset(300.0f, true));
  ThePanels[5] = nullptr;
  SetSceneHost(nullptr);
}

TEST(RingWander, FirstMoveChoosesARecordBeforeReadingOneThenWalks) {
  X1RingWander wander;
  camtest::ScriptedRandom random;
  wander.SetRandomSource(random.Source());
  const X2RallyRecord a = Record({D3DXVECTOR3(0, 0, 100)});
  const X2RallyRecord b = Record({D3DXVECTOR3(50, 0, 0), D3DXVECTOR3(0, 0, -50), D3DXVECTOR3(20, 0, 0)});
  wander.AddRallyPoints(&a, Identity());
  wander.AddRallyPoints(&b, Identity());
  // The change draw (any value), record 1, point 2.
  random.draws = {0.9f, Pick(1), Pick(2)};
  wander.Move(2.0f, 0.0f);
  EXPECT_EQ(wander.globalIndex, 1);
  EXPECT_EQ(wander.localIndex, 2);
  EXPECT_EQ(wander.arrivals, 0);
  EXPECT_EQ(random.taken, 3u);
  EXPECT_NEAR(wander.position.x, 1.4f, 1e-6f);  // 0.7 units a second towards (20, 0, 0)
  EXPECT_EQ(wander.position.z, 0.0f);
}

TEST(RingWander, ArrivalChangesPointOrRecordAndOneChoiceKeepsItself) {
  struct Case {
    const char* what;
    int records, points, arrivalsBefore;
    std::vector<float> draws;
    int global, local, arrivals;
    size_t taken;
  } cases[] = {
      // A draw of 0.1 or more keeps the record and changes the point.
      {"point", 1, 3, 0, {0.5f, Pick(0), Pick(0), Pick(2)}, 0, 2, 1, 4},
      // One point: ten draws, then the same point stands.
      {"one point", 1, 1, 0, {0.5f}, 0, 0, 1, 11},
      // Below 0.1 the record changes; one record keeps itself after ten draws.
      {"one record", 1, 3, 0, {0.05f, Pick(0), Pick(0), Pick(0), Pick(0), Pick(0), Pick(0), Pick(0),
                               Pick(0), Pick(0), Pick(0), Pick(1)}, 0, 1, 0, 12},
      // The eleventh arrival changes the record whatever the draw.
      {"eleventh arrival", 2, 3, 10, {0.9f, Pick(1), Pick(2)}, 1, 2, 0, 3},
  };
  for (const Case& c : cases) {
    X1RingWander wander;
    camtest::ScriptedRandom random;
    random.rest = Pick(0);
    for (int r = 0; r < c.records; ++r) {
      X2RallyRecord record = Record({});
      record.count = c.points;  // all at the origin: the walker has arrived
      wander.AddRallyPoints(&record, Identity());
    }
    wander.globalIndex = 0;
    wander.localIndex = 0;
    wander.arrivals = c.arrivalsBefore;
    random.draws = c.draws;
    wander.SetRandomSource(random.Source());
    wander.Move(1.0f, 1.0f);  // no time passes: a zero step
    EXPECT_EQ(wander.globalIndex, c.global) << c.what;
    EXPECT_EQ(wander.localIndex, c.local) << c.what;
    EXPECT_EQ(wander.arrivals, c.arrivals) << c.what;
    EXPECT_EQ(random.taken, c.taken) << c.what;
    EXPECT_EQ(wander.position, D3DXVECTOR3(0, 0, 0)) << c.what;  // zero-length walk: no NaN
  }
}
