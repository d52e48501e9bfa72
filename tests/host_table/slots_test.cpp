// The host table as a plug-in sees it: its shape, and every slot called from
// inside the probe library with live objects, null handles and a scene
// without its optional parts.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "HostCallbacks.h"
#include "HostProbe.h"
#include "LogTestSupport.h"
#include "Settings.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "panels/C7TexturePanel.h"
#include "world/C3Camera.h"

namespace {

const int kFilledSlots[] = {0,  1,  2,  3,  4,  5,  6,   7,   8,   9,   10,  11,  12,  13,  14,  16,
                            17, 18, 19, 20, 21, 22, 23,  24,  25,  26,  27,  32,  33,  34,  35,  36,
                            37, 38, 39, 40, 64, 66, 67,  80,  81,  82,  83,  84,  85,  86,  87,  88,
                            89, 90, 91, 96, 97, 98, 99, 100, 112, 113, 114, 128, 129, 130, 131, 144};

bool IsFilledIndex(int index) {
  for (int i : kFilledSlots)
    if (i == index) return true;
  return false;
}

void ExpectVec(const X2Vec3& v, float x, float y, float z) {
  EXPECT_FLOAT_EQ(v.x, x);
  EXPECT_FLOAT_EQ(v.y, y);
  EXPECT_FLOAT_EQ(v.z, z);
}

using qvtest::ReadLog;

// A seed whose first rand() is `wanted`.
unsigned SeedGiving(int wanted) {
  for (unsigned seed = 0; seed < 20000000u; ++seed) {
    srand(seed);
    if (rand() == wanted) return seed;
  }
  return 0xFFFFFFFFu;
}

}  // namespace

TEST(HostTableShape, SixtyFourFilledSlotsAtTheirIndexesAndNothingElse) {
  X2HostCallbacks* table = GetHostCallbacks();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table, GetHostCallbacks());
  ASSERT_EQ(sizeof(kFilledSlots) / sizeof(kFilledSlots[0]), 64u);
  uintptr_t slots[X2_HOST_SLOT_COUNT];
  static_assert(sizeof slots == sizeof(X2HostCallbacks), "one word per slot");
  std::memcpy(slots, table, sizeof slots);
  int filled = 0;
  for (int i = 0; i < X2_HOST_SLOT_COUNT; ++i) {
    EXPECT_EQ(slots[i] != 0, IsFilledIndex(i)) << "slot " << i;
    filled += slots[i] != 0;
  }
  EXPECT_EQ(filled, 64);
}

