// The camera in a world without a device: AI objects made per configuration
// entry and deleted with the device objects, the start pose and averages,
// the hand-held mode on and off, and the shipped look-at AI stepped through
// the host table.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "CameraTestSupport.h"
#include "HostCallbacks.h"
#include "TestSupport.h"
#include "camera/X2HumanCamera.h"
#include "common/SceneGlobals.h"
#include "config/X2CameraConfig.h"
#include "config/X2FlockSet.h"
#include "pluginlists/X2CameraAIList.h"
#include "world/C3World.h"

namespace {

using camtest::TestCameraAI;

X2AIObject* X2_CDECL CreateTestAI(const char* param, X2HostCallbacks*) { return new TestCameraAI(param); }
X2AIObject* X2_CDECL CreateNothing(const char*, X2HostCallbacks*) { return nullptr; }

// Steps like TestCameraAI and hands back a helper AI that it keeps and
// deletes itself.
class HandingAI : public X2AIObjectImpl<HandingAI> {
 public:
  HandingAI() : helper(new TestCameraAI("0 0")) {}
  ~HandingAI() { X2DeleteAIObject(helper); }
  X2AIObject* X2_THISCALL Step(float now, float previous, X2Object self) override {
    own.Step(now, previous, self);
    return helper;
  }
  TestCameraAI own{"5 1"};
  X2AIObject* helper;
};
X2AIObject* X2_CDECL CreateHanding(const char*, X2HostCallbacks*) { return new HandingAI; }

const X2AIData kRecords[] = {
    camtest::MakeRecord("mover", CreateTestAI, X2_AI_CAMERA_SOURCE | X2_AI_CAMERA_TARGET),
    camtest::MakeRecord("direct", CreateTestAI, X2_AI_CAMERA_SOURCE | X2_AI_CAMERA_FLAG),
    camtest::MakeRecord("empty", CreateNothing, X2_AI_CAMERA_SOURCE),
    camtest::MakeRecord("noentry", nullptr, X2_AI_CAMERA_SOURCE),
    camtest::MakeRecord("handing", CreateHanding, X2_AI_CAMERA_SOURCE | X2_AI_CAMERA_TARGET)};

X2Object Handle(C3Object* o) { return o; }

// Both camera lists and configurations installed as the program's, and a
// world that has not started yet.
class CameraScene : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSceneHost(&host);
    for (auto* list : {&sourceList, &targetList}) {
      list->reset(new X2CameraAIList(0));
      for (const X2AIData& r : kRecords) (*list)->Append(&r.header, nullptr);
    }
    TheSourceCameraAIList = sourceList.get();
    TheTargetCameraAIList = targetList.get();
    TheSourceCameraConfig = &source;
    TheTargetCameraConfig = &target;
    X2HumanCamera::lastZoomGoal = 1.0f;
    world = new C3World;
  }
  void TearDown() override {
    world->DeleteDeviceObjects();
    delete world;
    TheCamera = nullptr;
    TheSourceCameraConfig = TheTargetCameraConfig = nullptr;
    TheSourceCameraAIList = TheTargetCameraAIList = nullptr;
    TheFlocks.Clear();
    SetSceneHost(nullptr);
  }
  // Registered as the scene set-up does it, then the device objects.
  X2HumanCamera* MakeCamera() {
    auto* camera = new X2HumanCamera(GetHostCallbacks());
    camera->position = D3DXVECTOR3(0.0f, 0.0f, -2.0f);
    TheCamera = camera;
    SetMainCamera(camera);
    world->AddChild(camera);
    world->InitDeviceObjects();
    return camera;
  }
  static void MoveAt(X2Camera* camera, float t, float dt = 0.1f) { camera->Move(t, t - dt); }

  camtest::SettingsHost host;
  std::unique_ptr<X2CameraAIList> sourceList, targetList;
  X2CameraConfig source{"Source"}, target{"Target"};
  C3World* world = nullptr;
};

