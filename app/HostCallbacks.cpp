#include "HostCallbacks.h"

#include "HostSlots.h"

namespace {

X2HostCallbacks MakeTable() {
  using namespace hostslots;
  X2HostCallbacks t{};  // every slot not named below stays null
  // 0: object pose
  t.GetPosition = GetPosition;
  t.GetPitch = GetPitch;
  t.GetYaw = GetYaw;
  t.GetRoll = GetRoll;
  t.SetPosition = SetPosition;
  t.SetPitch = SetPitch;
  t.SetYaw = SetYaw;
  t.SetRoll = SetRoll;
  t.GetSpeed = GetSpeed;
  t.SetSpeed = SetSpeed;
  t.Random = Random;
  t.GetWorldMatrix = GetWorldMatrix;
  t.GetRotationMatrix = GetRotationMatrix;
  t.GetBlock104 = GetBlock104;
  t.GetBlock124 = GetBlock124;
  // 16: heading, AI, scale, swim state, user flag
  t.GetDirection = GetDirection;
  t.GetAI = GetAI;
  t.SetAI = SetAI;
  t.GetScale = GetScale;
  t.SetScale = SetScale;
  t.GetSwimState = GetSwimState;
  t.SetSwimState = SetSwimState;
  t.GetSwimFactor = GetSwimFactor;
  t.SetUserFlag = SetUserFlag;
  t.ClearUserFlag = ClearUserFlag;
  t.TestUserFlag = TestUserFlag;
  t.SetDirection = SetDirection;
  // 32: camera, mouse, bounds
  t.GetCameraSourceObject = GetCameraSourceObject;
  t.GetCameraTargetObject = GetCameraTargetObject;
  t.GetMouseRotation = GetMouseRotation;
  t.GetMouseButtons = GetMouseButtons;
  t.SetCameraOwnObject = SetCameraOwnObject;
  t.GetBodySize = GetBodySize;
  t.GetBoundsMin = GetBoundsMin;
  t.GetBoundsMax = GetBoundsMax;
  t.GetAuxBlock = GetAuxBlock;
  // 64: dolphins and X-file objects
  t.CreateDolphin = CreateDolphin;
  t.SetDolphinParam = SetDolphinParam;
  t.FindFrameMatrix = FindFrameMatrix;
  // 80: fish, flocks, render textures
  t.CreateFish = CreateFish;
  t.RegisterObject = RegisterObject;
  t.SetHiddenFlag = SetHiddenFlag;
  t.AddToBuildingFlock = AddToBuildingFlock;
  t.GetFlockMember = GetFlockMember;
  t.GetFlockSize = GetFlockSize;
  t.GetFlockNames = GetFlockNames;
  t.GetFlockCount = GetFlockCount;
  t.CreateRenderTexture = CreateRenderTexture;
  t.SetCloneSource = SetCloneSource;
  t.AddClone = AddClone;
  t.IsTwinfinTech = IsTwinfinTech;
  // 96: collision fields and the water current
  t.HasCollisionServer = HasCollisionServer;
  t.GetCollisionForce = GetCollisionForce;
  t.GetWorldRange = GetWorldRange;
  t.SetDriftWithCurrent = SetDriftWithCurrent;
  t.GetCollisionForceEx = GetCollisionForceEx;
  // 112: terrain and ring wander
  t.HasTerrain = HasTerrain;
  t.GetTerrainHeight = GetTerrainHeight;
  t.GetWanderTarget = GetWanderTarget;
  // 128: debugging aids and text
  t.AddHaloAnchor = AddHaloAnchor;
  t.LogPrint = LogPrint;
  t.AddDebugLine = AddDebugLine;
  t.PrintToPanel = PrintToPanel;
  // 144: camera position
  t.GetCameraPosition = GetCameraPosition;
  return t;
}

}  // namespace

X2HostCallbacks* GetHostCallbacks() {
  static X2HostCallbacks table = MakeTable();
  return &table;
}
