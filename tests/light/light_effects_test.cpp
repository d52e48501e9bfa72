// The light effects' decisions without a device: gamma ramps, caustic
// frame timing, where the light shafts hang and how they bend and shine,
// the flare's layout, the lone-fish light, the sky dome's mapping and the
// random timer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/RandomTimer.h"
#include "common/SettingIds.h"
#include "frame/C3SceneHost.h"
#include "light/C3Gamma.h"
#include "light/C3LightTower.h"
#include "light/C6Caustic.h"
#include "light/C6Flare.h"
#include "light/C6Light.h"
#include "light/FlareLayout.h"
#include "light/GammaRamp.h"
#include "light/LightEffects.h"
#include "light/LightTowerShape.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

const D3DXVECTOR3 kDefaultLight(0.0f, -0.70710599f, 0.70710599f);

// ---- Gamma -------------------------------------------------------------------

TEST(Gamma, RampsByWaterity) {
  struct Case {
    int waterity;
    float tint;
  } cases[] = {{0, 1.0f}, {1, 0.8f}, {2, 0.3f}, {3, 0.1f}, {-1, 1.0f}, {4, 0.1f}, {99, 0.1f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.waterity);
    EXPECT_FLOAT_EQ(WaterityTint(c.waterity), c.tint);
    D3DGAMMARAMP ramp;
    BuildGammaRamp(WaterityTint(c.waterity), &ramp);
    for (int i : {0, 1, 128, 254, 255}) {
      EXPECT_EQ(ramp.green[i], 257 * i);
      EXPECT_EQ(ramp.blue[i], 257 * i);
      EXPECT_EQ(ramp.red[i], static_cast<WORD>(std::trunc(c.tint * 257.0f * i)));
    }
  }
}

TEST(Gamma, NeutralRampIsTheIdentity) {
  D3DGAMMARAMP ramp;
  BuildGammaRamp(1.0f, &ramp);
  EXPECT_EQ(ramp.red[255], 65535);  // the whole range, not 255 x 255
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(ramp.red[i], ramp.green[i]);
    ASSERT_EQ(ramp.red[i], 257 * i);
  }
  // A tint outside 0..1 (or not a number) cannot wrap the 16-bit entries.
  BuildGammaRamp(3.0f, &ramp);
  EXPECT_EQ(ramp.red[255], 65535);
  BuildGammaRamp(NAN, &ramp);
  EXPECT_EQ(ramp.red[255], 0);
}

class WaterityHost : public C3SceneHost {
 public:
  int GetSceneSetting(int pos) override { return pos == kSceneWaterity ? waterity : 0; }
  int waterity = 3;
};

TEST(Gamma, TintComesBackAfterEachRestore) {
  WaterityHost host;
  SetSceneHost(&host);
  C3Gamma gamma;
  EXPECT_EQ(gamma.ramps[0].red[255], 65535);  // neutral before the first restore
  gamma.RestoreDeviceObjects();
  EXPECT_EQ(gamma.ramps[0].red[255], static_cast<WORD>(std::trunc(0.1f * 65535.0f)));
  gamma.Render();
  EXPECT_EQ(gamma.applied, 1);
  gamma.InvalidateDeviceObjects();  // device lost: neutral again
  EXPECT_EQ(gamma.ramps[0].red[255], 65535);
  EXPECT_EQ(gamma.applied, 0);
  gamma.RestoreDeviceObjects();  // reset: the tint is built and applied again
  EXPECT_EQ(gamma.ramps[0].red[255], static_cast<WORD>(std::trunc(0.1f * 65535.0f)));
  gamma.Render();
  EXPECT_EQ(gamma.applied, 1);
  SetSceneHost(nullptr);
}

// ---- Caustic -----------------------------------------------------------------

