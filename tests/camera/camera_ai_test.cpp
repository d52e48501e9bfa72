// The camera in a world without a device: AI objects made per configuration
// entry and deleted with the device objects, the list rotation, the start
// pose and the averages, the hand-held mode on and off, and the shipped
// look-at AI stepped through the host table.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "C3World.h"
#include "CameraTestSupport.h"
#include "Diagnostics.h"
#include "HostCallbacks.h"
#include "LogTestSupport.h"
#include "SceneGlobals.h"
#include "TestSupport.h"
#include "X2CameraAIList.h"
#include "X2CameraConfig.h"
#include "X2HumanCamera.h"

namespace {

using camtest::TestCameraAI;

X2AIObject* X2_CDECL CreateTestAI(const char* param, X2HostCallbacks*) { return new TestCameraAI(param); }
X2AIObject* X2_CDECL CreateNothing(const char*, X2HostCallbacks*) { return nullptr; }

const X2AIData kMover = camtest::MakeRecord("mover", CreateTestAI, X2_AI_CAMERA_SOURCE | X2_AI_CAMERA_TARGET);
const X2AIData kDirect = camtest::MakeRecord("direct", CreateTestAI, X2_AI_CAMERA_SOURCE | X2_AI_CAMERA_FLAG);
const X2AIData kEmpty = camtest::MakeRecord("empty", CreateNothing, X2_AI_CAMERA_SOURCE);
const X2AIData kNoEntry = camtest::MakeRecord("noentry", nullptr, X2_AI_CAMERA_SOURCE);

// Both camera lists and configurations, installed as the program's, and a
// world (not yet started) holding a human camera.
class CameraScene : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSceneHost(&host);
    for (auto* list : {&sourceList, &targetList}) {
      list->reset(new X2CameraAIList(0));
      for (const X2AIData* r : {&kMover, &kDirect, &kEmpty, &kNoEntry}) (*list)->Append(&r->header, nullptr);
    }
    TheSourceCameraAIList = sourceList.get();
    TheTargetCameraAIList = targetList.get();
    TheSourceCameraConfig = &source;
    TheTargetCameraConfig = &target;
    X2HumanCamera::lastZoomGoal = 1.0f;
    world = new C3World;
  }
  void TearDown() override {
    if (world) {
      world->DeleteDeviceObjects();
      delete world;
    }
    TheCamera = nullptr;
    SetMainCamera(nullptr);
    TheSourceCameraConfig = TheTargetCameraConfig = nullptr;
    TheSourceCameraAIList = TheTargetCameraAIList = nullptr;
    SetSceneHost(nullptr);
  }
  // The camera registered as the set-up does, and the world's device objects.
  X2HumanCamera* MakeCamera() {
    auto* camera = new X2HumanCamera(GetHostCallbacks());
    camera->position = D3DXVECTOR3(0.0f, 0.0f, -2.0f);
    TheCamera = camera;
    SetMainCamera(camera);
    world->AddChild(camera);
    world->InitDeviceObjects();
    return camera;
  }
  // Moves the camera alone, as the world does, at time t.
  void MoveAt(X2Camera* camera, float t, float dt = 1.0f / 30.0f) { camera->Move(t, t - dt); }

  camtest::SettingsHost host;
  std::unique_ptr<X2CameraAIList> sourceList, targetList;
  X2CameraConfig source{"Source"}, target{"Target"};
  C3World* world = nullptr;
};

