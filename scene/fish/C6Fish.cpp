// The fish's construction, device-object life cycle and frame move.
#include "C6Fish.h"

#include <cmath>

#include "C6FishTables.h"
#include "FishDraw.h"
#include "clones/C4RenderTexture.h"
#include "collision/CollisionMath.h"
#include "collision/X1HeightCollision.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "fog/HalationQuads.h"
#include "fog/X1Halation.h"
#include "frame/C3SceneHost.h"
#include "servers/SBServer.h"
#include "status/C9DisplayInfo.h"
#include "terrain/X1Terrain.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

// Scale x body size above which the camera may stand inside the fish.
constexpr float kBigFishSize = 2.0f;

}  // namespace

C6Fish::C6Fish() {
  SetClassName("C6Fish");
  flags &= ~kObjAlwaysVisible;
  drawFlags |= kDrawStrips;
  swim.swimFactor = 1.0f + SceneRandom();
  shaderDescriptors = g_FishShaders;
  shaderCount = kFishShaderCount;
  stateRecords = g_FishStates;
  captureStateBlock = SBServer::kNoBlock;
}

C6Fish::~C6Fish() {
  // The AI belongs to the scene, not to the device: it lives as long as the
  // fish, through every release and re-creation of the device objects.
  X2DeleteAIObject(ai);
  ai = nullptr;
}

HRESULT C6Fish::RestoreDeviceObjects() {
  C3World* world = C3World::Current();
  if (world && world->sbServer && world->sbServer->Device() && GetSceneHost()->GetDevice())
    captureStateBlock = world->sbServer->CreateSB(g_FishCaptureStates);
  HRESULT hr = FatalCheck("C6Fish", __LINE__, __TIME__, C4VertexObject::RestoreDeviceObjects());
  if (hr != 0) return hr;
  if (partialMorph) partialMorph->RestoreDeviceObjects();
  if (scale * bodySize > kBigFishSize) {
    LogPrint("Big Fish\n");
    flags |= kObjInsideNoCull;
  }
  restored_ = GetSceneHost()->GetDevice() != nullptr;
  return 0;
}

HRESULT C6Fish::InvalidateDeviceObjects() {
  restored_ = false;
  if (partialMorph) partialMorph->InvalidateDeviceObjects();
  captureStateBlock = SBServer::kNoBlock;
  return C4VertexObject::InvalidateDeviceObjects();
}

HRESULT C6Fish::Move(float current, float previous) {
  if (TheDisplayInfo) TheDisplayInfo->activity.FishMoved(ai != nullptr, morph != nullptr);
  StepFishAI(ai, current, previous, this);
  UpdateSwim(swim, speed, current - previous);
  C4VertexObject::Move(current, previous);
  if (TheDisplayInfo && TheTerrain && GetDebugLogLevel() >= 2)
    TheDisplayInfo->heights.Note(position.y, TheTerrain->GetHeight(position.x, position.z, nullptr, false, true),
                                 TheWaveCeiling ? TheWaveCeiling->CeilingAt(position.x, position.z) : NAN);

  if (!HasFlag(kObjCulled)) {
    if (TheDisplayInfo) TheDisplayInfo->AddFish();
    DimSun();
    if (!HasFlag(kObjAlwaysCulled) && TheHalation) AddGlint();
  }

  if (cloneMode == kCloneSource) {
    sourceCaptured = 0;
    // The picture is asked for here and drawn before the frame.
    if (!HasFlag(kObjCulled) && renderTexture) renderTexture->RenderSource(this);
  }
  return 0;
}

// The floor and ceiling fields push a fish softly, and a fish can only
// pitch at its climb rate: one swimming fast and steeply would go on
// through the floor or the surface before it levels out. The move stops it
// where the field's push is full instead: over the ground as drawn, and at
// the ceiling. Where the ground rises above the ceiling the ceiling wins,
// so that no fish leaves the water. Its heading is left to its AI.
int C6Fish::ComposeWorldMatrix(float current, float previous) {
  const int ok = C4VertexObject::ComposeWorldMatrix(current, previous);
  float y = position.y;
  if (TheTerrain) y = TheTerrain->KeepOverGround(position.x, y, position.z, kFloorClearance);
  if (TheWaveCeiling) {
    const float top = TheWaveCeiling->CeilingAt(position.x, position.z);
    if (y > top) y = top;
  }
  if (y != position.y && !std::isnan(y)) {
    position.y = y;
    world._42 = y;
  }
  return ok;
}

void C6Fish::DimSun() {
  C3World* world = C3World::Current();
  C3Camera* camera = GetMainCamera();
  if (!world || !camera) return;
  D3DXVECTOR3 eye;
  camera->GetPosition(&eye);
  world->lightValue *= SunDimFactor(world->lightDirection, eye, position, bodySize);
}

void C6Fish::AddGlint() {
  C3World* world = C3World::Current();
  C3Camera* camera = GetMainCamera();
  if (!world || !camera) return;
  D3DXVECTOR3 eye;
  camera->GetPosition(&eye);
  float intensity = 0.0f;
  if (FishGlint(world->lightDirection, eye, position, heading, &intensity))
    TheHalation->AddPoint(position.x, position.y, position.z, intensity);
}

void C6Fish::Animate(float current, float previous) {
  if (morph) morph->GetWeights(2.0f * swim.shownSwim, swim.swimPhase * static_cast<float>(morph->FrameCount()));
  if (partialMorph) AnimateParts(current, previous);
}

void C6Fish::AnimateParts(float current, float /*previous*/) {
  if (!partialMorph) return;
  float weights[kMaxFishParts] = {};
  const float w = (std::sin(4.0f * current) + 1.0f) * 0.5f;
  for (int i = 0; i < partialMorph->PartCount() && i < kMaxFishParts; ++i) weights[i] = w;
  partialMorph->Apply(weights);
}
