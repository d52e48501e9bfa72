// The world without a device: children, life cycle order, clocks, passes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "LogTestSupport.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

std::vector<std::string> g_calls;

class Recorder : public C3Object {
 public:
  Recorder(const char* tag, uint32_t f = 0) : tag_(tag) {
    SetClassName(tag);
    flags = f;
  }
  ~Recorder() override { g_calls.push_back("dtor " + tag_); }
  HRESULT InitDeviceObjects() override { return Log("init"); }
  HRESULT RestoreDeviceObjects() override { return Log("restore"), failRestore; }
  HRESULT InvalidateDeviceObjects() override { return Log("invalidate"); }
  HRESULT DeleteDeviceObjects() override { return Log("delete"); }
  HRESULT FinalCleanUp() override { return Log("final"); }
  HRESULT Move(float current, float previous) override {
    lastCurrent = current;
    lastPrevious = previous;
    return 0;
  }
  HRESULT Render() override { return Log("render"); }
  HRESULT failRestore = 0;
  float lastCurrent = -1.0f, lastPrevious = -1.0f;

 private:
  HRESULT Log(const char* what) {
    g_calls.push_back(std::string(what) + " " + tag_);
    return 0;
  }
  std::string tag_;
};

class PausingHost : public C3SceneHost {
 public:
  bool IsScenePaused() override { return paused; }
  void CameraStartHook() override { ++starts; }
  bool paused = false;
  int starts = 0;
};

std::vector<std::string> Take() {
  std::vector<std::string> out;
  out.swap(g_calls);
  return out;
}

TEST(C3World, LifeCycleInListOrderReleaseInReverse) {
  g_calls.clear();
  {
    C3World world;
    Recorder* a = new Recorder("A");
    Recorder* b = new Recorder("B");
    world.AddChild(a);
    world.AddChild(b);
    EXPECT_EQ(0, a->listIndex);
    EXPECT_EQ(1, b->listIndex);
    world.InitDeviceObjects();
    world.RestoreDeviceObjects();
    EXPECT_EQ((std::vector<std::string>{"init A", "init B", "restore A", "restore B"}),
              Take());
    world.InvalidateDeviceObjects();
    world.DeleteDeviceObjects();
    EXPECT_EQ((std::vector<std::string>{"invalidate B", "invalidate A", "delete B", "delete A"}),
              Take());
  }
  // Deleting the world cleans up and deletes every child, last first.
  EXPECT_EQ((std::vector<std::string>{"final B", "dtor B", "final A", "dtor A"}), Take());
  EXPECT_EQ(nullptr, C3World::Current());
}

TEST(C3World, FailedRestoreStopsAtThatChild) {
  g_calls.clear();
  C3World world;
  Recorder* a = new Recorder("A");
  Recorder* b = new Recorder("B");
  Recorder* c = new Recorder("C");
  b->failRestore = E_FAIL;
  world.AddChild(a);
  world.AddChild(b);
  world.AddChild(c);
  EXPECT_EQ(E_FAIL, world.RestoreDeviceObjects());
  EXPECT_EQ((std::vector<std::string>{"restore A", "restore B"}), Take());
}

TEST(C3World, DeletingTheMainCameraClearsItsPointer) {
  {
    C3World world;
    C3Camera* camera = new C3Camera;
    world.AddChild(camera);
    SetMainCamera(camera);
  }
  EXPECT_EQ(nullptr, GetMainCamera());
}

TEST(C3World, CamerasRunOnTheUnscaledClockAndPauseStopsBoth) {
  PausingHost host;
  SetSceneHost(&host);
  C3World world;
  Recorder* fish = new Recorder("Fish");
  Recorder* cam = new Recorder("Cam", kObjUnscaledClock);
  world.AddChild(fish);
  world.AddChild(cam);
  world.SetSpeedFactor(0.5f);
  for (int i = 0; i < 20; ++i) world.Move(0.1f);
  EXPECT_NEAR(2.045f, cam->lastCurrent, 1e-3f);
  EXPECT_NEAR(1.955f, cam->lastPrevious, 1e-3f);
  EXPECT_NEAR(cam->lastCurrent * 0.5f, fish->lastCurrent, 1e-3f);
  host.paused = true;
  float before = fish->lastCurrent;
  fish->lastCurrent = -1.0f;
  world.Move(0.1f);
  EXPECT_FLOAT_EQ(before, fish->lastCurrent);  // moved, with unchanged times
  host.paused = false;
  EXPECT_EQ(0, world.started);
  for (int i = 0; i < 200; ++i) world.Move(0.1f);
  EXPECT_EQ(1, world.started);
  EXPECT_EQ(1, world.settled);
  EXPECT_EQ(1, host.starts);
  world.SetSpeedFactor(100.0f);
  EXPECT_FLOAT_EQ(8.0f, world.GetSpeedFactor());
  world.SetSpeedFactor(0.01f);
  EXPECT_FLOAT_EQ(0.125f, world.GetSpeedFactor());
  SetSceneHost(nullptr);
}

TEST(C3World, AddChildLogsTheClassName) {
  // Other programs may share the log: look only at what this test appends.
  CreateDirectoryA("c:\\log", nullptr);
  using qvtest::ReadLog;
  size_t before = ReadLog().size();
  SetDebugLogLevel(1);
  {
    C3World world;
    world.AddChild(new Recorder("X6Fog"));
  }
  SetDebugLogLevel(0);
  std::string text = ReadLog();
  ASSERT_GT(text.size(), before);
  EXPECT_NE(std::string::npos, text.find("WORLD AddChild : X6Fog\r\n", before));
}

}  // namespace