TEST_F(CameraScene, OneAIPerEntryAtTheEntrysIndexDeletedWithTheDeviceObjects) {
  source.AddCamera("mover_maker", "1 0");
  source.AddCamera("missing_maker", "");
  source.AddCamera("EMPTY_maker", "");
  source.AddCamera("noentry_maker", "");
  source.AddCamera("direct_maker", nullptr);  // no parameter string: "" is passed
  target.AddCamera("mover_maker", "2 0");
  const int before = TestCameraAI::live;
  X2HumanCamera* camera = MakeCamera();
  EXPECT_EQ(camera->sourceCount, 2);
  EXPECT_EQ(camera->targetCount, 1);
  EXPECT_NE(camera->sourceAI[0], nullptr);
  for (int i : {1, 2, 3}) EXPECT_EQ(camera->sourceAI[i], nullptr) << i;
  EXPECT_NE(camera->sourceAI[4], nullptr);
  EXPECT_EQ(camera->sourceDirect[4], X2_AI_CAMERA_FLAG);
  EXPECT_EQ(camera->sourceDirect[0], 0);
  EXPECT_EQ(TestCameraAI::live, before + 3);
  // The movers are in the world and carry the AIs of the current entries.
  ASSERT_NE(camera->sourceMover, nullptr);
  EXPECT_EQ(world->children.count, 3);
  EXPECT_EQ(camera->sourceMover->ai, camera->sourceAI[0]);
  EXPECT_EQ(camera->targetMover->ai, camera->targetAI[0]);
  EXPECT_EQ(camera->sourceAI[0]->owner, static_cast<void*>(static_cast<C3Object*>(camera->sourceMover)));

  world->DeleteDeviceObjects();
  EXPECT_EQ(TestCameraAI::live, before);
  EXPECT_EQ(camera->sourceAI[0], nullptr);
  EXPECT_EQ(camera->sourceMover->ai, nullptr);
  EXPECT_EQ(world->children.count, 3);  // the movers stay
  // A second device makes the AIs again, on the same movers.
  C3Move* mover = camera->sourceMover;
  world->InitDeviceObjects();
  EXPECT_EQ(TestCameraAI::live, before + 3);
  EXPECT_EQ(camera->sourceMover, mover);
  EXPECT_EQ(world->children.count, 3);
}

TEST_F(CameraScene, ListsCutAtOneHundredEntriesWithAMessage) {
  for (int i = 0; i < 101; ++i) source.Entry(source.AddEntry("", 1))->SetAI("mover_maker");
  CreateDirectoryA("c:\\log", nullptr);
  SetDebugLogLevel(1);
  const size_t logged = qvtest::ReadLog().size();
  X2HumanCamera* camera = MakeCamera();
  SetDebugLogLevel(0);
  EXPECT_EQ(camera->sourceCount, 100);
  EXPECT_NE(qvtest::ReadLog().find("Camera Source: 101 entries, only the first 100 are used", logged),
            std::string::npos);
  // The rotation wraps within the kept entries.
  camera->sourceIndex = 99;
  camera->lastSourceSwitch = -1000.0f;
  camera->SwitchCameras(0.0f);
  EXPECT_EQ(camera->sourceIndex, 0);
}

TEST_F(CameraScene, SwitchSequenceOfBothListsHandsTheMoversTheirAIs) {
  for (const char* p : {"0 0", "10 0", "20 0"}) source.AddCamera("mover_maker", p);
  target.AddCamera("mover_maker", "5 0");  // one entry: stays
  source.changeTimeIndex = 0;              // 10 s
  X2HumanCamera* camera = MakeCamera();
  struct Step {
    float t;
    int sourceIndex;
  } steps[] = {{0.0f, 1}, {5.0f, 1}, {10.0f, 1}, {10.5f, 2}, {21.0f, 0}, {31.5f, 1}};
  for (const Step& s : steps) {
    MoveAt(camera, s.t);
    EXPECT_EQ(camera->sourceIndex, s.sourceIndex) << s.t;
    EXPECT_EQ(camera->targetIndex, 0) << s.t;
    EXPECT_EQ(camera->sourceMover->ai, camera->sourceAI[s.sourceIndex]);
    EXPECT_EQ(camera->sourceMover->position.x, 10.0f * s.sourceIndex) << s.t;  // stepped this frame
  }
}

TEST_F(CameraScene, StartPoseForTenSecondsThenTheAveragesRampFromZero) {
  source.AddCamera("mover_maker", "8 0");
  target.AddCamera("mover_maker", "-4 0");
  X2HumanCamera* camera = MakeCamera();
  MoveAt(camera, 1.0f);
  D3DXVECTOR3 p, t;
  camera->GetPosition(&p);
  camera->GetTarget(&t);
  EXPECT_EQ(p, D3DXVECTOR3(0.0f, -3.0f, -15.0f));
  EXPECT_EQ(t, D3DXVECTOR3(0.0f, -3.0f, -17.0f));

  X2HumanCamera* fresh = new X2HumanCamera(GetHostCallbacks());
  world->AddChild(fresh);
  world->started = 1;
  for (int frame = 1; frame <= 5; ++frame) {
    MoveAt(fresh, 11.0f + frame);
    const float share = std::min(frame, 4) / 4.0f;
    EXPECT_FLOAT_EQ(fresh->position.x, 8.0f * share) << frame;
    EXPECT_FLOAT_EQ(fresh->target.x, -4.0f * share) << frame;
  }
  // Looking back along -x.
  D3DXVECTOR3 d;
  fresh->GetDirection(&d);
  EXPECT_EQ(d, D3DXVECTOR3(-1.0f, 0.0f, 0.0f));
}

