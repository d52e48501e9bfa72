// The plug-in interface as this build lays it out. The sizes and offsets of
// the 32-bit product are compile-time checks in X2PluginAbi.h itself (this
// file brings them into the 32-bit build); here: what holds on any build.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "X2PluginAbi.h"

namespace {

int gDestroyed = 0;

class CountingAI : public X2AIObjectImpl<CountingAI> {
 public:
  explicit CountingAI(int* steps) : steps_(steps) {}
  ~CountingAI() { ++gDestroyed; }
  X2AIObject* X2_THISCALL Step(float, float, X2Object self) override {
    ++*steps_;
    return self == owner ? nullptr : this;
  }

 private:
  int* steps_;
};

}  // namespace

TEST(PluginAbi, HostTableSlotsSitAtTheirIndexes) {
  EXPECT_EQ(sizeof(X2HostCallbacks), 256 * sizeof(void*));
  EXPECT_EQ(offsetof(X2HostCallbacks, LogPrint) / sizeof(void*), 129u);
  EXPECT_EQ(offsetof(X2HostCallbacks, GetCameraPosition) / sizeof(void*), 144u);
  // A table cleared to zero has every slot null.
  X2HostCallbacks table;
  std::memset(&table, 0, sizeof(table));
  EXPECT_EQ(table.Random, nullptr);
}

TEST(PluginAbi, RecordHeaderIsTheFirstMember) {
  X2AIData ai = {};
  X2FishData fish = {};
  EXPECT_EQ(static_cast<void*>(&ai.header), static_cast<void*>(&ai));
  EXPECT_EQ(static_cast<void*>(&fish.header), static_cast<void*>(&fish));
  EXPECT_EQ(sizeof(X2RecordHeader), 536u);  // no pointers: the same on every build
  EXPECT_EQ(offsetof(X2RecordHeader, name), 0x10u);
  EXPECT_EQ(offsetof(X2RecordHeader, maker), 0x114u);
}

TEST(PluginAbi, AIObjectTableHoldsDestroyThenStep) {
  int steps = 0;
  X2AIObject* ai = new CountingAI(&steps);
  ai->owner = ai;
  // Slot 1 is Step: call it through the table as the host's own compiler sees it.
  EXPECT_EQ(ai->Step(1.0f, 0.5f, ai), nullptr);
  EXPECT_EQ(steps, 1);
  // Slot 0 is the deleting destructor, taking the delete flag.
#if defined(__x86_64__)
  void** table = *reinterpret_cast<void***>(ai);
  using DestroyFn = void* (*)(X2AIObject*, int);
  // On x86_64 the object pointer travels as the first argument.
  gDestroyed = 0;
  reinterpret_cast<DestroyFn>(table[0])(ai, 1);
  EXPECT_EQ(gDestroyed, 1);
#else
  gDestroyed = 0;
  X2DeleteAIObject(ai);
  EXPECT_EQ(gDestroyed, 1);
#endif
}

TEST(PluginAbi, DeleteWithoutFreeRunsTheDestructorOnly) {
  int steps = 0;
  alignas(CountingAI) unsigned char storage[sizeof(CountingAI)];
  X2AIObject* ai = new (storage) CountingAI(&steps);
  gDestroyed = 0;
  EXPECT_EQ(ai->Destroy(0), static_cast<void*>(storage));
  EXPECT_EQ(gDestroyed, 1);
}

TEST(PluginAbi, KindAndVersionWords) {
  EXPECT_EQ(X2_VERSION_AI & X2_KIND_MASK, X2_KIND_AI);
  EXPECT_EQ(X2_VERSION_FISH & X2_KIND_MASK, X2_KIND_FISH);
  EXPECT_EQ(X2_VERSION_FISH_XFILE & X2_FORMAT_MASK, X2_FISH_FORMAT_MAX);
  EXPECT_STREQ(X2_AI_EXPORT_NAME, "?GetAIData@@YAPAUX2AIData@@PAD0@Z");
  EXPECT_STREQ(X2_FISH_EXPORT_NAME, "?GetFishData@@YAPAUX2FishData@@PBD0@Z");
}
