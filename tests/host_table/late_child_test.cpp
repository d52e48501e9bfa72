// Objects registered while the world's device objects exist get theirs at
// once; registration through the host table ignores null and repeats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostCallbacks.h"
#include "world/C3World.h"

namespace {

std::vector<std::string>* g_events = nullptr;

class Recorder : public C3Object {
 public:
  explicit Recorder(const char* name) { SetClassName(name); }
  HRESULT InitDeviceObjects() override { return Note("init"); }
  HRESULT RestoreDeviceObjects() override { return Note("restore"); }
  HRESULT InvalidateDeviceObjects() override { return Note("invalidate"); }
  HRESULT DeleteDeviceObjects() override { return Note("delete"); }

 private:
  HRESULT Note(const char* what) {
    if (g_events) g_events->push_back(std::string(className) + " " + what);
    return 0;
  }
};

}  // namespace

TEST(LateChild, GetsItsDeviceObjectsWhenTheWorldHasThem) {
  std::vector<std::string> events;
  g_events = &events;
  {
    C3World world;
    world.AddChild(new Recorder("early"));
    EXPECT_TRUE(events.empty());  // made with the world's own init
    world.InitDeviceObjects();
    world.AddChild(new Recorder("afterInit"));
    world.RestoreDeviceObjects();
    events.clear();
    GetHostCallbacks()->RegisterObject(HostHandle(new Recorder("late")));
    EXPECT_EQ(events, (std::vector<std::string>{"late init", "late restore"}));

    world.InvalidateDeviceObjects();
    events.clear();
    world.AddChild(new Recorder("lost"));
    EXPECT_EQ(events, (std::vector<std::string>{"lost init"}));  // restored with the others
    world.RestoreDeviceObjects();
    world.DeleteDeviceObjects();
    events.clear();
    world.AddChild(new Recorder("closed"));
    EXPECT_TRUE(events.empty());
  }
  g_events = nullptr;
}

TEST(LateChild, RegistrationIgnoresNullAndRepeats) {
  C3World world;
  Recorder* object = new Recorder("once");
  X2HostCallbacks* host = GetHostCallbacks();
  host->RegisterObject(nullptr);
  host->RegisterObject(HostHandle(object));
  host->RegisterObject(HostHandle(object));  // the world would delete it twice
  EXPECT_EQ(world.children.count, 1);
  EXPECT_EQ(world.children.items[0], object);
}

// Registration tells a child by its place in the list, without a search:
// a stranger whose remembered place holds another child is still new, and
// thousands of fish register in linear time.
TEST(LateChild, RegistrationKnowsChildrenByTheirPlace) {
  C3World world;
  X2HostCallbacks* host = GetHostCallbacks();
  std::vector<Recorder*> fish;
  for (int i = 0; i < 20000; ++i) {
    fish.push_back(new Recorder("fish"));
    host->RegisterObject(HostHandle(fish.back()));
  }
  ASSERT_EQ(world.children.count, 20000);
  for (int i : {0, 7, 19999}) {
    EXPECT_TRUE(world.HasChild(fish[static_cast<size_t>(i)]));
    host->RegisterObject(HostHandle(fish[static_cast<size_t>(i)]));
  }
  EXPECT_EQ(world.children.count, 20000);
  auto* stranger = new Recorder("stranger");
  stranger->listIndex = 7;
  EXPECT_FALSE(world.HasChild(stranger));
  host->RegisterObject(HostHandle(stranger));
  EXPECT_EQ(world.children.count, 20001);
  EXPECT_EQ(world.children.items[20000], stranger);
  EXPECT_GE(world.children.capacity, 20001);
  EXPECT_FALSE(world.HasChild(nullptr));
}
