/* One coral colony species with a placement callback. */
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
static X2FishData gRecord = {.header = HEADER(X2_VERSION_FISH, 0, "テストコーラル"),
                             .latinName = "Coralus", .modelCount = 1, .model = &gModel,
                             .instanceCount = 4, .PlaceInstance = Place};

X2FishData* GetFishData(const char* a, const char* b) {
  (void)a; (void)b;
  return &gRecord;
}