TEST(HostTableSlots, ObjectPropertiesWrittenAndReadBackFromThePlugin) {
  X2HostCallbacks* host = GetHostCallbacks();
  ProbeResetCounters();
  C3Move object;
  object.boxMin = D3DXVECTOR3(-2, -3, -4);
  object.boxMax = D3DXVECTOR3(5, 6, 7);
  object.bodySize = 0.5f;
  X2Object handle = HostHandle(&object);
  X2AIObject* ai = ProbeCreateAI(host, kProbeKeep);

  ProbeObjectResult r;
  ProbeObjectSlots(host, handle, ai, &r);
  EXPECT_EQ(r.setPositionResult, &object.position.x);
  EXPECT_EQ(r.setDirectionResult, &object.heading.x);
  for (X2Object result : r.setterResults) EXPECT_EQ(result, handle);
  EXPECT_EQ(r.positionReturned, &r.position);  // the hidden result pointer comes back
  ExpectVec(r.position, 1.5f, -2.0f, 3.25f);
  ExpectVec(r.direction, 0.0f, 0.6f, 0.8f);
  ExpectVec(r.boundsMin, -2, -3, -4);
  ExpectVec(r.boundsMax, 5, 6, 7);
  // Pitch, yaw and roll are the rotations about X, Y and Z.
  EXPECT_FLOAT_EQ(object.rotX, 0.25f);
  EXPECT_FLOAT_EQ(object.rotY, -1.5f);
  EXPECT_FLOAT_EQ(object.rotZ, 0.75f);
  EXPECT_FLOAT_EQ(r.pitch, 0.25f);
  EXPECT_FLOAT_EQ(r.yaw, -1.5f);
  EXPECT_FLOAT_EQ(r.roll, 0.75f);
  EXPECT_FLOAT_EQ(r.speed, 2.5f);
  EXPECT_FLOAT_EQ(r.scale, 1.75f);
  EXPECT_FLOAT_EQ(r.bodySize, 0.5f);
  EXPECT_EQ(r.userAfterSet, 1);
  EXPECT_EQ(r.userAfterClear, 0);
  EXPECT_FALSE(object.HasFlag(kObjUser));
  EXPECT_TRUE(object.HasFlag(kObjAlwaysCulled));
  EXPECT_TRUE(object.HasFlag(kObjDrift));
  EXPECT_EQ(static_cast<void*>(r.world), static_cast<void*>(&object.world));
  EXPECT_EQ(static_cast<void*>(r.rotation), static_cast<void*>(&object.rotation));
  EXPECT_EQ(r.block104, static_cast<void*>(object.hostBlocks[0]));
  EXPECT_EQ(r.block124, static_cast<void*>(object.hostBlocks[1]));
  // SetAI stores the AI and tells it its owner; clearing neither deletes nor tells.
  EXPECT_EQ(r.aiAfterSet, ai);
  EXPECT_EQ(ai->owner, handle);
  EXPECT_EQ(r.aiAfterClear, nullptr);
  EXPECT_EQ(object.ai, nullptr);
  EXPECT_EQ(ProbeAIsDestroyed(), 0);
  X2DeleteAIObject(ai);
  EXPECT_EQ(ProbeAIsDestroyed(), 1);

  // Only bit 0 of the drift switch counts; a plain object has no rotation matrix.
  host->SetDriftWithCurrent(handle, 2);
  EXPECT_FALSE(object.HasFlag(kObjDrift));
  host->SetDriftWithCurrent(handle, 3);
  EXPECT_TRUE(object.HasFlag(kObjDrift));
  C3Object plain;
  EXPECT_EQ(host->GetRotationMatrix(HostHandle(&plain)), nullptr);
  EXPECT_NE(host->GetWorldMatrix(HostHandle(&plain)), nullptr);
}

TEST(HostTableSlots, NullHandlesGiveTheDefaults) {
  ProbeNullResult r;
  ProbeNullSlots(GetHostCallbacks(), &r);
  ExpectVec(r.position, 0, 0, 0);
  ExpectVec(r.direction, 1, 0, 0);
  ExpectVec(r.boundsMin, -1, -1, -1);
  ExpectVec(r.boundsMax, 1, 1, 1);
  EXPECT_EQ(r.pitch, 0.0f);
  EXPECT_EQ(r.yaw, 0.0f);
  EXPECT_EQ(r.roll, 0.0f);
  EXPECT_EQ(r.speed, 0.0f);
  EXPECT_EQ(r.scale, 1.0f);
  EXPECT_EQ(r.bodySize, 1.0f);
  EXPECT_EQ(r.swimFactor, 0.0f);
  EXPECT_EQ(r.setPosition, nullptr);
  EXPECT_EQ(r.setDirection, nullptr);
  for (X2Object result : r.setters) EXPECT_EQ(result, nullptr);
  EXPECT_EQ(r.world, nullptr);
  EXPECT_EQ(r.rotation, nullptr);
  EXPECT_EQ(r.block104, nullptr);
  EXPECT_EQ(r.block124, nullptr);
  EXPECT_EQ(r.ai, nullptr);
  EXPECT_EQ(r.user, 0);
  for (float v : r.swim) EXPECT_EQ(v, -9.0f);
  EXPECT_EQ(r.frame, nullptr);
}

