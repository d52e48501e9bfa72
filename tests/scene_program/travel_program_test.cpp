// The real program with a camera that travels: the test camera AI
// TravelCamera.qve, built in the test tree, is the one entry of the Source
// camera list of a copy of the distributable folder. The floor is rebuilt
// round the camera as it goes, the frames on either side of a rebuild differ
// no more than frames where nothing was rebuilt, and the heights the plug-in
// reads through the host are the floor's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ProgramTestSupport.h"

using namespace qvtest;

namespace {

const char* const kRebuilt = "Terrain rebuilt around ";

int Count(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

// Each line holding `prefix`, read with `format` into up to six floats.
std::vector<std::vector<float>> Lines(const std::string& log, const std::string& prefix, const char* format,
                                      int fields) {
  std::vector<std::vector<float>> out;
  for (size_t at = log.find(prefix); at != std::string::npos; at = log.find(prefix, at + 1)) {
    float v[6] = {NAN, NAN, NAN, NAN, NAN, NAN};
    const std::string line = log.substr(at, log.find('\n', at) - at);
    if (sscanf(line.c_str() + prefix.size(), format, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]) == fields)
      out.emplace_back(v, v + fields);
  }
  return out;
}

// Mean absolute difference per channel over the lower half of the frame,
// where the floor is.
double FloorDifference(const SavedFrame& a, const SavedFrame& b) {
  double sum = 0.0;
  for (int y = a.h / 2; y < a.h; ++y)
    for (int x = 0; x < a.w; ++x)
      for (int c = 0; c < 3; ++c) sum += std::abs(a.At(x, y)[c] - b.At(x, y)[c]);
  return sum / (3.0 * a.w * (a.h - a.h / 2));
}

// A floor height somewhere within stacked features of the base height.
bool PlausibleFloor(float y) { return std::isfinite(y) && y > -70.0f && y < 15.0f; }

// A captured frame and the rebuilds logged before it was asked for and
// after it was saved: equal counts date the frame between two rebuilds.
struct Shot {
  SavedFrame frame;
  int rebuildsBefore = 0, rebuildsAfter = 0;
  bool Dated() const { return rebuildsBefore == rebuildsAfter; }
};

// What the scene did, as its debug log lines tell once a second: the most
// fish moves under an AI and with a morph and coral pieces drawn in any
// one line, and the colonies of the last line.
struct Activity {
  int steered = 0, morphed = 0, coral = 0, colonies = 0;
  int lines = 0;
};

Activity ReadActivity(size_t from) {
  const std::string prefix = "scene activity: ";
  const std::string log = ReadLog();
  Activity seen;
  for (size_t at = log.find(prefix, from); at != std::string::npos; at = log.find(prefix, at + 1)) {
    int steered = 0, morphed = 0, coral = 0;
    if (sscanf(log.c_str() + at + prefix.size(),
               "%d fish moves under an AI, %d with a morph, %d coral pieces drawn, %d coral colonies",
               &steered, &morphed, &coral, &seen.colonies) != 4)
      continue;
    seen.steered = std::max(seen.steered, steered);
    seen.morphed = std::max(seen.morphed, morphed);
    seen.coral = std::max(seen.coral, coral);
    ++seen.lines;
  }
  return seen;
}

std::string Describe(const Activity& a) {
  return std::to_string(a.steered) + " fish moves under an AI, " + std::to_string(a.morphed) +
         " with a morph, " + std::to_string(a.coral) + " coral pieces drawn, " +
         std::to_string(a.colonies) + " coral colonies, in " + std::to_string(a.lines) + " lines";
}

class TravelProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLog();
    dir_ = MakeTempDir("qvtravel");
    ASSERT_TRUE(CopyDistFolder(dir_, {{"TravelCamera.qve", "ai\\TravelCamera.qve"}}));
    const std::string ini = dir_ + "qelvar.ini";
    WritePrivateProfileStringA("Display", "DebugLogLevel", "2", ini.c_str());
    WritePrivateProfileStringA("system", "Lights", "0", ini.c_str());
    // The travelling camera is the one position entry, for the whole run.
    UseOnlySourceCamera(dir_, "TravelCamera_QvTest");
  }
  void TearDown() override { RemoveTree(dir_); }

  bool Capture(HWND window, Shot* shot) {
    // Shots at least a quarter second apart: back to back on a quick
    // machine, 80 of them covered too little of the camera's way for the
    // rebuilds the test waits for.
    const DWORD since = GetTickCount() - lastShot_;
    if (shots_ > 0 && since < kShotSpacingMs) PumpMessages(kShotSpacingMs - since);
    char name[32];
    snprintf(name, sizeof name, "capture\\L%04d.bmp", shots_++);
    RECT client{};
    GetClientRect(window, &client);
    shot->rebuildsBefore = Count(ReadLog(), kRebuilt);
    PressKey(window, 'C');
    const bool ok = WaitForSavedFrame(dir_ + name, client.right, client.bottom, &shot->frame, 60000);
    shot->rebuildsAfter = Count(ReadLog(), kRebuilt);
    lastShot_ = GetTickCount();
    return ok;
  }

  static constexpr DWORD kShotSpacingMs = 250;
  std::string dir_;
  int shots_ = 0;
  DWORD lastShot_ = 0;
};