TEST_F(CameraScene, EmptyListsLeaveTheCameraStillAndFinite) {
  X2HumanCamera* camera = MakeCamera();
  world->started = 1;
  host.settings[kSceneHumanCamera] = 1;
  for (int frame = 0; frame < 20; ++frame) MoveAt(camera, 20.0f + frame, frame ? 1.0f : 0.0f);
  EXPECT_EQ(camera->sourceCount + camera->targetCount, 0);
  D3DXVECTOR3 d;
  camera->X2Camera::GetDirection(&d);
  EXPECT_EQ(d, D3DXVECTOR3(0.0f, 0.0f, 1.0f));  // position and target coincide
  for (int i = 0; i < 16; ++i) {
    EXPECT_TRUE(std::isfinite(static_cast<const float*>(camera->view)[i])) << i;
    EXPECT_TRUE(std::isfinite(static_cast<const float*>(camera->projection)[i])) << i;
  }
}

TEST_F(CameraScene, HumanModeReaimsAfterAPauseAndZoomsWithAFade) {
  X2HumanCamera* camera = MakeCamera();
  camtest::ScriptedRandom random;
  camera->SetRandomSource(random.Source());
  // Subject 30 units ahead, already chosen; the eye settled at the origin.
  camera->target = camera->chosenTarget = camera->lookSmooth = D3DXVECTOR3(0, 0, 30);
  camera->position = camera->eyeSmooth = D3DXVECTOR3(0, 0, 0);
  camera->lastRetarget = 100.0f;

  // Chance 26 x 0.5 x 0.02 = 0.26: a draw of 0.3 keeps the aim, 0.2 re-aims.
  camera->target = D3DXVECTOR3(10, 0, 30);
  random.draws = {0.3f, 0.2f, 1.0f};
  camera->UpdateHumanView(100.5f);
  EXPECT_EQ(camera->chosenTarget, D3DXVECTOR3(0, 0, 30));
  // Goal min(30 / 3, 3) = 3 starts the zoom fade: the zoom holds this frame.
  EXPECT_EQ(X2HumanCamera::lastZoomGoal, 3.0f);
  EXPECT_FLOAT_EQ(camera->zoom, 1.0f);
  camera->UpdateHumanView(101.0f);
  EXPECT_EQ(camera->chosenTarget, D3DXVECTOR3(10, 0, 30));
  EXPECT_EQ(camera->lastRetarget, 101.0f);
  EXPECT_NEAR(camera->lookSmooth.x, 0.0f, 1e-6f);  // hesitates at the re-aim
  EXPECT_NEAR(camera->lookSmooth.z, 30.0f, 1e-4f);
  EXPECT_NEAR(camera->zoom, 0.05f * 3.0f + 0.95f, 1e-5f);  // half way through the fade
  EXPECT_FLOAT_EQ(camera->GetFov(), (D3DX_PI / 3.0f) / camera->zoom);
  camera->UpdateHumanView(102.0f);
  EXPECT_NEAR(camera->lookSmooth.x, 1.0f, 1e-5f);  // then follows by a tenth a frame
  EXPECT_EQ(random.taken, 3u);
}