TEST(Caustic, FrameTiming) {
  struct Case {
    float t;
    int frame;
  } cases[] = {{0.0f, 0},       {0.03f, 0},   {0.032f, 1},  {0.99f, 31}, {1.0f, 0},
               {1.5f, 16},      {2.999f, 31}, {100.0f, 0},  {-1.0f, 0},  {NAN, 0},
               {INFINITY, 0},   {1e9f, 0}};
  for (const Case& c : cases) EXPECT_EQ(CausticFrame(c.t), c.frame) << c.t;
  // Every frame comes once per second, in order.
  for (int k = 0; k < 64; ++k) EXPECT_EQ(CausticFrame((k + 0.5f) / 32.0f), k % 32) << k;
}

TEST(Caustic, NoTextureBeforeItsDeviceObjects) {
  C6Caustic caustic;
  EXPECT_EQ(caustic.GetTexture(), nullptr);
  caustic.Move(0.5f, 0.4f);  // no textures: stays null, no crash
  EXPECT_EQ(caustic.GetTexture(), nullptr);
  EXPECT_EQ(caustic.frame, 16);
}

// ---- Light towers ------------------------------------------------------------

TEST(LightTower, TemplateFan) {
  ShaftVertex v[kShaftVertexCount];
  BuildShaftTemplate(3.0f, 20.0f, v);
  EXPECT_FLOAT_EQ(v[0].y, -10.0f);
  EXPECT_FLOAT_EQ(v[3].x, -1.5f);
  EXPECT_FLOAT_EQ(v[3].y, -20.0f);
  EXPECT_FLOAT_EQ(v[7].x, 1.5f);
  EXPECT_FLOAT_EQ(v[7].v, 1.0f);
  EXPECT_EQ(0, std::memcmp(&v[9], &v[1], sizeof(ShaftVertex)));
  // The fan's outline winds one way round the centre: every triangle of the
  // fan has the same orientation and none is degenerate.
  for (int i = 1; i < 9; ++i) {
    const float cross = (v[i].x - v[0].x) * (v[i + 1].y - v[0].y) - (v[i].y - v[0].y) * (v[i + 1].x - v[0].x);
    EXPECT_GT(cross, 0.0f) << i;
  }
  for (const ShaftVertex& p : v) EXPECT_FLOAT_EQ(p.nz, -1.0f);
}

