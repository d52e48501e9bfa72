// The ring wander with scripted draws: rally records kept in world space,
// the choice of record and point, and the walk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CameraTestSupport.h"
#include "LogTestSupport.h"
#include "camera/X1RingWander.h"

namespace {

// `count` points, all at the origin unless given.
X2RallyRecord Record(uint32_t count, std::vector<D3DXVECTOR3> points = {}) {
  X2RallyRecord r{};
  r.count = count;
  for (size_t i = 0; i < points.size(); ++i)
    for (int k = 0; k < 3; ++k) r.points[i][k] = static_cast<const float*>(points[i])[k];
  return r;
}

const D3DXMATRIX kIdentity(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);

// A draw giving index n: int(r x 100) modulo the count.
float Pick(int n) { return (n + 0.5f) / 100.0f; }

}  // namespace

TEST(RingWander, RallyRecordsCarriedIntoWorldSpaceBadOnesSkipped) {
  CreateDirectoryA("c:\\log", nullptr);
  SetDebugLogLevel(1);
  const size_t logged = qvtest::ReadLog().size();
  X1RingWander wander;
  const D3DXMATRIX matrix(2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 10, 0, -5, 1);  // x2, then moved
  const X2RallyRecord none = Record(0), tooMany = Record(11);
  const X2RallyRecord good = Record(2, {D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(-1, 0, 0)});
  for (const X2RallyRecord* r : {static_cast<const X2RallyRecord*>(nullptr), &none, &tooMany, &good})
    wander.AddRallyPoints(r, matrix);
  SetDebugLogLevel(0);
  ASSERT_EQ(wander.rallies.size(), 1u);
  const X2RallyRecord& kept = wander.rallies[0];
  EXPECT_EQ(kept.count, 2u);
  EXPECT_EQ(D3DXVECTOR3(kept.points[0]), D3DXVECTOR3(12, 4, 1));
  EXPECT_EQ(D3DXVECTOR3(kept.points[1]), D3DXVECTOR3(8, 0, -5));
  const std::string log = qvtest::ReadLog();
  EXPECT_NE(log.find("Rally Points: 11 points", logged), std::string::npos);
  EXPECT_NE(log.find("Rally Points 0:1   8.00/-5.00", logged), std::string::npos);
}

TEST(RingWander, FirstMoveChoosesARecordBeforeReadingOneThenWalks) {
  X1RingWander wander;
  camtest::ScriptedRandom random;
  wander.SetRandomSource(random.Source());
  const X2RallyRecord a = Record(1, {D3DXVECTOR3(0, 0, 100)});
  const X2RallyRecord b = Record(3, {D3DXVECTOR3(50, 0, 0), D3DXVECTOR3(0, 0, -50), D3DXVECTOR3(20, 0, 0)});
  wander.AddRallyPoints(&a, kIdentity);
  wander.AddRallyPoints(&b, kIdentity);
  random.draws = {0.9f, Pick(1), Pick(2)};  // the change draw (any value), record 1, point 2
  wander.Move(2.0f, 0.0f);
  EXPECT_EQ(wander.globalIndex, 1);
  EXPECT_EQ(wander.localIndex, 2);
  EXPECT_EQ(random.taken, 3u);
  EXPECT_EQ(wander.position, D3DXVECTOR3(1.4f, 0, 0));  // 0.7 units a second towards (20, 0, 0)
}

TEST(RingWander, ArrivalChangesPointOrRecordAndOneChoiceKeepsItself) {
  struct Case {
    const char* what;
    int records, points, arrivalsBefore;
    std::vector<float> draws;
    int global, local, arrivals;
    size_t taken;
  } cases[] = {
      {"point", 1, 3, 0, {0.5f, Pick(0), Pick(0), Pick(2)}, 0, 2, 1, 4},  // draw >= 0.1: new point
      {"one point", 1, 1, 0, {0.5f}, 0, 0, 1, 11},  // ten draws, then the same point stands
      {"one record", 1, 3, 0, {0.05f, Pick(0), Pick(0), Pick(0), Pick(0), Pick(0), Pick(0), Pick(0),
                               Pick(0), Pick(0), Pick(0), Pick(1)}, 0, 1, 0, 12},  // below 0.1: record
      {"eleventh arrival", 2, 3, 10, {0.9f, Pick(1), Pick(2)}, 1, 2, 0, 3},
  };
  for (const Case& c : cases) {
    X1RingWander wander;
    camtest::ScriptedRandom random;
    random.draws = c.draws;
    random.rest = Pick(0);
    wander.SetRandomSource(random.Source());
    const X2RallyRecord record = Record(c.points);  // the walker stands on every point
    for (int r = 0; r < c.records; ++r) wander.AddRallyPoints(&record, kIdentity);
    wander.globalIndex = 0;
    wander.arrivals = c.arrivalsBefore;
    wander.Move(1.0f, 1.0f);  // no time passes: a zero step
    EXPECT_EQ(wander.globalIndex, c.global) << c.what;
    EXPECT_EQ(wander.localIndex, c.local) << c.what;
    EXPECT_EQ(wander.arrivals, c.arrivals) << c.what;
    EXPECT_EQ(random.taken, c.taken) << c.what;
    EXPECT_EQ(wander.position, D3DXVECTOR3(0, 0, 0)) << c.what;  // no NaN from the zero-length walk
  }
}
