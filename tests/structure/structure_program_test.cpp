// The real program in a copy of the distributable folder with the test
// plug-ins installed: TestStructures.qvs in its model folder (a plain wreck
// and an X-file wreck) and DolphinFlock.qva in its ai folder, the AI of one
// more flock, which brings a dolphin. The program places both structures on
// the floor with their collision fields, makes the dolphin through the host
// table, steps its AI (replaced at the first step) and deletes it at the end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ProgramTestSupport.h"

using namespace qvtest;

namespace {

// Pixels of the middle third clearly off the colour of the top left corner.
int MiddlePixels(const SavedFrame& s) {
  return PixelsOffColour(s, s.At(1, 1), s.w / 3, s.h / 3, 2 * s.w / 3, 2 * s.h / 3);
}

class StructureProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLog();
    dir_ = MakeTempDir("qvstructprog");
    ASSERT_TRUE(CopyDistFolder(dir_, {{"TestStructures.qvs", "model\\TestStructures.qvs"},
                                      {"DolphinFlock.qva", "ai\\DolphinFlock.qva"},
                                      {"StructureCamera.qve", "ai\\StructureCamera.qve"}}));
    const std::string ini = dir_ + "qelvar.ini";
    WritePrivateProfileStringA("Display", "DebugLogLevel", "2", ini.c_str());
    WritePrivateProfileStringA("system", "Lights", "0", ini.c_str());
    WritePrivateProfileStringA("system", "SmallWorld", "0", ini.c_str());
    // The camera goes where its AIs say (the dolphin's AI reads them), and
    // the glare and sky effects stay out of the picture.
    WritePrivateProfileStringA("system", "HumanCamera", "0", ini.c_str());
    WritePrivateProfileStringA("Display", "DebugDisableRender",
                               "C6Skydome C3Logo X7SoftFog C3LightTower C6Flare X1Halation", ini.c_str());
    // The camera frames the structures for the whole run: behind and above
    // the wander point, which their rally points lead, looking at it.
    const std::string cameras = dir_ + "CameraConfig.ini";
    for (const char* list : {"Source", "Target"}) {
      const std::string config = std::string(list) + "CameraConfig", entry = std::string(list) + "Camera0";
      WritePrivateProfileStringA(config.c_str(), "CameraChangeTime", "6", cameras.c_str());
      WritePrivateProfileStringA(config.c_str(), "CameraCount", "1", cameras.c_str());
      WritePrivateProfileStringA(entry.c_str(), "ai", "StructureCamera_QvTest", cameras.c_str());
      WritePrivateProfileStringA(entry.c_str(), "aiParam", list[0] == 'T' ? "look" : "", cameras.c_str());
    }
    // One more flock, of the first flock's fish, built by the dolphin AI.
    const std::string flocks = dir_ + "FlockConfig.ini";
    const int count = GetPrivateProfileIntA("flockConfig", "flockCount", 0, flocks.c_str());
    ASSERT_GT(count, 0);
    char fish[260] = {};
    GetPrivateProfileStringA("flock0", "fishType", "", fish, sizeof fish, flocks.c_str());
    const std::string section = "flock" + std::to_string(count);
    WritePrivateProfileStringA(section.c_str(), "fishType", fish, flocks.c_str());
    WritePrivateProfileStringA(section.c_str(), "ai", "DolphinFlock_QvTest", flocks.c_str());
    WritePrivateProfileStringA(section.c_str(), "aiParam", "", flocks.c_str());
    WritePrivateProfileStringA("flockConfig", "flockCount", std::to_string(count + 1).c_str(), flocks.c_str());
  }
  void TearDown() override { RemoveTree(dir_); }

  std::string dir_;
};

