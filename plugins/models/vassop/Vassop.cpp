// vassop: one swimming species, a whale shark with a partial-morph mesh for
// its tail and pectoral fins. The record and everything it points to are
// static, writable data used in place by the program while the library is
// loaded.
#include "ModelRecord.h"
#include "model_vassop.h"

namespace {

X2FishTexture gTextures[1] = {{vassop_skin, sizeof(vassop_skin)}};

X2FishModel gModel = {
    1,                     // textureCount
    {gTextures},           // textures
    30.0f,                 // scale
    &vassop_base,          // baseMesh
    0,                     // hasSecondMesh
    nullptr,               // secondMesh
    10,                    // frameCount
    0.1f,                  // swimRate
    0.6f,                  // swimBase
    0.6f,                  // swimMax
    vassop_frames,         // frames
    &vassop_pminfo,        // pminfoMesh
    3,                     // partCount
    vassop_parts,          // parts
    X2_MODEL_DEFAULT,      // flags
    0,                     // hasExtraTexture
    {},
    {},
};

X2FishData gRecord = {
    {X2_VERSION_FISH, 0, {}, "ジンベエザメ", "ハルベノルソフト"},
    "Rhincodon typus",
    "ジンベエ専用_ハルベノルソフト",  // a dedicated AI; none ships
    X2_FISH_BODY_COLLISION,
    1,        // modelCount
    &gModel,  // model
    0,        // instanceCount
    nullptr,  // PlaceInstance
    nullptr,  // collisionCapsules
    nullptr,  // footprint
    nullptr,  // rallyPoints
    {},
};

}  // namespace

X2FishData* SpeciesRecord() { return &gRecord; }
