#pragma once
// The scene objects that the hooks and other parts reach directly. Each is
// null until the one-time scene set-up makes it; every reader tests first.

class X1RingWander;
class X6Fog;
class X7CurrentServer;
class X2HumanCamera;
class X1Halation;
class C6Caustic;
class C9SunLight;
class X1Terrain;
class X1CollisionServer;
class X1HeightCollision;
class C6Skydome;
class C6unionSeaface;
class C3Logo;
class C9DisplayInfo;
class C6Light;
class C7TexturePanel;

constexpr int kLoneFishLightCount = 4;
constexpr int kTextPanelCount = 35;

extern X1RingWander* TheRingWander;
extern X6Fog* TheFog;
extern X7CurrentServer* TheCurrentServer;
extern X2HumanCamera* TheCamera;
extern X1Halation* TheHalation;
extern C6Caustic* TheCaustic;
extern C9SunLight* TheSunLight;
extern X1Terrain* TheTerrain;
extern X1CollisionServer* TheCollisionServer;
// The waves' ceiling field; made only with the sea surface.
extern X1HeightCollision* TheWaveCeiling;
extern C6Skydome* TheSkydome;
extern C6unionSeaface* TheSeaface;
extern C3Logo* TheLogo;
extern C9DisplayInfo* TheDisplayInfo;
// One light per lone fish; null when that fish was not made.
extern C6Light* TheFishLights[kLoneFishLightCount];
extern C7TexturePanel* ThePanels[kTextPanelCount];

// Forgets every scene object (the world has deleted them).
void ClearSceneGlobals();
