// The camera look-at AI and the Forelens entry points with a fake host.
#include <gtest/gtest.h>

#include <cmath>

#include "FakeHost.h"
#include "ForelensAI.h"
#include "X2ForelensAI.h"

using aitest::FakeHost;

namespace {

class ForelensStepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    camera = host.NewObject();
    lookAt = host.NewObject();
    host.cameraSource = camera;
  }
  void TearDown() override {
    if (ai) ai->Destroy(1);
  }
  void Make(const char* param) {
    ai = ForelensRecord()->CreateInstance(param, host.Table());
    ASSERT_NE(ai, nullptr);
  }
  void MoveCamera(float x, float y, float z, float t) {
    host.Obj(camera)->position = {x, y, z};
    ai->Step(t, t - 0.1f, lookAt);
  }
  X2Vec3 LookAt() { return host.Obj(lookAt)->position; }

  FakeHost host;
  X2Object camera = nullptr;
  X2Object lookAt = nullptr;
  X2AIObject* ai = nullptr;
};

}  // namespace

TEST(ForelensRecordTest, RecordDescribesALookAtAI) {
  X2AIData* r = ForelensRecord();
  EXPECT_EQ(r->header.version, 0x00010101u);
  EXPECT_STREQ(r->header.name, "移動方向");
  EXPECT_STREQ(r->header.maker, "ハルベノルソフト");
  EXPECT_EQ(r->capabilities, 0x10u);
  EXPECT_EQ(r->BuildFlock, nullptr);
  EXPECT_EQ(r->CountFish, nullptr);
  EXPECT_EQ(r->NormaliseParameter, nullptr);
  EXPECT_NE(r->CreateInstance, nullptr);
  EXPECT_NE(r->Configure, nullptr);
  FakeHost host;
  char out[16] = "x";
  r->GetDefaultParam(0, out, sizeof out, host.Table(), 0);
  EXPECT_STREQ(out, "");
}

TEST_F(ForelensStepTest, LooksFiveUnitsAheadAlongTheTravel) {
  Make("");
  for (int i = 0; i < 10; ++i) MoveCamera(static_cast<float>(i), 2, 0, 0.1f * i);
  X2Vec3 p = LookAt();
  EXPECT_NEAR(p.x, 9 + 5, 1e-4f);
  EXPECT_NEAR(p.y, 2, 1e-4f);
  EXPECT_NEAR(p.z, 0, 1e-4f);
  // The direction comes from six samples back: a turn shows gradually.
  MoveCamera(9, 2, 5, 1.0f);
  p = LookAt();
  float dx = 9 - 5, dz = 5;  // from the sixth newest, (5, 2, 0)
  float len = std::sqrt(dx * dx + dz * dz);
  EXPECT_NEAR(p.x, 9 + 5 * dx / len, 1e-4f);
  EXPECT_NEAR(p.z, 5 + 5 * dz / len, 1e-4f);
}

TEST_F(ForelensStepTest, LookBackPutsThePointBehind) {
  Make("Forelens:進行方向と逆");
  for (int i = 0; i < 8; ++i) MoveCamera(0, 0, static_cast<float>(i), 0.1f * i);
  X2Vec3 p = LookAt();
  EXPECT_NEAR(p.z, 7 - 5, 1e-4f);
  EXPECT_NEAR(p.x, 0, 1e-4f);
}

TEST_F(ForelensStepTest, FewerThanSixEntriesUseTheOldest) {
  Make(nullptr);  // null reads as empty: look ahead
  MoveCamera(0, 0, 0, 0.0f);
  MoveCamera(0, 3, 0, 0.1f);
  MoveCamera(0, 4, 0, 0.2f);
  X2Vec3 p = LookAt();
  EXPECT_NEAR(p.y, 9, 1e-4f);  // along (0, 4, 0) - (0, 0, 0)
}

TEST_F(ForelensStepTest, StandingStillKeepsTheLastDirection) {
  Make("");
  // Never moved: the starting direction (0, 0, 1).
  MoveCamera(1, 1, 1, 0.0f);
  X2Vec3 p = LookAt();
  EXPECT_NEAR(p.z, 6, 1e-4f);
  EXPECT_FALSE(std::isnan(p.x));
  // Travel along -x, then stop: the point stays ahead along -x.
  for (int i = 1; i < 4; ++i) MoveCamera(1.0f - i, 1, 1, 0.1f * i);
  for (int i = 4; i < 15; ++i) MoveCamera(-2, 1, 1, 0.1f * i);
  p = LookAt();
  EXPECT_NEAR(p.x, -7, 1e-4f);
  EXPECT_NEAR(p.z, 1, 1e-4f);
}

TEST_F(ForelensStepTest, SourceIsAskedUntilTheCameraExists) {
  host.cameraSource = nullptr;
  Make("");
  ai->Step(0.0f, 0.0f, lookAt);
  auto* forelens = static_cast<X2ForelensAI*>(ai);
  EXPECT_EQ(forelens->Source(), nullptr);
  host.cameraSource = camera;
  ai->Step(0.1f, 0.0f, lookAt);
  EXPECT_EQ(forelens->Source(), camera);
  ASSERT_NE(forelens->Params(), nullptr);
  EXPECT_EQ(forelens->Params()->Value(kParamForelens), 0);
}

TEST_F(ForelensStepTest, MissingSlotsDegradeToZero) {
  Make("");
  host.table.GetPosition = nullptr;
  host.table.GetCameraSourceObject = nullptr;
  ai->Step(0.0f, 0.0f, lookAt);
  EXPECT_NEAR(LookAt().z, 5, 1e-4f);
  host.table.SetPosition = nullptr;
  ai->Step(0.1f, 0.0f, lookAt);  // nothing to set; no crash
}