TEST_F(CameraScene, OneAIPerEntryAtTheEntrysIndexDeletedWithTheDeviceObjects) {
  for (const char* key : {"mover_maker", "missing_maker", "EMPTY_maker", "noentry_maker"})
    source.AddCamera(key, "1 0");
  source.AddCamera("direct_maker", nullptr);  // no parameter string: "" is passed
  target.AddCamera("mover_maker", "2 0");
  const int before = TestCameraAI::live;
  X2HumanCamera* camera = MakeCamera();
  EXPECT_EQ(camera->sourceCount, 2);
  EXPECT_EQ(camera->targetCount, 1);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(camera->sourceAI[i] != nullptr, i == 0 || i == 4) << i;
  EXPECT_EQ(camera->sourceDirect[4], X2_AI_CAMERA_FLAG);
  EXPECT_EQ(TestCameraAI::live, before + 3);
  EXPECT_EQ(world->children.count, 3);  // the camera and its two movers
  EXPECT_EQ(camera->targetMover->ai, camera->targetAI[0]);
  EXPECT_EQ(camera->targetAI[0]->owner, Handle(camera->targetMover));
  // The first move goes on to entry 1, which has no AI: its mover stays put.
  MoveAt(camera, 0.0f);
  EXPECT_EQ(camera->sourceIndex, 1);
  EXPECT_EQ(camera->sourceMover->ai, nullptr);
  EXPECT_EQ(camera->targetMover->position.x, 2.0f);

  world->DeleteDeviceObjects();
  EXPECT_EQ(TestCameraAI::live, before);
  EXPECT_EQ(camera->targetAI[0], nullptr);
  EXPECT_EQ(camera->targetMover->ai, nullptr);
  C3Move* mover = camera->sourceMover;
  world->InitDeviceObjects();  // a second device: new AIs, the same movers
  EXPECT_EQ(TestCameraAI::live, before + 3);
  EXPECT_EQ(camera->sourceMover, mover);
  EXPECT_EQ(world->children.count, 3);
}

// What an AI's step returns is not the camera's: the AI keeps running and
// keeps what it handed back.
TEST_F(CameraScene, AnAIsStepResultIsIgnored) {
  source.AddCamera("handing_maker", "");
  target.AddCamera("handing_maker", "");
  const int before = TestCameraAI::live;
  X2HumanCamera* camera = MakeCamera();
  X2AIObject* const ai = camera->sourceAI[0];
  world->started = 1;
  for (int frame = 1; frame <= 3; ++frame) MoveAt(camera, 20.0f + frame);
  EXPECT_EQ(camera->sourceAI[0], ai);
  EXPECT_EQ(camera->sourceMover->ai, ai);
  EXPECT_EQ(camera->sourceMover->position.x, 28.0f);
  EXPECT_EQ(TestCameraAI::live, before + 4);  // two AIs, each with its step and its helper
  world->DeleteDeviceObjects();
  EXPECT_EQ(TestCameraAI::live, before);
}