TEST_F(StructureProgram, StructuresAndTheDolphinJoinTheScene) {
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir_);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(WaitForLog("frame stats: ", 0, 120000), std::string::npos) << ReadLog();
  ASSERT_NE(WaitForLog("DolphinFlock: dolphin at ", 0, 60000), std::string::npos) << ReadLog();
  std::string log = ReadLog();

  // Both records placed, each seated on the floor it read, the plain one
  // with its collision field; the structures are registered before the
  // flocks, whose AI brought the dolphin.
  EXPECT_NE(log.find("TestStructures: TestWreck seated on the floor at "), std::string::npos) << log;
  EXPECT_NE(log.find("TestStructures: TestXWreck seated on the floor at "), std::string::npos);
  EXPECT_EQ(log.find("TestStructures: TestWreck seated on the floor at -5.00"), std::string::npos)
      << "the floor was not there yet";
  const size_t plain = log.find("WORLD AddChild : X2FileStructure");
  const size_t xfile = log.find("WORLD AddChild : X6XFileStructure");
  const size_t field = log.find("WORLD AddChild : X6FileCollision");
  const size_t dolphin = log.find("WORLD AddChild : X6Dolphin");
  ASSERT_NE(plain, std::string::npos) << log;
  ASSERT_NE(xfile, std::string::npos);
  ASSERT_NE(field, std::string::npos);
  ASSERT_NE(dolphin, std::string::npos);
  EXPECT_LT(plain, dolphin);
  EXPECT_LT(xfile, dolphin);
  EXPECT_EQ(log.find("no structure object made"), std::string::npos);
  // The plain wreck's top is in the floor's answers, where the camera AI
  // looked for it.
  EXPECT_NE(log.find("StructureCamera: structure at "), std::string::npos);
  EXPECT_NE(log.find("DolphinFlock: dolphin made for flock "), std::string::npos);
  EXPECT_NE(log.find("KWEX bone parameter index 18"), std::string::npos) << "the index past the last refused";
  // What the AI's step offered is ignored: the first AI goes on steering.
  EXPECT_NE(log.find("DolphinFlock: offered the next steer from 1"), std::string::npos);
  EXPECT_NE(log.find("DolphinFlock: still steering 1"), std::string::npos);
  EXPECT_NE(log.find("DolphinFlock: draw step 1"), std::string::npos);
  EXPECT_EQ(log.find("DolphinFlock: steer deleted"), std::string::npos) << "no AI deleted while the dolphin swims";

  // Once the camera leaves its start pose (10 seconds), frames until one
  // shows the dolphin ahead of it, in the middle of the view.
  PumpMessages(11000);
  RECT client{};
  GetClientRect(window, &client);
  SavedFrame shot;
  bool seen = false;
  for (int n = 0; n < 20 && !seen; ++n) {
    char name[32];
    snprintf(name, sizeof name, "capture\\L%04d.bmp", n);
    PressKey(window, 'C');
    ASSERT_TRUE(WaitForSavedFrame(dir_ + name, client.right, client.bottom, &shot, 60000)) << ReadLog();
    seen = MiddlePixels(shot) > shot.w * shot.h / 100;
    if (!seen) PumpMessages(300);
  }
  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteFileBytes(folder + "structure_program.bmp", shot.bytes.data(), shot.bytes.size());
  EXPECT_TRUE(seen) << "nothing in the middle of the view";

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(60000));
  EXPECT_EQ(0u, program.ExitCode());
  EXPECT_FALSE(FileExists(dir_ + "LastError.txt")) << ReadLog();
  log = ReadLog();
  // At the end the dolphin deletes its AI, which deletes the one it kept.
  const size_t first = log.find("DolphinFlock: steer deleted 1");
  EXPECT_NE(first, std::string::npos) << "the dolphin's AI deleted at the end";
  EXPECT_NE(log.find("DolphinFlock: steer deleted 2"), std::string::npos);
  EXPECT_EQ(log.find("DolphinFlock: steer deleted 1", first + 1), std::string::npos) << "deleted twice";
  EXPECT_EQ(log.find("error box"), std::string::npos);
  EXPECT_EQ(log.find("KWEX ILLEGAL"), std::string::npos);
}

}  // namespace
