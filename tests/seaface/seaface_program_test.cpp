// The real program with the sea surface on: the scene set-up makes the sun
// light and the surface (the shader surface with pixel shaders, the
// fixed-function one without), and the frames it saves show the surface
// across their top, moving. Everything else but the clear water is left out
// of the drawing, so that the surface alone stands out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "MyApplication.h"
#include "ProgramTestSupport.h"
#include "Settings.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "light/C9SunLight.h"

using namespace qvtest;

namespace {

// Pixels of the top rows clearly off the colour of the bottom left corner
// (the cleared water under the surface's horizon).
int SurfacePixels(const SavedFrame& s, int rows) {
  return PixelsOffColour(s, s.At(1, s.h - 2), 0, 0, s.w, rows);
}

int ChangedTop(const SavedFrame& a, const SavedFrame& b, int rows) {
  int n = 0;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < a.w; ++x) {
      const uint8_t* p = a.At(x, y);
      const uint8_t* q = b.At(x, y);
      n += std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]) > 12;
    }
  return n;
}

class SeafaceProgram : public ::testing::TestWithParam<int> {};

TEST_P(SeafaceProgram, SurfaceShowsOverTheCamera) {
  const int pixelShaders = GetParam();
  ClearLog();
  const std::string dir = MakeTempDir("qvsea");
  ASSERT_TRUE(CopyFileTo(DistDir() + "Qelvar.scr", dir + "Qelvar.scr"));
  ASSERT_TRUE(WriteFileText(dir + "qelvar.ini",
                            "[Display]\r\nDebugLogLevel=2\r\n"
                            "DebugDisableRender=X1Terrain C6Skydome C3Logo X7SoftFog C3LightTower C6Flare "
                            "X1Halation\r\n"
                            "[system]\r\nLights=0\r\nSeaface=1\r\nPixelShader11=" +
                                std::to_string(pixelShaders) + "\r\n"));
  CreateDirectoryA((dir + "capture").c_str(), nullptr);
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(WaitForLog("frame stats: ", 0, 120000), std::string::npos) << ReadLog();
  std::string log = ReadLog();
  // The sun light before the floor, the surface after it.
  const size_t sun = log.find("WORLD AddChild : C9SunLight");
  const size_t floor = log.find("WORLD AddChild : X1Terrain");
  const size_t surface = log.find("WORLD AddChild : C6unionSeaface");
  ASSERT_NE(sun, std::string::npos) << log;
  ASSERT_NE(surface, std::string::npos) << log;
  EXPECT_LT(sun, floor);
  EXPECT_LT(floor, surface);
  EXPECT_NE(log.find(pixelShaders ? "sea surface: C6Seaface" : "sea surface: C6LegacySeaface"), std::string::npos)
      << log;
  EXPECT_EQ(log.find("sun light not made"), std::string::npos);
  EXPECT_EQ(log.find("sea surface not made"), std::string::npos);

  RECT client{};
  GetClientRect(window, &client);
  SavedFrame a, b;
  PressKey(window, 'C');
  ASSERT_TRUE(WaitForSavedFrame(dir + "capture\\L0000.bmp", client.right, client.bottom, &a, 60000)) << ReadLog();
  PumpMessages(1500);
  PressKey(window, 'C');
  ASSERT_TRUE(WaitForSavedFrame(dir + "capture\\L0001.bmp", client.right, client.bottom, &b, 60000)) << ReadLog();
  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string tag = pixelShaders ? "seaface_program" : "seaface_program_fixed";
  WriteFileBytes(folder + tag + "_a.bmp", a.bytes.data(), a.bytes.size());
  WriteFileBytes(folder + tag + "_b.bmp", b.bytes.data(), b.bytes.size());

  const int rows = a.h / 6;
  EXPECT_GT(SurfacePixels(a, rows), a.w * rows / 2) << "no surface across the top of the frame";
  EXPECT_GT(ChangedTop(a, b, rows), a.w * rows / 20) << "the surface did not move";

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.Wait(60000));
  EXPECT_EQ(0u, program.ExitCode());
  EXPECT_FALSE(FileExists(dir + "LastError.txt")) << ReadLog();
  RemoveTree(dir);
}

INSTANTIATE_TEST_SUITE_P(PixelShader11, SeafaceProgram, ::testing::Values(1, 0));

// The scene's light comes from the sun light once the scene has one.
TEST(SunLightHook, TheHostAnswersTheSunsDirection) {
  const std::string saved = GetProgramFolder();
  const std::string folder = MakeTempDir("sunhook");
  SetProgramFolder(folder.c_str());
  LoadSettings(0);
  {
    MyApplication app;
    C9SunLight sun;
    sun.direction = D3DXVECTOR3(0.6f, -0.8f, 0.0f);
    TheSunLight = &sun;
    EXPECT_EQ(GetSceneHost()->GetLightDirection(), sun.direction);
    TheSunLight = nullptr;
    EXPECT_NEAR(GetSceneHost()->GetLightDirection().z, 0.70710599f, 1e-7f);
  }
  SetProgramFolder(saved.c_str());
  LoadSettings(0);
  RemoveTree(folder);
}

}  // namespace
