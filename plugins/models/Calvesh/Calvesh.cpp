// Calvesh: a sea-fan coral colony. One record with a swaying fan mesh, three
// colourings of its texture (the first is the one counted) and a placement
// callback that stands each piece up at a random size, heading and lean.
#include "ModelRecord.h"
#include "model_calvesh.h"

namespace {

// The texture table as the record carries it: three entries, then two marker
// words kept for the data format.
struct TextureTable {
  X2FishTexture entries[3];
  uint32_t trailer[2];
};

TextureTable gTextures = {
    {{calvesh_fan0, sizeof(calvesh_fan0)},
     {calvesh_fan1, sizeof(calvesh_fan1)},
     {calvesh_fan2, sizeof(calvesh_fan2)}},
    {0x9875, 0x9873},
};

X2HostCallbacks* gHost = nullptr;

float HostRandom(X2HostCallbacks* host) {
  return (host && host->Random) ? host->Random() : 0.0f;
}

// Placement of colony piece `index` (not used: every piece is drawn alike).
int X2_CDECL InitColonyInstance(int /*index*/, float* position, float* scale, float* yaw,
                                float* roll, float* pitch, X2HostCallbacks* host) {
  const float kPi = 3.14159265358979f;
  gHost = host;
  if (position) position[0] = position[1] = position[2] = 0.0f;
  const float rScale = HostRandom(host);
  if (scale) *scale = 2.0f + 3.0f * rScale;
  const float rYaw = HostRandom(host);
  if (yaw) *yaw = 2.0f * kPi * rYaw;
  if (roll) *roll = 0.0f;
  const float rPitch = HostRandom(host);
  if (pitch) *pitch = (kPi / 4.0f) * rPitch;
  return 1;
}

X2FishModel gModel = {
    1,                    // textureCount: only the first entry is loaded
    {gTextures.entries},  // textures
    1.0f,                 // scale
    &calvesh_base,        // baseMesh
    0,                    // hasSecondMesh
    nullptr,              // secondMesh
    10,                   // frameCount
    0.0f,                 // swimRate
    1.0f,                 // swimBase
    1.0f,                 // swimMax
    calvesh_frames,       // frames
    nullptr,              // pminfoMesh
    0,                    // partCount
    nullptr,              // parts
    X2_MODEL_DEFAULT,     // flags
    0,                    // hasExtraTexture
    {},
    {},
};

X2FishData gRecord = {
    {X2_VERSION_FISH, 0, {}, "ウミウチワ", "ハルベノルソフト"},
    "Calvesh",
    "",                  // no default AI
    0,                   // flags
    1,                   // modelCount
    &gModel,             // model
    1,                   // instanceCount
    InitColonyInstance,  // PlaceInstance
    nullptr,             // collisionCapsules
    nullptr,             // footprint
    nullptr,             // rallyPoints
    {},
};

}  // namespace

X2FishData* SpeciesRecord() { return &gRecord; }
