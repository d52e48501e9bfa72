// Objects registered while the world's device objects exist get theirs at
// once; registration through the host table ignores null and repeats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "C3World.h"
#include "HostCallbacks.h"

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