// Without a Source AI the camera travels with the flocks from its start
// pose; a Source AI steers the mover as ever, flocks or not; with no fish
// the mover stays where it is.
TEST_F(CameraScene, WithoutASourceAITheCameraTravelsWithTheFlocks) {
  C3Move fish;
  fish.position = D3DXVECTOR3(40.0f, -10.0f, 20.0f);
  TheFlocks.BeginFlock();
  TheFlocks.BeginFlock();
  TheFlocks.AddToBuilding(&fish);
  TheFlocks.EndBuilding();
  source.AddCamera("missing_maker", "");
  source.changeTimeIndex = 6;  // one flock for 600 s
  X2HumanCamera* camera = MakeCamera();
  MoveAt(camera, 1.0f);
  EXPECT_EQ(camera->Follow().Fish(), &fish);  // the empty flock passed over
  EXPECT_EQ(camera->sourceMover->position, D3DXVECTOR3(0.0f, -3.0f, -15.0f));
  world->started = 1;
  for (int frame = 0; frame < 300; ++frame) {
    fish.position.x += 0.1f;
    MoveAt(camera, 11.0f + frame * 0.1f);
  }
  const D3DXVECTOR3 gap = fish.position - camera->position;
  EXPECT_LT(D3DXVec3Length(&gap), FlockFollow::kViewDistance + 2.0f);
  EXPECT_LT(camera->position.y, 0.0f);

  source.AddCamera("mover_maker", "3 2");
  world->DeleteDeviceObjects();
  world->InitDeviceObjects();
  camera->sourceIndex = 1;
  for (int frame = 0; frame < 4; ++frame) MoveAt(camera, 100.0f + frame);
  EXPECT_EQ(camera->sourceMover->position, D3DXVECTOR3(209.0f, 0.0f, 0.0f));

  source.Clear();
  TheFlocks.Clear();
  world->DeleteDeviceObjects();
  world->InitDeviceObjects();
  const D3DXVECTOR3 kept = camera->sourceMover->position;
  for (int frame = 0; frame < 40; ++frame) MoveAt(camera, 200.0f + frame);
  EXPECT_EQ(camera->sourceMover->position, kept);
}

TEST_F(CameraScene, ListsCutAtOneHundredEntries) {
  for (int i = 0; i < 101; ++i) source.Entry(source.AddEntry("", 1))->SetAI("mover_maker");
  X2HumanCamera* camera = MakeCamera();
  EXPECT_EQ(camera->sourceCount, 100);
  camera->sourceIndex = 99;
  MoveAt(camera, 0.0f);
  EXPECT_EQ(camera->sourceIndex, 0);  // wraps within the kept entries
}

TEST_F(CameraScene, StartPoseForTenSecondsThenTheAveragesRampFromZero) {
  source.AddCamera("mover_maker", "8 0");
  target.AddCamera("mover_maker", "-4 0");
  X2HumanCamera* camera = MakeCamera();
  MoveAt(camera, 1.0f);
  EXPECT_EQ(camera->position, D3DXVECTOR3(0.0f, -3.0f, -15.0f));
  EXPECT_EQ(camera->target, D3DXVECTOR3(0.0f, -3.0f, -17.0f));

  auto* fresh = new X2HumanCamera(GetHostCallbacks());
  world->AddChild(fresh);
  world->started = 1;
  for (int frame = 1; frame <= 5; ++frame) {
    MoveAt(fresh, 11.0f + frame);
    const float share = std::min(frame, 4) / 4.0f;
    EXPECT_FLOAT_EQ(fresh->position.x, 8.0f * share) << frame;
    EXPECT_FLOAT_EQ(fresh->target.x, -4.0f * share) << frame;
  }
  EXPECT_EQ(fresh->direction, D3DXVECTOR3(-1.0f, 0.0f, 0.0f));
}