TEST_F(TravelProgram, FloorFollowsTheTravellingCamera) {
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir_);
  ASSERT_NE(window, nullptr);
  // The camera keeps its start pose for 10 seconds; then it follows the
  // plug-in's mover, at x 0 by then and 6 units further every second, so
  // the floor is rebuilt about every 5 seconds.
  ASSERT_NE(WaitForLog(kRebuilt, 0, 180000), std::string::npos) << ReadLog();

  // Frames back to back until two rebuilds fell between dated frames two
  // shots apart (the frame between, taken while the floor was rebuilt, is
  // seldom dated itself); pairs as far apart with no rebuild between them
  // tell how much the travel alone changes the floor.
  std::vector<Shot> shots(2);
  ASSERT_TRUE(Capture(window, &shots[0])) << ReadLog();
  ASSERT_TRUE(Capture(window, &shots[1])) << ReadLog();
  // Difference of the pair ending at each shot: -1 undated, else by kind.
  std::vector<double> quiet(2, -1.0), rebuilt(2, -1.0);
  int rebuiltPairs = 0;
  // Pairs next to each other can straddle the same rebuild: go on until
  // two rebuilds after the first one have been seen as well.
  while ((rebuiltPairs < 2 || shots.back().rebuildsAfter < 3) && shots.size() < 80) {
    shots.emplace_back();
    ASSERT_TRUE(Capture(window, &shots.back())) << ReadLog();
    quiet.push_back(-1.0);
    rebuilt.push_back(-1.0);
    const size_t ib = shots.size() - 1, ia = ib - 2;
    const Shot& a = shots[ia];
    const Shot& b = shots[ib];
    if (!a.Dated() || !b.Dated()) continue;
    const double d = FloorDifference(a.frame, b.frame);
    if (b.rebuildsAfter == a.rebuildsAfter) {
      quiet[ib] = d;
    } else if (b.rebuildsAfter == a.rebuildsAfter + 1) {
      rebuilt[ib] = d;
      ++rebuiltPairs;
    }
  }
  ASSERT_GT(rebuiltPairs, 0) << "no rebuild fell between two dated frames in " << shots.size();
  // Each rebuild against the quiet pairs taken just before and after it:
  // the floor near the camera changes the frames more at some stretches of
  // the way than at others. A seam or a jump of the floor shows as a change
  // well above what the travel alone makes there.
  size_t before = 0, after = 0, quietA = 0, quietB = 0;
  double worst = -1.0;
  for (size_t i = 0; i < shots.size(); ++i) {
    if (rebuilt[i] < 0.0) continue;
    double local = -1.0;
    size_t at = 0;
    for (size_t j = i > 8 ? i - 8 : 0; j < std::min(shots.size(), i + 9); ++j)
      if (quiet[j] > local) local = quiet[j], at = j;
    ASSERT_GE(local, 0.0) << "no quiet pair near shot " << i;
    printf("floor difference across a rebuild %.2f, without one nearby up to %.2f\n", rebuilt[i], local);
    EXPECT_LT(rebuilt[i], local * 2.0 + 5.0) << "shot " << i;
    if (rebuilt[i] - local > worst) {
      worst = rebuilt[i] - local;
      before = i - 2, after = i, quietA = at - 2, quietB = at;
    }
  }

  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::pair<const char*, size_t> saved[] = {
      {"travel_before.bmp", before}, {"travel_after.bmp", after}, {"travel_quiet_a.bmp", quietA},
      {"travel_quiet_b.bmp", quietB}};
  for (const auto& [name, index] : saved)
    WriteFileBytes(folder + name, shots[index].frame.bytes.data(), shots[index].frame.bytes.size());

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(60000));
  EXPECT_EQ(0u, program.ExitCode());
  EXPECT_FALSE(FileExists(dir_ + "LastError.txt")) << ReadLog();
  const std::string log = ReadLog();
  EXPECT_EQ(log.find("error box"), std::string::npos);
  EXPECT_EQ(log.find("nan"), std::string::npos);

  // The plug-in alone moves the camera, with flocks in the scene: once
  // past its start pose, along +x at about 6 units a second, z at 0.
  std::vector<ViewLine> view = ViewLines(log);
  view.erase(std::remove_if(view.begin(), view.end(), [](const ViewLine& v) { return v.z == -15.0f; }), view.end());
  ASSERT_GE(view.size(), 10u);
  for (size_t i = 1; i < view.size(); ++i) {
    EXPECT_EQ(view[i].z, 0.0f) << i;
    EXPECT_GT(view[i].x, view[i - 1].x) << i;
  }
  EXPECT_GT(view.back().x - view.front().x, 3.0f * (view.size() - 1));

  // Each rebuild centres the floor further along the camera's way.
  const auto centres = Lines(log, kRebuilt, "%f %f", 2);
  ASSERT_GE(centres.size(), 3u);
  for (size_t i = 1; i < centres.size(); ++i) {
    EXPECT_GT(centres[i][0], centres[i - 1][0] + 20.0f) << i;
    EXPECT_NEAR(centres[i][1], 0.0f, 2.0f) << i;
  }

  // A point fixed in the world keeps its height through every rebuild.
  EXPECT_EQ(log.find("TravelCamera: floor at "), std::string::npos) << log;

  // Heights under the camera and under a fish, read through the host once
  // the floor stands: finite, round the base height and varying along the
  // way (the missing-floor answer is a constant -5). The floor's features
  // are random and may stack, so a single height may lie anywhere within
  // a few features of the base; only the way as a whole is bounded.
  const size_t built = log.find("FRAG: new");
  ASSERT_NE(built, std::string::npos);
  const auto own = Lines(log.substr(built), "TravelCamera: floor ", "%f at %f %f", 3);
  const auto fish = Lines(log.substr(built), "TravelCamera: fish at ", "%f %f %f floor %f", 4);
  ASSERT_GE(own.size(), 10u);
  ASSERT_GE(fish.size(), 10u);
  float lowest = 1000.0f, highest = -1000.0f;
  for (const auto& r : own) {
    EXPECT_TRUE(PlausibleFloor(r[0])) << r[0] << " at " << r[1] << " " << r[2];
    lowest = std::min(lowest, r[0]);
    highest = std::max(highest, r[0]);
  }
  EXPECT_GT(highest - lowest, 0.5f);
  // The fish stay in the water: over the floor and under the crests of the
  // waves (the surface at 1, the waves at most 3.5 over it). A fish is
  // stopped 0.3 over the floor (the log gives its height to 0.1), but where
  // the floor rises into the reach of the waves' ceiling (which dips to 3.5
  // under the rest at 0) the ceiling may hold it in the ground: there is no
  // water there. The first sample is taken before the fish's first move.
  float clearance = 1000.0f, top = -1000.0f;
  int shallow = 0;
  for (size_t i = 1; i < fish.size(); ++i) {
    const auto& r = fish[i];
    EXPECT_TRUE(PlausibleFloor(r[3])) << r[3];
    EXPECT_LT(r[1], 4.5f) << "fish over the sea surface at " << r[0] << " " << r[2];
    top = std::max(top, r[1]);
    if (r[3] + 0.3f > kLowestWaveCeiling) {
      ++shallow;
      continue;
    }
    EXPECT_GE(r[1], r[3] + 0.3f - 0.06f) << "fish under the floor at " << r[0] << " " << r[2];
    clearance = std::min(clearance, r[1] - r[3]);
  }
  printf("fish sampled %zu: least height over the floor %.2f, highest %.2f, %d over a floor within the waves' "
         "reach\n",
         fish.size() - 1, clearance, top, shallow);
}

}  // namespace