TEST(LightTower, HangsUnderThePointTowardsTheSun) {
  struct Case {
    D3DXVECTOR3 camera;
    D3DXVECTOR3 light;
    float ox, oz;
    D3DXVECTOR3 position;
  } cases[] = {
      // Sun straight above: right over the camera.
      {{3.0f, -5.0f, 4.0f}, {0.0f, -1.0f, 0.0f}, 0.0f, -1.0f, {3.0f, -2.0f, 3.0f}},
      // The default sun (up and towards -z): 5 units back for a camera 5 deep.
      {{0.0f, -5.0f, 0.0f}, kDefaultLight, 0.5f, 0.0f, {0.5f, -2.0f, -5.0f}},
      {{1.0f, -8.0f, 2.0f}, {0.6f, -0.8f, 0.0f}, 0.0f, 1.0f, {-5.0f, -2.0f, 3.0f}},
      // A light that does not go down falls back to the default one.
      {{0.0f, -5.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, 0.0f, 0.0f, {0.0f, -2.0f, -5.0f}},
      {{0.0f, -5.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, 0.0f, 0.0f, {0.0f, -2.0f, -5.0f}},
  };
  for (const Case& c : cases) {
    const TowerPlacement p = PlaceTower(c.camera, c.light, c.ox, c.oz);
    EXPECT_NEAR(p.position.x, c.position.x, 1e-4f);
    EXPECT_NEAR(p.position.y, c.position.y, 1e-4f);
    EXPECT_NEAR(p.position.z, c.position.z, 1e-4f);
    EXPECT_TRUE(std::isfinite(p.angle));
  }
}

TEST(LightTower, FacesItsOffsetDirection) {
  struct Case {
    float ox, oz;
    float angle;
  } cases[] = {
      {0.0f, -1.0f, -static_cast<float>(D3DX_PI)},  // default offset
      {0.0f, 2.0f, 0.0f},
      {1.0f, 0.0f, static_cast<float>(D3DX_PI) / 2},
      {-1.0f, 0.0f, -static_cast<float>(D3DX_PI) / 2},
      {0.0f, 0.0f, 0.0f},  // no offset: no direction, no NaN
      // Rounding can push offsetZ / r past 1: still a number.
      {1e-30f, 0.3f, 0.0f},
  };
  for (const Case& c : cases) {
    const TowerPlacement p = PlaceTower(D3DXVECTOR3(0, -5, 0), kDefaultLight, c.ox, c.oz);
    EXPECT_NEAR(p.angle, c.angle, 1e-5f) << c.ox << "," << c.oz;
    EXPECT_NEAR(p.distance, std::sqrt(c.ox * c.ox + c.oz * c.oz), 1e-6f);
  }
  // The rotated shaft's normal turns to face the offset direction's opposite
  // side: the panels stand radially around the point under the sun.
  for (float angle = 0.25f; angle < 6.3f; angle += 0.5f) {
    const float ox = 2.0f * std::cos(angle), oz = 2.0f * std::sin(angle);
    const TowerPlacement p = PlaceTower(D3DXVECTOR3(0, -5, 0), kDefaultLight, ox, oz);
    D3DXMATRIX r;
    D3DXMatrixRotationY(&r, p.angle);
    D3DXVECTOR3 n(0, 0, -1), out, toOffset(ox, 0, oz);
    D3DXVec3TransformNormal(&out, &n, &r);
    D3DXVec3Normalize(&toOffset, &toOffset);
    EXPECT_NEAR(std::fabs(D3DXVec3Dot(&out, &toOffset)), 1.0f, 1e-4f) << angle;
  }
}

TEST(LightTower, PlacedShaftIsInWorldSpace) {
  ShaftVertex templ[kShaftVertexCount], work[kShaftVertexCount];
  BuildShaftTemplate(3.0f, 20.0f, templ);
  const TowerPlacement p = PlaceTower(D3DXVECTOR3(10.0f, -6.0f, 20.0f), kDefaultLight, 1.0f, 1.0f);
  PlaceShaft(templ, p, work);
  // The top centre (vertex 8) is the placement itself, once: the shaft must
  // be drawn with an identity world matrix.
  EXPECT_NEAR(work[8].x, p.position.x, 1e-4f);
  EXPECT_NEAR(work[8].y, -2.0f, 1e-4f);
  EXPECT_NEAR(work[8].z, p.position.z, 1e-4f);
  EXPECT_NEAR(work[4].y, -22.0f, 1e-4f);
  EXPECT_EQ(0, std::memcmp(&work[9], &work[1], sizeof(ShaftVertex)));
  // Width kept by the rotation.
  EXPECT_NEAR(std::hypot(work[7].x - work[1].x, work[7].z - work[1].z), 3.0f, 1e-4f);
}

TEST(LightTower, SwayBendsTheShaftAlongTheLight) {
  ShaftVertex templ[kShaftVertexCount], work[kShaftVertexCount];
  BuildShaftTemplate(3.0f, 20.0f, templ);
  const TowerPlacement p = PlaceTower(D3DXVECTOR3(0, -5, 0), kDefaultLight, 0.0f, -1.0f);
  PlaceShaft(templ, p, work);
  ShaftVertex before[kShaftVertexCount];
  std::memcpy(before, work, sizeof(work));
  SwayShaft(work, kDefaultLight, 0.0f, -1.0f, 0.0f, 0.0f);
  // gz = (0.2 x -1 + 0.707) / -0.707 = -0.717: the bottom moves +z by 0.717 per unit of depth,
  // along the light, which goes down and towards +z.
  const float gz = (0.2f * -1.0f + 0.70710599f) / -0.70710599f;
  EXPECT_NEAR(work[4].z - before[4].z, -gz * 20.0f, 1e-3f);
  EXPECT_NEAR(work[0].z - before[0].z, -gz * 10.0f, 1e-3f);
  EXPECT_NEAR(work[3].z - before[3].z, -gz * 20.0f, 1e-3f);
  EXPECT_NEAR(work[4].x - before[4].x, 0.0f, 1e-4f);
  for (int top : {1, 7, 8, 9}) EXPECT_EQ(0, std::memcmp(&work[top], &before[top], sizeof(ShaftVertex))) << top;
  // The phases pull the bottom back by half a unit per unit of depth at most.
  std::memcpy(work, before, sizeof(work));
  SwayShaft(work, kDefaultLight, 0.0f, -1.0f, 1.0f, 1.0f);
  EXPECT_NEAR(work[4].z - before[4].z, -(gz - 0.5f) * 20.0f, 1e-3f);
  EXPECT_NEAR(work[4].x - before[4].x, 0.5f * 20.0f, 1e-3f);
}

TEST(LightTower, IntensityAndBlink) {
  EXPECT_NEAR(TowerIntensity(1.0f, 1.0f, 0), 0.12f, 1e-6f);
  EXPECT_NEAR(TowerIntensity(1.0f, 0.0f, 1), 0.03f, 1e-6f);
  EXPECT_NEAR(TowerIntensity(0.0f, 1.0f, 2), 0.015f, 1e-6f);
  EXPECT_NEAR(TowerIntensity(1.0f, 1.0f, 7), 0.03f, 1e-6f);  // clamped to Lights 2
  EXPECT_NEAR(TowerIntensity(1.0f, 1.0f, -3), 0.12f, 1e-6f);
  float s1, s2;
  SwayPhases(0.0f, 0.05f, &s1, &s2);
  EXPECT_FLOAT_EQ(s1, 0.5f);
  EXPECT_FLOAT_EQ(s2, 1.0f);

  // Scripted draws: a draw under the chance (t - time - 0.3) x 0.005 starts
  // a blink lasting (r2 + 1) x 0.3; dim until then, 1.2 on the frame it ends.
  static std::vector<float> draws;
  static size_t next;
  auto scripted = []() -> float { return next < draws.size() ? draws[next++] : 1.0f; };
  TowerBlink blink;
  draws = {0.0f};
  next = 0;
  EXPECT_EQ(StepBlink(&blink, 0.2f, scripted), 1.0f);  // chance below zero: never
  draws = {0.5f};
  next = 0;
  EXPECT_EQ(StepBlink(&blink, 10.3f, scripted), 1.0f);  // chance 0.05: 0.5 misses
  EXPECT_EQ(blink.blinking, 0);
  draws = {0.0f, 0.5f};
  next = 0;
  EXPECT_EQ(StepBlink(&blink, 10.3f, scripted), 0.1f);
  EXPECT_EQ(blink.blinking, 1);
  EXPECT_NEAR(blink.time, 10.3f + 0.45f, 1e-5f);
  EXPECT_EQ(StepBlink(&blink, 10.5f, scripted), 0.1f);
  EXPECT_EQ(next, 2u);  // no draws while blinking
  EXPECT_EQ(StepBlink(&blink, 10.8f, scripted), 1.2f);
  EXPECT_EQ(blink.blinking, 0);
  EXPECT_EQ(StepBlink(&blink, 10.9f, scripted), 1.0f);  // the chance starts over from the end
  EXPECT_EQ(blink.blinking, 0);
}

class TowerHost : public C3SceneHost {
 public:
  D3DXVECTOR3 GetLightDirection() override { return kDefaultLight; }
  int GetSceneSetting(int pos) override { return pos == kSceneLights ? 0 : 0; }
};

class LookAlongZ : public C3Camera {
 public:
  D3DXVECTOR3* GetTarget(D3DXVECTOR3* out) override {
    *out = position + D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    return out;
  }
};

TEST(LightTower, MoveKeepsTheWorldMatrixIdentity) {
  TowerHost host;
  SetSceneHost(&host);
  auto* world = new C3World;
  auto* camera = new LookAlongZ;
  camera->position = D3DXVECTOR3(4.0f, -6.0f, 9.0f);
  SetMainCamera(camera);
  world->AddChild(camera);
  auto* tower = new C3LightTower;
  tower->offsetX = 1.2f;
  tower->offsetZ = -0.4f;
  world->AddChild(tower);
  tower->InitDeviceObjects();
  for (int i = 0; i < 5; ++i) world->Move(0.1f);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  EXPECT_EQ(0, std::memcmp(&tower->world, &identity, sizeof(identity)));
  const TowerPlacement p = PlaceTower(camera->position, kDefaultLight, 1.2f, -0.4f);
  EXPECT_NEAR(tower->work[8].x, p.position.x, 1e-4f);
  EXPECT_NEAR(tower->work[8].z, p.position.z, 1e-4f);
  EXPECT_NEAR(tower->cameraDistance, std::hypot(1.2f, 0.4f), 1e-5f);
  EXPECT_GE(tower->colour.x, 0.0f);
  EXPECT_LE(tower->colour.x, 0.12f * 1.2f + 1e-6f);
  tower->DeleteDeviceObjects();
  EXPECT_TRUE(tower->work.empty());
  delete world;
  SetMainCamera(nullptr);
  SetSceneHost(nullptr);
}

// ---- Flare -------------------------------------------------------------------

TEST(Flare, Facing) {
  struct Case {
    D3DXVECTOR3 view;
    float facing;
  } cases[] = {
      {-kDefaultLight, 1.0f},                          // straight at the sun
      {-kDefaultLight * 4.0f, 1.0f},                   // any length
      {kDefaultLight, 0.0f},                           // away from it
      {D3DXVECTOR3(1.0f, 0.0f, 0.0f), 0.0f},           // square to it
      {D3DXVECTOR3(0.0f, 1.0f, 0.0f), 0.0f},           // -(L . D) = 0.707 < 0.75
      {D3DXVECTOR3(0.0f, 0.6f, -0.8f), 0.0f},          // 0.9899
  };
  cases[5].facing = std::min(1.0f, (0.70710599f * 1.4f - 0.75f) * 4.0f);
  for (const Case& c : cases) EXPECT_NEAR(FlareFacing(kDefaultLight, c.view), c.facing, 1e-4f);
  EXPECT_EQ(FlareFacing(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1)), 0.0f);
}

TEST(Flare, ScreenPositionOnlyInFront) {
  D3DXMATRIX view, projection, world, wvp;
  const D3DXVECTOR3 eye(0, 0, 0), at(0, 0, 1), up(0, 1, 0);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  D3DXMatrixPerspectiveFovLH(&projection, static_cast<float>(D3DX_PI) / 3, 4.0f / 3.0f, 0.1f, 100.0f);
  float sx = 9, sy = 9;
  D3DXMatrixTranslation(&world, 0.0f, 0.0f, 30.0f);
  wvp = world * view * projection;
  ASSERT_TRUE(FlareScreenPosition(wvp, &sx, &sy));
  EXPECT_NEAR(sx, 0.0f, 1e-5f);
  EXPECT_NEAR(sy, 0.0f, 1e-5f);
  D3DXMatrixTranslation(&world, 10.0f, 5.0f, 30.0f);
  wvp = world * view * projection;
  ASSERT_TRUE(FlareScreenPosition(wvp, &sx, &sy));
  EXPECT_GT(sx, 0.0f);
  EXPECT_GT(sy, 0.0f);
  // Behind the eye a projection would mirror the sun onto the screen.
  D3DXMatrixTranslation(&world, 1.0f, 1.0f, -30.0f);
  wvp = world * view * projection;
  EXPECT_FALSE(FlareScreenPosition(wvp, &sx, &sy));
}

TEST(Flare, ElementPlan) {
  // Looking at the sun with nothing in the way: the table's intensities.
  for (int i = 0; i < kFlareElementCount; ++i) {
    const FlareElement& e = kFlareElements[i];
    const FlareElementDraw d = PlanFlareElement(i, 0.4f, -0.2f, 1.0f, 1.0f, false, 12);
    EXPECT_EQ(d.factor, static_cast<uint32_t>(e.intensity * 255.0f) << 24) << i;
    EXPECT_FLOAT_EQ(d.x, e.axis * 0.4f);
    EXPECT_FLOAT_EQ(d.y, e.axis * -0.2f);
    EXPECT_EQ(d.texture, e.texture == kFlareAnimatedTexture ? 12 : e.texture);
  }
  // The ghosts (k < 0.98) follow the sun cover and the facing; the sun's
  // own elements do not.
  EXPECT_EQ(PlanFlareElement(0, 0, 0, 0.0f, 0.0f, false, 10).factor, static_cast<uint32_t>(0.4f * 255) << 24);
  EXPECT_EQ(PlanFlareElement(4, 0, 0, 1.0f, 0.0f, false, 10).factor, 0u);
  EXPECT_EQ(PlanFlareElement(17, 0, 0, 0.5f, 0.5f, false, 10).factor, static_cast<uint32_t>(0.1f * 255) << 24);
  // A third of it into the glare image.
  EXPECT_EQ(PlanFlareElement(9, 0, 0, 1.0f, 1.0f, true, 10).factor,
            static_cast<uint32_t>(0.7f * 0.3f * 255) << 24);
  // Sizes that follow the facing.
  EXPECT_FLOAT_EQ(PlanFlareElement(0, 0, 0, 1.0f, 1, false, 10).size, 2.1f);
  EXPECT_FLOAT_EQ(PlanFlareElement(0, 0, 0, 0.0f, 1, false, 10).size, 0.7f);
  EXPECT_FLOAT_EQ(PlanFlareElement(1, 0, 0, 1.0f, 1, false, 10).size, 0.3f);
  EXPECT_FLOAT_EQ(PlanFlareElement(17, 0, 0, 0.0f, 1, false, 10).size, 1.8f);
  EXPECT_FLOAT_EQ(PlanFlareElement(5, 0, 0, 0.0f, 1, false, 10).size, 0.3f);
  // A light value above 1 cannot overflow the alpha byte.
  EXPECT_EQ(PlanFlareElement(9, 0, 0, 1.0f, 50.0f, false, 10).factor, 0xFF000000u);
}

TEST(Flare, AnimatedFrames) {
  int frame = kFlareFirstFrame;
  std::vector<int> seen;
  for (int i = 0; i < 7; ++i) seen.push_back(frame = NextFlareFrame(frame));
  EXPECT_EQ(seen, (std::vector<int>{11, 12, 13, 14, 10, 11, 12}));
  EXPECT_EQ(NextFlareFrame(3), kFlareFirstFrame);

  // One step per 0.05 s of scene time.
  C6Flare flare;
  EXPECT_EQ(flare.frameIndex, 10);
  EXPECT_TRUE(flare.HasFlag(kObjSorted));
  EXPECT_FALSE(flare.HasFlag(kObjAlwaysVisible));
  flare.Move(0.0f, 0.0f);
  EXPECT_EQ(flare.frameIndex, 11);
  flare.Move(0.03f, 0.0f);
  EXPECT_EQ(flare.frameIndex, 11);
  flare.Move(0.05f, 0.03f);
  EXPECT_EQ(flare.frameIndex, 12);
}

// ---- Lone-fish light -----------------------------------------------------------

TEST(FishLight, LevelsAndColour) {
  EXPECT_EQ(FishLightLevel(0), 3.0f);
  EXPECT_EQ(FishLightLevel(1), 2.0f);
  EXPECT_EQ(FishLightLevel(2), 1.0f);
  EXPECT_EQ(FishLightLevel(3), 1.0f);
  EXPECT_EQ(FishLightLevel(-1), 3.0f);
  const D3DXVECTOR4 c = FishLightColour(2.0f, 0.0f);
  EXPECT_NEAR(c.x, 1.1f, 1e-6f);
  EXPECT_NEAR(c.y, 1.4f, 1e-6f);
  EXPECT_NEAR(c.z, 2.0f, 1e-6f);
  EXPECT_EQ(c.w, 1.0f);
  const D3DXVECTOR4 d = FishLightColour(1.0f, static_cast<float>(D3DX_PI) / 2);
  EXPECT_NEAR(d.y, 0.95f, 1e-6f);
  EXPECT_NEAR(d.z, 0.25f * std::cos(1.3f * static_cast<float>(D3DX_PI) / 2) + 0.75f, 1e-6f);
}

class LightsHost : public C3SceneHost {
 public:
  int GetSceneSetting(int pos) override { return pos == kSceneLights ? 1 : 0; }
};

TEST(FishLight, FlickersWithSceneTime) {
  LightsHost host;
  SetSceneHost(&host);
  C3Object fish;
  C6Light light(&fish);
  EXPECT_EQ(light.fish, &fish);
  EXPECT_GE(light.rate, 1.0f);
  EXPECT_LE(light.rate, 3.0f);
  EXPECT_EQ(light.colour, D3DXVECTOR4(0.5f, 0.5f, 0.5f, 1.0f));
  EXPECT_EQ(light.base, D3DXVECTOR4(2.0f, 2.0f, 2.0f, 1.0f));
  light.Move(0.0f, 0.0f);
  EXPECT_NEAR(light.colour.x, 1.1f, 1e-6f);
  EXPECT_NEAR(light.colour.y, 1.4f, 1e-6f);
  light.Move(1.0f, 0.0f);
  EXPECT_EQ(light.colour, FishLightColour(2.0f, light.rate));
  SetSceneHost(nullptr);
}

// ---- Sky dome ------------------------------------------------------------------

TEST(SkyDome, PolarMapping) {
  const float top = 240.0f;
  struct Case {
    float x, y, z;
    float u, v;
  } cases[] = {
      {0.0f, 240.0f, 0.0f, 0.5f, 0.5f},     // zenith: the centre
      {240.0f, 0.0f, 0.0f, 1.0f, 0.5f},     // horizon towards +x: the right edge
      {0.0f, 0.0f, 240.0f, 0.5f, 1.0f},     // +z: the bottom
      {0.0f, 0.0f, -240.0f, 0.5f, 0.0f},    // -z (where the sun stands): the top
      {0.0f, 240.0001f, 0.0f, 0.5f, 0.5f},  // a hair above the top: no NaN
      {0.0f, -240.0f, 0.0f, 0.5f, 1.0f},    // below the horizon: kept on the picture
  };
  for (const Case& c : cases) {
    const float vertex[8] = {c.x, c.y, c.z, 0, -1, 0, 0, 0};
    const SkyVertex s = MakeSkyVertex(vertex, top);
    EXPECT_NEAR(s.u, c.u, 1e-5f) << c.x << "," << c.y << "," << c.z;
    EXPECT_NEAR(s.v, c.v, 1e-5f) << c.x << "," << c.y << "," << c.z;
    EXPECT_NEAR(s.x, c.x * 0.333333f, 1e-3f);
    EXPECT_NEAR(s.y, c.y * 0.5f * 0.333333f, 1e-3f);
  }
  const float flat[8] = {1, 0, 1, 0, 0, 0, 0, 0};
  const SkyVertex s = MakeSkyVertex(flat, 0.0f);  // a flat mesh: no division by zero
  EXPECT_TRUE(std::isfinite(s.u) && std::isfinite(s.v));
}

// ---- Random timer --------------------------------------------------------------

TEST(RandomTimer, ArmsWithinItsBoundsAndFiresOnce) {
  std::srand(7);
  RandomTimer timer;
  for (int i = 0; i < 50; ++i) {
    timer.Arm(2.0f, 5.0f, 10.0f);
    EXPECT_GE(timer.due, 12.0f);
    EXPECT_LE(timer.due, 15.0f);
  }
  EXPECT_EQ(timer.minimum, 2.0f);
  EXPECT_EQ(timer.maximum, 5.0f);
  const float due = timer.due;
  EXPECT_EQ(timer.Poll(due), 0);  // not past it yet
  EXPECT_EQ(timer.Poll(due + 0.01f), 1);
  EXPECT_GE(timer.due, due + 2.01f);
  EXPECT_LE(timer.due, due + 5.01f);
  EXPECT_EQ(timer.Poll(due + 0.02f), 0);
  std::srand(3);
  const int expected = (std::srand(3), std::rand());
  std::srand(3);
  EXPECT_EQ(timer.Rearm(1.0f, 1.0f, 0.0f), expected);
  EXPECT_FLOAT_EQ(timer.due, 1.0f);
}

}  // namespace