TEST_F(CameraScene, HumanModeReaimsAfterAPauseAndZoomsWithAFade) {
  X2HumanCamera* camera = MakeCamera();
  camtest::ScriptedRandom random;
  camera->SetRandomSource(random.Source());
  // Subject 30 units ahead, already chosen; the eye settled at the origin.
  camera->chosenTarget = camera->lookSmooth = D3DXVECTOR3(0, 0, 30);
  camera->position = camera->eyeSmooth = D3DXVECTOR3(0, 0, 0);
  camera->target = D3DXVECTOR3(10, 0, 30);
  camera->lastRetarget = 100.0f;
  // Chance 26 x 0.5 x 0.02 = 0.26: 0.3 keeps the aim; then 0.52: 0.2 re-aims.
  random.draws = {0.3f, 0.2f, 1.0f};
  camera->UpdateHumanView(100.5f);
  EXPECT_EQ(camera->chosenTarget, D3DXVECTOR3(0, 0, 30));
  EXPECT_EQ(X2HumanCamera::lastZoomGoal, 3.0f);  // min(30 / 3, 3) starts the zoom fade...
  EXPECT_FLOAT_EQ(camera->zoom, 1.0f);           // ...which holds this frame
  camera->UpdateHumanView(101.0f);
  EXPECT_EQ(camera->chosenTarget, D3DXVECTOR3(10, 0, 30));
  EXPECT_NEAR(camera->lookSmooth.x, 0.0f, 1e-6f);  // hesitates at the re-aim
  EXPECT_NEAR(camera->zoom, 0.05f * 3.0f + 0.95f, 1e-5f);
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
  for (int frame = 0; frame < 60; ++frame) MoveAt(camera, 20.0f + frame * 0.1f);
  ASSERT_TRUE(camera->IsHumanView());
  EXPECT_GT(camera->GetLodScale(), 1.5f);

  D3DXMATRIX plain;
  D3DXMatrixPerspectiveFovLH(&plain, D3DX_PI / 3.0f, 640.0f / 480.0f, 0.1f, 100.0f);
  auto expectPlain = [&](const char* why, float keptZoom) {
    EXPECT_EQ(camera->GetFov(), D3DX_PI / 3.0f) << why;
    EXPECT_EQ(camera->GetLodScale(), keptZoom) << why;  // the last zoom stays
    for (int i = 0; i < 16; ++i)
      EXPECT_NEAR(static_cast<const float*>(camera->projection)[i], static_cast<const float*>(plain)[i], 1e-5f) << why;
    D3DXVECTOR3 p, t;
    EXPECT_EQ(*camera->GetPosition(&p), camera->position) << why;
    EXPECT_EQ(*camera->GetTarget(&t), camera->target) << why;
  };
  float zoom = camera->GetLodScale();
  host.settings[kSceneHumanCamera] = 0;
  MoveAt(camera, 30.0f);
  expectPlain("mode off", zoom);

  host.settings[kSceneHumanCamera] = 1;
  MoveAt(camera, 30.1f);
  ASSERT_TRUE(camera->IsHumanView());
  zoom = camera->GetLodScale();
  camera->sourceIndex = 1;  // the direct entry
  MoveAt(camera, 30.2f);
  expectPlain("direct entry", zoom);
}

// The shipped look-at AI made by the camera and stepped on its target mover
// through the real host table looks 5 units ahead along the camera's path.
TEST_F(CameraScene, ShippedLookAtAIFollowsThePositionMoverThroughTheHostTable) {
  HMODULE module = LoadLibraryA((qvtest::DistDir() + "ai\\Forelens.qve").c_str());
  ASSERT_NE(module, nullptr);
  auto get = reinterpret_cast<X2GetAIDataFn>(GetProcAddress(module, X2_AI_EXPORT_NAME));
  const X2AIData* forelens = get ? get(nullptr, nullptr) : nullptr;
  ASSERT_NE(forelens, nullptr);
  targetList->Append(&forelens->header, module);  // the list frees the library
  const std::string key = std::string(forelens->header.name) + "_" + forelens->header.maker;
  source.AddCamera("mover_maker", "0 1");  // along +x at one unit a second
  target.AddCamera(key.c_str(), "");
  X2HumanCamera* camera = MakeCamera();
  ASSERT_EQ(camera->targetCount, 1);
  X2HostCallbacks* table = GetHostCallbacks();
  EXPECT_EQ(table->GetCameraSourceObject(), Handle(camera->sourceMover));
  EXPECT_EQ(table->GetCameraTargetObject(), Handle(camera->targetMover));
  C3Move rider;
  table->SetCameraOwnObject(Handle(&rider));
  EXPECT_EQ(camera->GetRiderObject(), &rider);

  world->started = 1;
  for (int frame = 1; frame <= 30; ++frame) MoveAt(camera, 20.0f + frame * 0.1f);
  const D3DXVECTOR3 gap = camera->targetMover->position - camera->sourceMover->position - D3DXVECTOR3(5, 0, 0);
  EXPECT_LT(D3DXVec3Length(&gap), 1e-3f);
}

}  // namespace