TEST(HostTableSlots, SceneWithoutItsOptionalParts) {
  ASSERT_EQ(TheTerrain, nullptr);
  ASSERT_EQ(TheCollisionServer, nullptr);
  ASSERT_EQ(TheRingWander, nullptr);
  LoadSettings(0);
  ProbeSceneResult r;
  ProbeSceneSlots(GetHostCallbacks(), &r);
  EXPECT_EQ(r.cameraSource, nullptr);
  EXPECT_EQ(r.cameraTarget, nullptr);
  // No application: the mouse rotation is the identity, no button is held.
  EXPECT_EQ(static_cast<void*>(r.mouseReturned), static_cast<void*>(r.mouse));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(r.mouse[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
  EXPECT_EQ(r.mouseNull, nullptr);
  EXPECT_EQ(r.buttons, 0);
  EXPECT_EQ(r.aux, nullptr);
  EXPECT_EQ(r.dolphin, nullptr);
  EXPECT_EQ(r.twinfin, 0);
  EXPECT_EQ(r.hasCollision, 0);
  EXPECT_EQ(r.collisionReturned, &r.collision);
  ExpectVec(r.collision, 0, 0, 0);
  ExpectVec(r.collisionEx, 0, 0, 0);
  EXPECT_EQ(r.worldRange, 100.0f);
  EXPECT_EQ(r.hasTerrain, 0);
  EXPECT_EQ(r.height, -5.0f);
  EXPECT_EQ(r.onStructure, 7);  // left alone
  EXPECT_EQ(r.heightNullFlag, -5.0f);
  ExpectVec(r.wander, 0, 0, 0);
  ExpectVec(r.cameraPosition, 0, 0, 0);

  // The settings and the main camera, once there.
  TechSettings.SetValue(kTechTwinfinTech, 1);
  SceneSettings.SetValue(kSceneSmallWorld, 1);
  C3Camera camera;
  camera.position = D3DXVECTOR3(3, 4, 5);
  SetMainCamera(&camera);
  C3Move rider;
  GetHostCallbacks()->SetCameraOwnObject(HostHandle(&rider));
  ProbeSceneSlots(GetHostCallbacks(), &r);
  EXPECT_EQ(camera.GetRiderObject(), &rider);
  GetHostCallbacks()->SetCameraOwnObject(nullptr);
  EXPECT_EQ(camera.GetRiderObject(), nullptr);
  SetMainCamera(nullptr);
  LoadSettings(0);
  EXPECT_EQ(r.twinfin, 1);
  EXPECT_EQ(r.worldRange, 0.0f);
  ExpectVec(r.cameraPosition, 3, 4, 5);
}

TEST(HostTableSlots, RandomReachesBothEndsExactly) {
  const unsigned zeroSeed = SeedGiving(0);
  const unsigned maxSeed = SeedGiving(32767);
  ASSERT_NE(zeroSeed, 0xFFFFFFFFu);
  ASSERT_NE(maxSeed, 0xFFFFFFFFu);
  float values[200];
  srand(zeroSeed);
  ProbeRandoms(GetHostCallbacks(), 1, values);
  EXPECT_EQ(values[0], 0.0f);
  srand(maxSeed);
  ProbeRandoms(GetHostCallbacks(), 1, values);
  EXPECT_EQ(values[0], 1.0f);
  srand(12345);
  std::vector<int> expected;
  for (int i = 0; i < 200; ++i) expected.push_back(rand());
  srand(12345);
  ProbeRandoms(GetHostCallbacks(), 200, values);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(values[i], expected[i] / 32767.0f);
}

TEST(HostTableSlots, TextGoesToTheLogAndToExistingPanelsOnly) {
  CreateDirectoryA("c:\\log", nullptr);
  C7TexturePanel panel(-1.0f, 1.0f, 0.05f, 0.0f);
  C7TexturePanel first(-1.0f, 0.9f, 0.05f, 0.0f);
  ThePanels[3] = &panel;
  ThePanels[0] = &first;
  const size_t before = ReadLog().size();
  SetDebugLogLevel(1);
  ProbeText(GetHostCallbacks(), 3, "%n%s", 42);  // a plug-in's argument is text, not a format
  ProbeText(GetHostCallbacks(), 4, "missing", 1);  // no panel 4
  ProbeNullFormats(GetHostCallbacks());
  SetDebugLogLevel(0);
  EXPECT_STREQ(panel.Text(), "panel %n%s 42");
  const std::string log = ReadLog();
  ASSERT_GT(log.size(), before);
  EXPECT_NE(log.find("probe %n%s 42 0.50", before), std::string::npos);
  EXPECT_NE(log.find("probe missing 1 0.50", before), std::string::npos);
  EXPECT_NE(log.find("aaaaaaaa", before), std::string::npos);  // the long line, cut
  // Panel 0 got the long text, cut to the panel; the null format and the
  // out-of-range indexes touched nothing.
  EXPECT_GT(first.Length(), 0u);
  EXPECT_LE(first.Length(), 64u);
  EXPECT_EQ(first.Text()[0], 'a');
  EXPECT_STREQ(panel.Text(), "panel %n%s 42");
  ThePanels[3] = nullptr;
  ThePanels[0] = nullptr;
}
