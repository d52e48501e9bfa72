// The real program with the strongest water current and one flock, built by
// the test AI DriftFlock.qva: fish that never swim and drift with the
// current for a stretch of the run. DriftCamera.qve holds the camera on
// them. The fish are carried along together, level (but where the ground
// rises under one: it is held over the floor), no faster than the current
// goes, and stay where it left them once their drift is off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ProgramTestSupport.h"

using namespace qvtest;

namespace {

// The strongest current's greatest speed (units per second), with room for
// the log's rounding.
constexpr float kFastest = 0.96f + 0.02f;

// A logged position, at frame time t, after frame spans summing to `spans`:
// the drift between two samples spans the difference of their sums. floor:
// the ground's height under it.
struct Sample {
  float t, spans, x, y, z, floor;
};

// The logged positions of each fish, in order.
std::map<int, std::vector<Sample>> FishPositions(const std::string& log) {
  const std::string prefix = "DriftFlock: fish ";
  std::map<int, std::vector<Sample>> out;
  for (size_t at = log.find(prefix); at != std::string::npos; at = log.find(prefix, at + 1)) {
    int fish = -1;
    Sample s{};
    if (sscanf(log.c_str() + at + prefix.size(), "%d t %f spans %f at %f %f %f floor %f", &fish, &s.t, &s.spans, &s.x,
               &s.y, &s.z, &s.floor) == 7)
      out[fish].push_back(s);
  }
  return out;
}

float LoggedTime(const std::string& log, const std::string& prefix) {
  const size_t at = log.find(prefix);
  float t = NAN;
  if (at != std::string::npos) sscanf(log.c_str() + at + prefix.size(), "%f", &t);
  return t;
}

class DriftProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLog();
    dir_ = MakeTempDir("qvdrift");
    ASSERT_TRUE(CopyDistFolder(dir_, {{"DriftFlock.qva", "ai\\DriftFlock.qva"},
                                      {"DriftCamera.qve", "ai\\DriftCamera.qve"}}));
    const std::string ini = dir_ + "qelvar.ini";
    WritePrivateProfileStringA("Display", "DebugLogLevel", "2", ini.c_str());
    WritePrivateProfileStringA("system", "Lights", "0", ini.c_str());
    WritePrivateProfileStringA("system", "HumanCamera", "0", ini.c_str());
    WritePrivateProfileStringA("system", "WaterCurrent", "3", ini.c_str());
    const std::string cameras = dir_ + "CameraConfig.ini";
    for (const char* list : {"Source", "Target"}) {
      const std::string config = std::string(list) + "CameraConfig", entry = std::string(list) + "Camera0";
      WritePrivateProfileStringA(config.c_str(), "CameraChangeTime", "6", cameras.c_str());
      WritePrivateProfileStringA(config.c_str(), "CameraCount", "1", cameras.c_str());
      WritePrivateProfileStringA(entry.c_str(), "ai", "DriftCamera_QvTest", cameras.c_str());
      WritePrivateProfileStringA(entry.c_str(), "aiParam", list[0] == 'T' ? "look" : "", cameras.c_str());
    }
    // The one flock, of the shipped first flock's fish.
    const std::string flocks = dir_ + "FlockConfig.ini";
    WritePrivateProfileStringA("flockConfig", "flockCount", "1", flocks.c_str());
    WritePrivateProfileStringA("flock0", "ai", "DriftFlock_QvTest", flocks.c_str());
    WritePrivateProfileStringA("flock0", "aiParam", "", flocks.c_str());
  }
  void TearDown() override { RemoveTree(dir_); }

  std::string dir_;
};

TEST_F(DriftProgram, FishDriftWithTheCurrentWhileTheirDriftIsOn) {
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir_);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(WaitForLog("DriftFlock: drift on at ", 0, 180000), std::string::npos) << ReadLog();

  // A frame as the drift starts and one a few seconds on.
  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  SavedFrame a, b;
  ASSERT_TRUE(CaptureFrame(window, dir_, 0, &a)) << ReadLog();
  WriteFileBytes(folder + "drift_a.bmp", a.bytes.data(), a.bytes.size());
  PumpMessages(4000);
  ASSERT_TRUE(CaptureFrame(window, dir_, 1, &b)) << ReadLog();
  WriteFileBytes(folder + "drift_b.bmp", b.bytes.data(), b.bytes.size());

  // Positions logged for a few seconds after the drift went off.
  ASSERT_NE(WaitForLog("DriftFlock: drift off at ", 0, 120000), std::string::npos) << ReadLog();
  const float offAt = LoggedTime(ReadLog(), "DriftFlock: drift off at ");
  EXPECT_TRUE(WaitUntil(
      [&] {
        const auto last = FishPositions(ReadLog())[4];
        return !last.empty() && last.back().t > offAt + 3.0f;
      },
      60000));

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(60000));
  EXPECT_EQ(0u, program.ExitCode());
  EXPECT_FALSE(FileExists(dir_ + "LastError.txt")) << ReadLog();
  const std::string log = ReadLog();
  EXPECT_NE(log.find("DriftFlock: 5 fish for flock 0"), std::string::npos) << log;
  EXPECT_EQ(log.find("error box"), std::string::npos);

  const auto fish = FishPositions(log);
  ASSERT_EQ(fish.size(), 5u) << log;
  const std::vector<Sample>& first = fish.begin()->second;
  size_t count = first.size();
  for (const auto& [index, samples] : fish) count = std::min(count, samples.size());
  ASSERT_GE(count, 8u);
  float path = 0.0f;
  for (const auto& [index, samples] : fish) {
    for (size_t i = 1; i < count; ++i) {
      const Sample& p = samples[i - 1];
      const Sample& q = samples[i];
      ASSERT_EQ(q.t, first[i].t) << "the flock logs in the same frame";
      // The current is the same everywhere: every fish moves as the first.
      EXPECT_NEAR(q.x - p.x, first[i].x - first[i - 1].x, 0.003f) << "fish " << index << " at " << q.t;
      EXPECT_NEAR(q.z - p.z, first[i].z - first[i - 1].z, 0.003f) << "fish " << index << " at " << q.t;
      // It is level, and no faster than the strongest current. Where the
      // ground rises under it the fish is held 0.3 over the floor (and
      // stays at that height where the ground falls again): it never
      // sinks, and it rises only where it came near the floor. Where the
      // floor comes within reach of the waves' ceiling (which dips to 3.5
      // under the rest at 0) the moving ceiling holds it instead.
      const bool underWaves = std::max(p.floor, q.floor) + 0.3f > kLowestWaveCeiling;
      if (!underWaves) {
        EXPECT_GE(q.y, p.y - 0.002f) << "fish " << index << " at " << q.t;
        EXPECT_GE(q.y, q.floor + 0.3f - 0.005f) << "fish " << index << " at " << q.t;
        if (q.y > p.y + 0.002f) {
          EXPECT_LT(std::min(p.y - p.floor, q.y - q.floor), 2.0f) << "fish " << index << " rose at " << q.t;
        }
      }
      const float moved = std::hypot(q.x - p.x, q.z - p.z);
      EXPECT_LE(moved, kFastest * (q.spans - p.spans)) << "fish " << index << " at " << q.t;
      // Still once its drift is off.
      if (p.t > offAt) {
        EXPECT_LT(moved, 0.002f) << "fish " << index << " at " << q.t;
      }
      if (index == fish.begin()->first && q.t <= offAt) path += moved;
    }
  }
  // Eight seconds of a current never slower than 0.16 units a second, bar
  // the instants it turns.
  EXPECT_GT(path, 0.5f) << log;
}

}  // namespace