namespace {

// The fish over a minute of scene time with coral on the floor, with the sea
// surface and without it: at debug log level 2 the program logs, once a
// second, the least height over the floor and the highest point of every
// fish.
// Alt+Enter twice (full screen and back: the device objects released and
// made again each time) leaves the default scene as it was: the flocks
// steer and morph, the coral is in place and drawn. The travelling camera
// keeps the floor and its coral in view once its start pose is over. The
// frames after the switches and the log lines around them are kept as
// artefacts.
TEST_F(TravelProgram, FlocksAndCoralOutliveTwoWindowModeSwitches) {
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir_);
  ASSERT_NE(window, nullptr);
  const auto lively = [](const Activity& a) {
    return a.steered > 0 && a.morphed > 0 && a.coral > 0 && a.colonies > 0;
  };
  Activity before, after;
  ASSERT_TRUE(WaitUntil([&] { return lively(before = ReadActivity(0)); }, 120000))
      << "before the switches: " << Describe(before);
  for (int restores : {2, 3}) {
    PostMessageA(window, WM_COMMAND, 40003, 0);
    ASSERT_NE(WaitForLog("restore device objects " + std::to_string(restores) + ".", 0, 60000), std::string::npos)
        << ReadLog();
  }
  // The first line after the switches may still count frames from before.
  const size_t first = WaitForLog("scene activity: ", ReadLog().rfind("restore device objects 3."), 60000);
  ASSERT_NE(first, std::string::npos) << ReadLog();
  EXPECT_TRUE(WaitUntil([&] { return lively(after = ReadActivity(first + 1)); }, 60000))
      << "before the switches: " << Describe(before) << "; after them: " << Describe(after);
  // Three frames a second and a half apart, once the camera travels over
  // the floor (its start pose holds for the first 10 seconds).
  WaitUntil([] { return ReadActivity(0).lines >= 13; }, 60000);
  Shot shots[3];
  for (int n = 0; n < 3; ++n) {
    if (n > 0) PumpMessages(1500);
    ASSERT_TRUE(Capture(window, &shots[n])) << ReadLog();
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(60000));
  EXPECT_EQ(0u, program.ExitCode());
  EXPECT_FALSE(FileExists(dir_ + "LastError.txt"));

  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  for (int n = 0; n < 3; ++n)
    WriteFileBytes(folder + "mode_switch_after_" + std::to_string(n) + ".bmp", shots[n].frame.bytes.data(),
                   shots[n].frame.bytes.size());
  // The device life cycle and the scene's activity around the switches.
  std::string lines;
  const std::string log = ReadLog();
  for (size_t at = 0, end; at < log.size(); at = end + 1) {
    end = log.find('\n', at);
    if (end == std::string::npos) end = log.size();
    const std::string line = log.substr(at, end - at + 1);
    if (line.find("device objects") != std::string::npos || line.find("scene activity") != std::string::npos)
      lines += line;
  }
  WriteFileText(folder + "mode_switch_log.txt", lines);
}

