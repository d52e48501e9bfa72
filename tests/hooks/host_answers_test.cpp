// MyApplication answering the world and its objects: fog colour and lighting
// levels by the Lights setting, the default light and sunlight while the
// scene objects are missing, the settings-driven switches, the shader
// register map through the process-wide copy, and the speed and capture
// commands with the keys that send them.
#include <gtest/gtest.h>

#include <d3dx9.h>

#include <cstring>
#include <string>

#include "AppHooks.h"
#include "MyApplication.h"
#include "Settings.h"
#include "TestSupport.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "light/C6Light.h"
#include "servers/ShaderConstantCopy.h"
#include "world/C3Camera.h"
#include "world/C4VertexObject.h"

using namespace qvtest;

namespace {

class HostAnswersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = GetProgramFolder();
    folder_ = MakeTempDir("host_answers");
    SetProgramFolder(folder_.c_str());
    LoadSettings(0);  // no qelvar.ini: the defaults
    ClearShaderConstantCopy();
  }
  void TearDown() override {
    SetMainCamera(nullptr);
    SetProgramFolder(saved_.c_str());
    LoadSettings(0);
    RemoveTree(folder_);
  }
  // Each file in a folder of its own: the profile reader may keep a file it
  // read within the same second.
  void LoadIni(const std::string& systemKeys) {
    std::string folder = folder_ + std::to_string(++iniCount_) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(WriteFileText(folder + "qelvar.ini", "[system]\r\n" + systemKeys));
    SetProgramFolder(folder.c_str());
    LoadSettings(0);
  }
  static void ExpectRegister(UINT r, float x, float y, float z, float w) {
    const float* c = VertexConstantCopy(r);
    ASSERT_NE(c, nullptr);
    EXPECT_FLOAT_EQ(c[0], x) << "c" << r;
    EXPECT_FLOAT_EQ(c[1], y) << "c" << r;
    EXPECT_FLOAT_EQ(c[2], z) << "c" << r;
    EXPECT_FLOAT_EQ(c[3], w) << "c" << r;
  }
  static void ExpectRow(UINT r, const D3DXMATRIX& m, int row) {
    ExpectRegister(r, m.m[row][0], m.m[row][1], m.m[row][2], m.m[row][3]);
  }

  std::string saved_;
  std::string folder_;
  int iniCount_ = 0;
};

D3DXMATRIX Numbered(float base) {
  D3DXMATRIX m;
  for (int i = 0; i < 16; ++i) m[i] = base + i;
  return m;
}

}  // namespace

TEST_F(HostAnswersTest, FogColourFollowsLightsWithoutAFogObject) {
  MyApplication app;
  C3SceneHost* host = GetSceneHost();
  ASSERT_EQ(host, static_cast<C3SceneHost*>(&app));
  // The unresolved random pick (3) has no colour of its own.
  EXPECT_EQ(GetSceneSetting(kSceneLights), 3);
  EXPECT_EQ(host->GetFogColor(), D3DXVECTOR4(0, 0, 0, 0));
  const D3DXVECTOR4 expected[3] = {
      {0.0f, 0.4f, 1.0f, 1.0f}, {0.0f, 0.2f, 0.8f, 1.0f}, {0.0f, 0.1f, 0.4f, 0.6f}};
  for (int lights = 0; lights < 3; ++lights) {
    SetSceneSetting(kSceneLights, lights);
    EXPECT_EQ(host->GetFogColor(), expected[lights]) << lights;
  }
  LoadIni("Lights=1\r\n");
  EXPECT_EQ(host->GetFogColor(), expected[1]);
}

