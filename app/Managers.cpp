#include "Managers.h"

#include "config/X2CameraConfig.h"
#include "config/X2CoralConfig.h"
#include "config/X2FlockConfig.h"
#include "config/X2StructureConfig.h"
#include "diagnostics/Diagnostics.h"
#include "pluginlists/X2AIList.h"
#include "pluginlists/X2CameraAIList.h"
#include "pluginlists/X2CoralList.h"
#include "pluginlists/X2FishList.h"
#include "pluginlists/X2StructureList.h"

namespace {

template <class List>
List* MakeConfig(List* list, const char* folder, const char* file) {
  list->SetFolder(folder);
  if (!list->Load(file)) LogPrint("KWEX flockconfig\n");
  return list;
}

template <class T>
void DeleteAndClear(T*& object) {
  delete object;
  object = nullptr;
}

}  // namespace

void CreateManagers(const char* programFolder) {
  TheFishList = new X2FishList();
  TheCoralList = new X2CoralList();
  TheFlockAIList = new X2AIList();
  TheStructureList = new X2StructureList();
  TheSourceCameraAIList = new X2CameraAIList(X2_AI_CAMERA_SOURCE);
  TheTargetCameraAIList = new X2CameraAIList(X2_AI_CAMERA_TARGET);
  LogPrint("plug-ins: %d fish, %d coral, %d flock AI, %d structure, %d camera position AI, %d look-at AI\n",
           TheFishList->Count(), TheCoralList->Count(), TheFlockAIList->Count(), TheStructureList->Count(),
           TheSourceCameraAIList->Count(), TheTargetCameraAIList->Count());

  TheStructureConfig = MakeConfig(new X2StructureConfig(), programFolder, "StructureConfig.ini");
  TheFlockConfig = MakeConfig(new X2FlockConfig(), programFolder, "FlockConfig.ini");
  TheCoralConfig = MakeConfig(new X2CoralConfig(), programFolder, "CoralConfig.ini");
  TheSourceCameraConfig = MakeConfig(new X2CameraConfig("Source"), programFolder, "CameraConfig.ini");
  TheTargetCameraConfig = MakeConfig(new X2CameraConfig("Target"), programFolder, "CameraConfig.ini");
}

void DeleteManagers() {
  DeleteAndClear(TheStructureList);
  DeleteAndClear(TheFishList);
  DeleteAndClear(TheCoralList);
  DeleteAndClear(TheStructureConfig);
  DeleteAndClear(TheCoralConfig);
  DeleteAndClear(TheFlockAIList);
  DeleteAndClear(TheFlockConfig);
  DeleteAndClear(TheSourceCameraAIList);
  DeleteAndClear(TheTargetCameraAIList);
  DeleteAndClear(TheSourceCameraConfig);
  DeleteAndClear(TheTargetCameraConfig);
}