class WaterProgram : public TravelProgram, public ::testing::WithParamInterface<int> {};

TEST_P(WaterProgram, FishStayBetweenTheFloorAndTheSurface) {
  const std::string ini = dir_ + "qelvar.ini";
  WritePrivateProfileStringA("system", "Seaface", GetParam() ? "1" : "0", ini.c_str());
  WritePrivateProfileStringA("system", "CoralDensity", "4", ini.c_str());
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir_);
  ASSERT_NE(window, nullptr);
  const char* const kExtremes = "fish heights: ";
  ASSERT_NE(WaitForLog(kExtremes, 0, 180000), std::string::npos) << ReadLog();
  PressKey(window, 'Z');  // twice the speed: a minute of scene time in about half of one
  std::string log;
  for (int i = 0; i < 600 && Count(log = ReadLog(), kExtremes) < 62; ++i) PumpMessages(500);
  Shot shot;
  ASSERT_TRUE(Capture(window, &shot)) << ReadLog();
  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteFileBytes(folder + (GetParam() ? "water_seaface_on.bmp" : "water_seaface_off.bmp"), shot.frame.bytes.data(),
                 shot.frame.bytes.size());
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(60000));
  EXPECT_EQ(0u, program.ExitCode());
  log = ReadLog();
  EXPECT_NE(log.find("coral: "), std::string::npos);

  // With the sea surface each line also tells how close a fish came to the
  // waves' ceiling over it, and how many fish were where the ceiling comes
  // down into the ground (no water there: those are held at the ceiling
  // and left out of the least height over the floor).
  const auto seconds = Lines(log, kExtremes,
                             GetParam() ? "%f noted, least over the floor %f, highest %f, not finite %f, least under "
                                          "the waves %f, in the ground under the waves %f"
                                        : "%f noted, least over the floor %f, highest %f, not finite %f",
                             GetParam() ? 6 : 4);
  ASSERT_GE(seconds.size(), 60u);
  float fish = 0.0f, least = 1000.0f, top = -1000.0f, under = 1000.0f, dry = 0.0f;
  for (const auto& s : seconds) {
    EXPECT_EQ(s[3], 0.0f) << "fish without a finite height over the floor";
    fish = std::max(fish, s[0]);
    least = std::min(least, s[1]);
    top = std::max(top, s[2]);
    if (GetParam()) under = std::min(under, s[4]), dry += s[5];
  }
  printf("Seaface %d, %zu seconds, up to %.0f fish heights a second: least over the floor %.2f, highest %.2f, "
         "least under the waves %.2f, %.0f in the ground under the waves\n",
         GetParam(), seconds.size(), fish, least, top, under, dry);
  EXPECT_GT(fish, 0.0f);
  // No fish goes through the floor: each is stopped 0.3 over the ground as
  // drawn (the line rounds to 0.01).
  EXPECT_GE(least, 0.29f);
  // The waves' ceiling lies a unit under the drawn surface, whose crests
  // rise at most 3.5 over its rest at 1. No fish goes through the ceiling,
  // so every fish stays at least a unit under the water. Without the
  // surface there is neither a ceiling nor a top to leave (the flocks rise
  // to about 11).
  if (GetParam()) {
    EXPECT_GE(under, -0.01f);
    EXPECT_LE(top, 3.51f);
  }
}

INSTANTIATE_TEST_SUITE_P(Seaface, WaterProgram, ::testing::Values(1, 0));

}  // namespace
