/* Chained fish records: sound ones, damaged ones that must be skipped, one
   of format version 2 (accepted), one keyed like a built-in species, and a
   last one of too new a format that ends the chain. */
#include "TestMesh.h"

static uint16_t gBadIndices[3] = {0, 1, 7};
static X2FishMesh gBadBase = {3, gVertices, 1, gBadIndices, X2_FVF_VERTEX, X2_STRIDE_VERTEX,
                              gRanges, 1, 0};
static X2FishMesh gShortFrame = {2, gMorph, 1, 0, X2_FVF_MORPH, X2_STRIDE_MORPH, 0, 0, 0};
static X2FishMesh* gShortFrames[1] = {&gShortFrame};
static X2FishMesh gBadStride = {3, gVertices, 1, gIndices, X2_FVF_VERTEX, 24, gRanges, 1, 0};
static X2FishPart gBadParts[1] = {{0, 5, 0, 0.2f, 0.1f, 0.01f, 0.0f, 0}};

static X2FishModel gModels[6] = {
    SOUND_MODEL,
    {.textureCount = 1, .textures = gTextures, .scale = 1.0f, .baseMesh = &gBadBase},
    {.textureCount = 1, .textures = gTextures, .scale = 1.0f, .baseMesh = &gBase,
     .frameCount = 1, .frames = gShortFrames},
    {.textureCount = 1, .textures = gTextures, .scale = 1.0f, .baseMesh = &gBadStride},
    {.textureCount = 1, .textures = gTextures, .scale = 1.0f, .baseMesh = &gBase,
     .pminfoMesh = &gPm, .partCount = 1, .parts = gBadParts},
    {.textureCount = 200, .textures = gTextures, .scale = 1.0f, .baseMesh = &gBase},
};

static X2FishData gRecords[10] = {
    {.header = HEADER(X2_VERSION_FISH, FISH_NEXT, "テストフィッシュ"), .latinName = "Testus",
     .defaultAI = "ダイバーAI_QvTest", .flags = X2_FISH_BODY_COLLISION, .modelCount = 1,
     .model = &gModels[0]},
    {.header = HEADER(X2_VERSION_FISH, FISH_NEXT, "BadIndex"), .modelCount = 1,
     .model = &gModels[1]},
    {.header = HEADER(X2_VERSION_FISH, FISH_NEXT, "ShortFrame"), .modelCount = 1,
     .model = &gModels[2]},
    {.header = HEADER(X2_VERSION_FISH, FISH_NEXT, "BadStride"), .modelCount = 1,
     .model = &gModels[3]},
    {.header = HEADER(X2_VERSION_FISH, FISH_NEXT, "BadPart"), .modelCount = 1,
     .model = &gModels[4]},
    {.header = HEADER(X2_VERSION_FISH, FISH_NEXT, "ManyTextures"), .modelCount = 1,
     .model = &gModels[5]},
    {.header = HEADER(X2_VERSION_FISH, FISH_NEXT, "NoModel"), .modelCount = 0},
    {.header = HEADER(X2_VERSION_FISH_XFILE, FISH_NEXT, "FormatTwo"), .modelCount = 1,
     .model = &gModels[0]},
    {.header = {X2_VERSION_FISH, FISH_NEXT, {0}, "マアジ", "ハルベノルソフト"}, .modelCount = 1,
     .model = &gModels[0]},
    {.header = HEADER(0x00020301, 0, "TooNewFish"), .modelCount = 1, .model = &gModels[0]},
};

X2FishData* GetFishData(const char* a, const char* b) {
  (void)a; (void)b;
  return &gRecords[0];
}