TEST_F(HostAnswersTest, SceneDefaultsWhileTheSceneObjectsAreMissing) {
  MyApplication app;
  C3SceneHost* host = GetSceneHost();
  D3DXVECTOR3 light = host->GetLightDirection();
  const DWORD bits[3] = {0, 0xBF3504E6u, 0x3F3504E6u};
  for (int i = 0; i < 3; ++i) {
    DWORD b;
    memcpy(&b, &light[i], 4);
    EXPECT_EQ(b, bits[i]) << i;
  }
  EXPECT_EQ(host->GetWaterCurrent(3.0f, D3DXVECTOR3(1, 2, 3)), D3DXVECTOR3(0, 0, 0));
  EXPECT_FALSE(host->IsScenePaused());
  EXPECT_FLOAT_EQ(host->GetSunVisibility(), 1.0f);
  host->ResetHalationFlag();
  EXPECT_FLOAT_EQ(host->GetDefaultRange(), 80.0f);
  EXPECT_TRUE(host->HideCameraObject());

  // A world step takes them over: the clocks run, the light is the default.
  C3World* world = app.World();
  ASSERT_NE(world, nullptr);
  world->Move(0.25f);
  world->Move(0.25f);
  EXPECT_GT(world->clockA.GetCurrent(), 0.0f);
  EXPECT_EQ(world->lightDirection, light);
  EXPECT_FLOAT_EQ(world->lightValue, 1.0f);
  // New objects take the default range.
  C3Object object;
  EXPECT_FLOAT_EQ(object.farDistance, 80.0f);
}

TEST_F(HostAnswersTest, MultiSurfaceByTheTechSetting) {
  MyApplication app;
  C3SceneHost* host = GetSceneHost();
  // Default: 1.
  EXPECT_EQ(host->GetMultiSurfaceCount(), 3);
  EXPECT_TRUE(host->IsMultiSurface());
  // A value past the list is refused at load and gives the default again.
  const int counts[] = {0, 3, 8, 12, 3};
  for (int value = 0; value < 5; ++value) {
    LoadIni("MultiSurface=" + std::to_string(value) + "\r\n");
    EXPECT_EQ(host->GetMultiSurfaceCount(), counts[value]) << value;
    EXPECT_EQ(host->IsMultiSurface(), value != 0) << value;
  }
}

TEST_F(HostAnswersTest, ObjectMatricesGoToTheirRegisters) {
  MyApplication app;  // no device: the copy alone is written
  C4VertexObject object;
  object.world = Numbered(100);
  C4ShaderMatrices& m = object.Shading();
  m.worldViewProjectionT = Numbered(200);
  m.worldViewT = Numbered(300);
  m.viewT = Numbered(400);
  m.worldT = Numbered(900);  // not used: the transpose is taken afresh
  object.SetShaderMatrices();
  D3DXMATRIX worldT;
  D3DXMatrixTranspose(&worldT, &object.world);
  for (int row = 0; row < 4; ++row) {
    ExpectRow(0 + row, m.worldViewProjectionT, row);
    ExpectRow(4 + row, m.worldViewT, row);
    ExpectRow(8 + row, object.world, row);
    ExpectRow(12 + row, worldT, row);
  }
  for (int row = 0; row < 3; ++row) {
    ExpectRow(16 + row, worldT, row);
    ExpectRow(19 + row, m.viewT, row);
  }
  // Null objects are ignored.
  GetSceneHost()->SetMatrixShaderConstants(nullptr);
}

TEST_F(HostAnswersTest, FrameConstantsFromTheWorldCameraAndLights) {
  MyApplication app;
  SetSceneSetting(kSceneLights, 0);
  const float sentinel[4] = {-7, -7, -7, -7};
  for (UINT r = 22; r <= 36; ++r) SetVertexConstants(nullptr, r, sentinel, 1);
  app.World()->lightDirection = D3DXVECTOR3(0, -3, 4);
  C3Camera* camera = new C3Camera();
  camera->position = D3DXVECTOR3(1.5f, -2.0f, 3.25f);
  app.World()->AddChild(camera);
  SetMainCamera(camera);

  GetSceneHost()->SetFrameShaderConstants();
  ExpectRegister(22, 1.5f, -2.0f, 3.25f, 1.0f);
  ExpectRegister(23, -7, -7, -7, -7);  // the fog object's
  ExpectRegister(24, 0, 0.6f, -0.8f, 1.0f);
  ExpectRegister(25, 0.5f, 0.5f, 0.5f, 1.0f);
  ExpectRegister(26, 0.5f, 0.5f, 0.5f, 1.0f);
  ExpectRegister(27, 0.4f, 0.4f, 0.4f, 1.0f);
  ExpectRegister(28, 0, 0, 0, 20.0f);
  for (UINT r = 29; r <= 36; ++r) ExpectRegister(r, -7, -7, -7, -7);  // no lone-fish lights

  SetSceneSetting(kSceneLights, 2);
  GetSceneHost()->SetFrameShaderConstants();
  ExpectRegister(25, 0.2f, 0.2f, 0.2f, 1.0f);
  ExpectRegister(27, 0.1f, 0.1f, 0.1f, 1.0f);
  SetMainCamera(nullptr);
}

