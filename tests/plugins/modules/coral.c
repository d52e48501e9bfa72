/* Coral colony species: one with a placement callback, one without models. */
#include "TestMesh.h"

static int Place(int index, float* position, float* scale, float* yaw, float* roll, float* pitch,
                 X2HostCallbacks* host) {
  (void)index; (void)host;
  position[0] = position[1] = position[2] = 0.0f;
  *scale = 2.0f;
  *yaw = *roll = *pitch = 0.0f;
  return 1;
}

static X2FishModel gModel = SOUND_MODEL;
static X2FishData gRecords[2] = {
    {.header = HEADER(X2_VERSION_FISH, FISH_NEXT, "テストコーラル"), .latinName = "Coralus",
     .modelCount = 1, .model = &gModel, .instanceCount = 4, .PlaceInstance = Place},
    /* A colony without models: listed, it simply has no members. */
    {.header = HEADER(X2_VERSION_FISH, 0, "EmptyColony"), .instanceCount = 4},
};

X2FishData* GetFishData(const char* a, const char* b) {
  (void)a; (void)b;
  return &gRecords[0];
}