TEST_F(CameraScene, HumanModeOffOrDirectGivesThePlainCameraBack) {
  source.AddCamera("mover_maker", "0 0");
  source.AddCamera("direct_maker", "0 0");
  target.AddCamera("mover_maker", "40 0");
  source.changeTimeIndex = 6;  // 600 s
  host.settings[kSceneHumanCamera] = 1;
  X2HumanCamera* camera = MakeCamera();
  camera->SetRandomSource([] { return 1.0f; });
  world->started = 1;
  camera->sourceIndex = 1;  // the first move wraps to entry 0
  for (int frame = 0; frame < 60; ++frame) MoveAt(camera, 20.0f + frame * 0.1f, 0.1f);
  ASSERT_EQ(camera->sourceIndex, 0);
  ASSERT_TRUE(camera->IsHumanView());
  const float zoom = camera->GetLodScale();
  EXPECT_GT(zoom, 1.5f);
  EXPECT_LT(camera->GetFov(), D3DX_PI / 3.0f);

  D3DXMATRIX plain;
  D3DXMatrixPerspectiveFovLH(&plain, D3DX_PI / 3.0f, 640.0f / 480.0f, 0.1f, 100.0f);
  auto expectPlain = [&](const char* why, float keptZoom) {
    EXPECT_FALSE(camera->IsHumanView()) << why;
    EXPECT_EQ(camera->GetFov(), D3DX_PI / 3.0f) << why;
    EXPECT_EQ(camera->GetLodScale(), keptZoom) << why;  // the last zoom stays
    for (int i = 0; i < 16; ++i)
      EXPECT_NEAR(static_cast<const float*>(camera->projection)[i], static_cast<const float*>(plain)[i], 1e-5f)
          << why << " " << i;
    D3DXVECTOR3 p, t;
    camera->GetPosition(&p);
    camera->GetTarget(&t);
    EXPECT_EQ(p, camera->position) << why;
    EXPECT_EQ(t, camera->target) << why;
  };
  host.settings[kSceneHumanCamera] = 0;
  MoveAt(camera, 30.0f, 0.1f);
  expectPlain("mode off", zoom);

  host.settings[kSceneHumanCamera] = 1;
  MoveAt(camera, 30.1f, 0.1f);
  ASSERT_TRUE(camera->IsHumanView());
  const float lastZoom = camera->GetLodScale();
  camera->sourceIndex = 1;  // the direct entry
  MoveAt(camera, 30.2f, 0.1f);
  expectPlain("direct entry", lastZoom);
  EXPECT_TRUE(camera->directMode);
}

// The shipped look-at AI, made by the camera and stepped on its target
// mover through the real host table: it looks 5 units ahead of the camera
// position along its path.
TEST_F(CameraScene, ShippedLookAtAIFollowsThePositionMoverThroughTheHostTable) {
  HMODULE module = LoadLibraryA((qvtest::DistDir() + "ai\\Forelens.qve").c_str());
  ASSERT_NE(module, nullptr);
  auto get = reinterpret_cast<X2GetAIDataFn>(GetProcAddress(module, X2_AI_EXPORT_NAME));
  ASSERT_NE(get, nullptr);
  const X2AIData* forelens = get(nullptr, nullptr);
  targetList->Append(&forelens->header, module);  // the list frees the library
  char key[X2_NAME_SIZE];
  snprintf(key, sizeof key, "%s_%s", forelens->header.name, forelens->header.maker);
  source.AddCamera("mover_maker", "0 1");  // along +x at one unit a second
  target.AddCamera(key, "");
  X2HumanCamera* camera = MakeCamera();
  ASSERT_EQ(camera->targetCount, 1);
  X2HostCallbacks* table = GetHostCallbacks();
  EXPECT_EQ(table->GetCameraSourceObject(), static_cast<void*>(static_cast<C3Object*>(camera->sourceMover)));
  EXPECT_EQ(table->GetCameraTargetObject(), static_cast<void*>(static_cast<C3Object*>(camera->targetMover)));
  C3Move rider;
  table->SetCameraOwnObject(static_cast<C3Object*>(&rider));
  EXPECT_EQ(camera->GetRiderObject(), &rider);

  world->started = 1;
  for (int frame = 1; frame <= 30; ++frame) MoveAt(camera, 20.0f + frame * 0.1f, 0.1f);
  const D3DXVECTOR3 gap = camera->targetMover->position - camera->sourceMover->position;
  EXPECT_NEAR(gap.x, 5.0f, 1e-3f);
  EXPECT_NEAR(gap.y, 0.0f, 1e-3f);
  EXPECT_NEAR(gap.z, 0.0f, 1e-3f);
  X2Vec3 eye;
  table->GetCameraPosition(&eye);
  EXPECT_EQ(eye.x, camera->position.x);  // the main camera answers
}

}  // namespace