// Each lone-fish light that exists writes its slot: the fish's position and
// turn in 29 + 2k, the light's colour in 30 + 2k; empty slots stay untouched.
TEST_F(HostAnswersTest, LoneFishLightsReachTheirRegisters) {
  MyApplication app;
  SetSceneSetting(kSceneLights, 1);
  const float sentinel[4] = {-7, -7, -7, -7};
  for (UINT r = 29; r <= 36; ++r) SetVertexConstants(nullptr, r, sentinel, 1);
  C3Object fish;
  fish.position = D3DXVECTOR3(2.0f, -3.5f, 8.0f);
  fish.rotX = 0.25f;
  C6Light light(&fish);
  light.Move(0.0f, 0.0f);  // Lights 1 at phase 0: (1.1, 1.4, 2.0, 1.0)
  TheFishLights[1] = &light;
  GetSceneHost()->SetFrameShaderConstants();
  TheFishLights[1] = nullptr;
  ExpectRegister(31, 2.0f, -3.5f, 8.0f, 0.25f);
  ExpectRegister(32, 1.1f, 1.4f, 2.0f, 1.0f);
  for (UINT r : {29u, 30u, 33u, 34u, 35u, 36u}) ExpectRegister(r, -7, -7, -7, -7);
}

TEST_F(HostAnswersTest, SpeedAndCaptureCommandsReachTheWorld) {
  MyApplication app;
  C3World* world = app.World();
  ASSERT_FLOAT_EQ(world->GetSpeedFactor(), 1.0f);
  const float up[] = {2.0f, 4.0f, 8.0f, 8.0f};
  for (float expected : up) {
    EXPECT_EQ(app.HandleWindowMessage(nullptr, WM_COMMAND, kCmdSpeedUp, 0), 0);
    EXPECT_FLOAT_EQ(world->GetSpeedFactor(), expected);
  }
  world->SetSpeedFactor(1.0f);
  const float down[] = {0.5f, 0.25f, 0.125f, 0.125f};
  for (float expected : down) {
    EXPECT_EQ(app.HandleWindowMessage(nullptr, WM_COMMAND, kCmdSpeedDown, 0), 0);
    EXPECT_FLOAT_EQ(world->GetSpeedFactor(), expected);
  }
  EXPECT_EQ(world->captureRequested, 0);
  EXPECT_EQ(app.HandleWindowMessage(nullptr, WM_COMMAND, kCmdCapture, 0), 0);
  EXPECT_EQ(world->captureRequested, 1);
}

// The program's key table sends the commands above: Z faster, X slower,
// C capture; Alt+X still exits.
TEST(ProgramKeys, AcceleratorsSendSpeedAndCaptureCommands) {
  HMODULE program = LoadLibraryExA((DistDir() + "Qelvar.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr);
  HACCEL table = LoadAcceleratorsA(program, MAKEINTRESOURCEA(113));
  ASSERT_NE(table, nullptr);
  ACCEL keys[32];
  int count = CopyAcceleratorTableA(table, keys, 32);
  ASSERT_GT(count, 0);
  auto command = [&](WORD key, BYTE modifiers) -> int {
    for (int i = 0; i < count; ++i) {
      if (keys[i].key == key && (keys[i].fVirt & (FALT | FCONTROL | FSHIFT)) == modifiers)
        return keys[i].cmd;
    }
    return -1;
  };
  EXPECT_EQ(command('Z', 0), kCmdSpeedUp);
  EXPECT_EQ(command('X', 0), kCmdSpeedDown);
  EXPECT_EQ(command('C', 0), kCmdCapture);
  EXPECT_EQ(command('X', FALT), kCmdExit);
  EXPECT_EQ(command(VK_ESCAPE, 0), kCmdExit);
  DestroyAcceleratorTable(table);
  FreeLibrary(program);
}
