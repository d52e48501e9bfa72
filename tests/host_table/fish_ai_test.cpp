// AI objects made inside the probe library, stepped by the host's fish step
// and by real fish, and deleted through their own destructor; fish slots and
// render-texture binding on real fish.
#include <gtest/gtest.h>

#include <cmath>

#include "HostCallbacks.h"
#include "HostProbe.h"
#include "clones/C4RenderTexture.h"
#include "config/X2FlockSet.h"
#include "fish/BuiltinFish.h"
#include "fish/FishMotion.h"
#include "fish/X2FileFish.h"
#include "world/C3World.h"

namespace {

const X2FishData* Sardine() {
  int count = 0;
  const X2FishData* const* records = GetBuiltinSpecies(&count);
  return count > 2 ? records[2] : nullptr;
}

class ProbeAITest : public ::testing::Test {
 protected:
  void SetUp() override { ProbeResetCounters(); }
  X2HostCallbacks* host = GetHostCallbacks();
};

}  // namespace

TEST_F(ProbeAITest, HostStepKeepsReplacesOrIgnoresItsOwnResult) {
  C3Move carrier;
  X2Object self = HostHandle(&carrier);

  X2AIObject* ai = ProbeCreateAI(host, kProbeKeep);
  X2AIObject* kept = ai;
  EXPECT_EQ(StepFishAI(ai, 1.0f, 0.5f, self), kept);
  EXPECT_EQ(ai, kept);
  EXPECT_EQ(ProbeAISteps(ai), 1);
  EXPECT_EQ(ProbeAILastSelf(ai), self);

  // Itself: stays, nothing deleted.
  X2AIObject* itself = ProbeCreateAI(host, kProbeSelf);
  X2AIObject* slot = itself;
  StepFishAI(slot, 1.0f, 0.5f, self);
  StepFishAI(slot, 1.5f, 1.0f, self);
  EXPECT_EQ(slot, itself);
  EXPECT_EQ(ProbeAISteps(itself), 2);
  EXPECT_EQ(ProbeAIsDestroyed(), 0);

  // Another object: the old one is destroyed inside the library, the new one
  // runs on and knows its owner.
  X2AIObject* handing = ProbeCreateAI(host, kProbeHandOver);
  slot = handing;
  StepFishAI(slot, 2.0f, 1.5f, self);
  EXPECT_NE(slot, handing);
  EXPECT_EQ(ProbeAIKind(slot), kProbeKeep);
  EXPECT_EQ(slot->owner, self);
  EXPECT_EQ(ProbeAIsDestroyed(), 1);
  EXPECT_EQ(ProbeAIsMade(), 4);

  X2DeleteAIObject(slot);
  X2DeleteAIObject(itself);
  X2DeleteAIObject(kept);
  EXPECT_EQ(ProbeAIsDestroyed(), ProbeAIsMade());
}

TEST_F(ProbeAITest, FileFishStepsItsAIAndKeepsItUntilDeleted) {
  ASSERT_NE(Sardine(), nullptr);
  X2Object handle = host->CreateFish(Sardine());
  auto* fish = dynamic_cast<X2FileFish*>(HostObject(handle));
  ASSERT_NE(fish, nullptr);
  host->SetAI(handle, ProbeCreateAI(host, kProbeSwim));
  X2AIObject* ai = host->GetAI(handle);
  ASSERT_NE(ai, nullptr);
  EXPECT_EQ(ai->owner, handle);

  const D3DXVECTOR3 start = fish->position;
  for (int frame = 1; frame <= 60; ++frame) fish->Move(frame / 30.0f, (frame - 1) / 30.0f);
  EXPECT_EQ(ProbeAISteps(ai), 60);
  EXPECT_EQ(ProbeAILastSelf(ai), handle);
  EXPECT_FLOAT_EQ(fish->speed, 1.0f);
  EXPECT_GT(fish->rotY, 0.9f);  // half a radian per second for two seconds
  EXPECT_NE(fish->position, start);
  EXPECT_TRUE(std::isfinite(fish->position.x) && std::isfinite(fish->position.z));

  ProbeFishResult r;
  C3Move other;
  ProbeFishSlots(host, handle, HostHandle(&other), &r);
  EXPECT_EQ(r.setSwimResult, handle);
  EXPECT_FLOAT_EQ(r.shownSwim, 0.375f);
  EXPECT_FLOAT_EQ(r.swimPhase, 0.625f);
  EXPECT_FLOAT_EQ(r.swimMax, fish->swim.swimMax);
  EXPECT_FLOAT_EQ(r.swimFactor, fish->swim.swimFactor);
  EXPECT_GE(r.swimFactor, 1.0f);
  EXPECT_LE(r.swimFactor, 2.0f);
  for (float v : r.otherSwim) EXPECT_EQ(v, -9.0f);  // not a fish: ignored
  EXPECT_EQ(r.otherFactor, 0.0f);

  // The AI outlives the device objects and goes with the fish.
  fish->DeleteDeviceObjects();
  EXPECT_EQ(ProbeAIsDestroyed(), 0);
  EXPECT_EQ(fish->ai, ai);
  fish->FinalCleanUp();
  delete fish;
  EXPECT_EQ(ProbeAIsDestroyed(), 1);
}

TEST_F(ProbeAITest, RenderTextureRowBoundThroughTheTable) {
  TheFlocks.Clear();
  TheFlocks.AddEntry("マイワシ_ハルベノルソフト");
  TheFlocks.BeginFlock();
  {
    C3World world;
    X2Object fish[4] = {};
    X2Object texture = ProbeBuildTextureRow(host, Sardine(), 3, fish);
    TheFlocks.EndBuilding();
    auto* t = dynamic_cast<C4RenderTexture*>(HostObject(texture));
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(world.children.count, 5);
    EXPECT_EQ(TheFlocks.Size(0), 4);
    auto* source = dynamic_cast<C6Fish*>(HostObject(fish[0]));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(t->Source(), source);
    EXPECT_EQ(source->cloneMode, kCloneSource);
    EXPECT_EQ(source->renderTexture, t);
    EXPECT_EQ(source->cloneSource, source);
    for (int i = 1; i < 4; ++i) {
      auto* clone = dynamic_cast<C6Fish*>(HostObject(fish[i]));
      ASSERT_NE(clone, nullptr);
      EXPECT_EQ(clone->cloneMode, kCloneCopy);
      EXPECT_EQ(clone->renderTexture, t);
      EXPECT_EQ(clone->cloneSource, source);
    }
    EXPECT_EQ(t->Clones().count, 4);  // the source is its own first clone

    // Null, swapped and wrong-class handles change nothing.
    C3Move plain;
    ProbeBadBinding(host, fish[1], texture, HostHandle(&plain));
    EXPECT_EQ(t->Clones().count, 4);
    EXPECT_EQ(t->Source(), source);
    EXPECT_EQ(dynamic_cast<C6Fish*>(HostObject(fish[1]))->cloneMode, kCloneCopy);

    // Each fish's AI goes with the world, destroyed inside the library.
    for (X2Object f : fish) host->SetAI(f, ProbeCreateAI(host, kProbeKeep));
    EXPECT_EQ(ProbeAIsMade(), 4);
    EXPECT_EQ(ProbeAIsDestroyed(), 0);
  }
  EXPECT_EQ(ProbeAIsDestroyed(), 4);
  TheFlocks.Clear();
}
