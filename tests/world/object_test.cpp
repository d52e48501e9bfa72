// Object bases, the collection and the smoothed clock.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "world/C3Move.h"
#include "world/C3Object.h"
#include "world/C3TimeLine.h"
#include "world/C4Collection.h"

namespace {

bool IsIdentity(const D3DXMATRIX& m) {
  D3DXMATRIX id;
  D3DXMatrixIdentity(&id);
  for (int i = 0; i < 16; ++i)
    if (std::fabs(static_cast<const float*>(m)[i] - static_cast<const float*>(id)[i]) > 1e-6f) return false;
  return true;
}

TEST(C3Object, StartsCulledWithItsNameAndDefaultRange) {
  C3Object o;
  EXPECT_STREQ("C3Object", o.className);
  EXPECT_EQ(0x10u, o.flags);
  EXPECT_FLOAT_EQ(80.0f, o.farDistance);
  EXPECT_FLOAT_EQ(1.0f, o.scale);
  EXPECT_TRUE(IsIdentity(o.world));
  C3Move m;
  EXPECT_STREQ("C3Move", m.className);
  EXPECT_TRUE(IsIdentity(m.rotation));
  EXPECT_TRUE(IsIdentity(m.lastGoodWorld));
  o.SetClassName("AVeryLongClassNameThatDoesNotFitInThirtyTwo");
  EXPECT_EQ(31u, std::strlen(o.className));
}

TEST(C3Object, BaseMoveScalesRotatesThenTranslates) {
  C3Object o;
  o.scale = 2.0f;
  o.rotY = D3DX_PI / 2;
  o.position = D3DXVECTOR3(10, 0, 0);
  o.Move(1.0f, 0.0f);
  D3DXVECTOR3 p(1, 0, 0), out;
  D3DXVec3TransformCoord(&out, &p, &o.world);
  // (1,0,0) scaled to (2,0,0), turned about Y to (0,0,-2), moved by (10,0,0).
  EXPECT_NEAR(10.0f, out.x, 1e-5f);
  EXPECT_NEAR(-2.0f, out.z, 1e-5f);
}

TEST(C3Move, MovesAlongHeadingBySpeedTimesStep) {
  C3Move m;
  m.speed = 2.0f;
  m.Move(1.5f, 1.0f);
  EXPECT_NEAR(-1.0f, m.position.x, 1e-6f);
  EXPECT_NEAR(-1.0f, m.world._41, 1e-6f);
  m.speed = 0.0f;
  m.Move(9.0f, 1.0f);
  EXPECT_NEAR(-1.0f, m.position.x, 1e-6f);
  // Turned half round about Y the heading points along +x.
  m.rotY = D3DX_PI;
  m.speed = 1.0f;
  m.Move(1.0f, 0.0f);
  EXPECT_NEAR(1.0f, m.heading.x, 1e-5f);
  EXPECT_NEAR(0.0f, m.position.x, 1e-5f);
}

TEST(C3Move, NaNWorldMatrixFallsBackToLastGood) {
  C3Move m;
  m.position.x = std::numeric_limits<float>::quiet_NaN();
  m.Move(1.0f, 0.0f);
  // First frame: the fallback is the identity it started with.
  EXPECT_TRUE(IsIdentity(m.world));
  m.position = D3DXVECTOR3(3, 4, 5);
  m.Move(1.0f, 1.0f);
  EXPECT_FLOAT_EQ(3.0f, m.world._41);
  m.speed = std::numeric_limits<float>::infinity();
  m.Move(2.0f, 1.0f);  // inf * heading gives NaN components
  EXPECT_FLOAT_EQ(3.0f, m.world._41);
  EXPECT_FLOAT_EQ(3.0f, m.lastGoodWorld._41);
}

class FailingCompose : public C3Move {
 public:
  int ComposeWorldMatrix(float, float) override {
    world._41 = 99.0f;
    return 0;
  }
};

TEST(C3Move, FailedComposeKeepsLastGoodMatrix) {
  FailingCompose m;
  m.lastGoodWorld._41 = 7.0f;
  m.Move(1.0f, 0.0f);
  EXPECT_FLOAT_EQ(7.0f, m.world._41);
}

TEST(C4Collection, GrowsLinearlyAndKeepsOrder) {
  C4Collection c(10, 10);
  EXPECT_STREQ("C4Collection", c.className);
  C3Object objects[25];
  for (int i = 0; i < 10; ++i) c.Add(&objects[i]);
  EXPECT_EQ(10, c.capacity);
  c.Add(&objects[10]);
  EXPECT_EQ(20, c.capacity);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(&objects[i], c.items[i]);
  for (int i = 11; i < 20; ++i) EXPECT_EQ(nullptr, c.items[i]);
  for (int i = 11; i < 25; ++i) c.Add(&objects[i]);
  EXPECT_EQ(30, c.capacity);
  EXPECT_EQ(25, c.count);
  EXPECT_EQ(&objects[24], c.items[24]);
}

TEST(C4Collection, ClearsAndAddsAgain) {
  C4Collection c(10, 10);
  C3Object a, b;
  EXPECT_EQ(0, c.Clear());
  EXPECT_EQ(0, c.Clear());
  EXPECT_EQ(0, c.count);
  c.Add(&a);  // storage made again after a clear
  ASSERT_NE(nullptr, c.items);
  EXPECT_EQ(&a, c.items[0]);
  EXPECT_EQ(1, c.count);
  EXPECT_EQ(10, c.capacity);
  c.FinalCleanUp();
  EXPECT_EQ(nullptr, c.items);
  EXPECT_STREQ("C3Object", a.className);  // members untouched
}

TEST(C4Collection, KeepStorageClearEmptiesWithoutFreeing) {
  C4Collection c(10, 10);
  C3Object objects[15];
  for (auto& o : objects) c.Add(&o);
  C3Object** storage = c.items;
  c.ClearKeepStorage();
  EXPECT_EQ(0, c.count);
  EXPECT_EQ(storage, c.items);
  EXPECT_EQ(20, c.capacity);
  EXPECT_EQ(nullptr, c.items[3]);
  c.Add(&objects[5]);
  EXPECT_EQ(&objects[5], c.items[0]);
  EXPECT_EQ(storage, c.items);
}

TEST(C3TimeLine, ConstantStepStraddlesRawClock) {
  C3TimeLine t;
  for (int i = 0; i < 30; ++i) t.Advance(0.1f);
  float raw = t.GetRaw();
  EXPECT_NEAR(3.0f, raw, 1e-4f);
  EXPECT_NEAR(raw - 0.045f, t.GetPrevious(), 1e-4f);
  EXPECT_NEAR(raw + 0.045f, t.GetCurrent(), 1e-4f);
}

TEST(C3TimeLine, NegativeStepsNeverPutCurrentBelowPrevious) {
  C3TimeLine t;
  for (int i = 0; i < 5; ++i) t.Advance(0.1f);
  for (int i = 0; i < 20; ++i) {
    t.Advance(-0.3f);
    EXPECT_GE(t.GetCurrent(), t.GetPrevious());
  }
}

TEST(C3TimeLine, ScaleAndSpeedFactorLimits) {
  C3TimeLine a, b;
  b.SetScale(0.5f);
  for (int i = 0; i < 20; ++i) {
    a.Advance(0.1f);
    b.Advance(0.1f);
  }
  EXPECT_NEAR(a.GetRaw() * 0.5f, b.GetRaw(), 1e-4f);
  EXPECT_FLOAT_EQ(0.125f, ClampSpeedFactor(0.0625f));
  EXPECT_FLOAT_EQ(8.0f, ClampSpeedFactor(16.0f));
  EXPECT_FLOAT_EQ(0.5f, ClampSpeedFactor(0.5f));
  EXPECT_FLOAT_EQ(0.125f, ClampSpeedFactor(std::nanf("")));
}

}  // namespace
