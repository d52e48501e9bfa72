#include "SceneGlobals.h"

X1RingWander* TheRingWander = nullptr;
X6Fog* TheFog = nullptr;
X7CurrentServer* TheCurrentServer = nullptr;
X2HumanCamera* TheCamera = nullptr;
X1Halation* TheHalation = nullptr;
C6Caustic* TheCaustic = nullptr;
C9SunLight* TheSunLight = nullptr;
X1Terrain* TheTerrain = nullptr;
X1CollisionServer* TheCollisionServer = nullptr;
X1HeightCollision* TheWaveCeiling = nullptr;
C6Skydome* TheSkydome = nullptr;
C6unionSeaface* TheSeaface = nullptr;
C3Logo* TheLogo = nullptr;
C9DisplayInfo* TheDisplayInfo = nullptr;
C6Light* TheFishLights[kLoneFishLightCount] = {};
C7TexturePanel* ThePanels[kTextPanelCount] = {};

void ClearSceneGlobals() {
  TheRingWander = nullptr;
  TheFog = nullptr;
  TheCurrentServer = nullptr;
  TheCamera = nullptr;
  TheHalation = nullptr;
  TheCaustic = nullptr;
  TheSunLight = nullptr;
  TheTerrain = nullptr;
  TheCollisionServer = nullptr;
  TheWaveCeiling = nullptr;
  TheSkydome = nullptr;
  TheSeaface = nullptr;
  TheLogo = nullptr;
  TheDisplayInfo = nullptr;
  for (C6Light*& light : TheFishLights) light = nullptr;
  for (C7TexturePanel*& panel : ThePanels) panel = nullptr;
}
