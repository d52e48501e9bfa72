/* A one-triangle model with two morph frames, a partial-morph mesh with
   one part, a texture and an extra texture, all sound. */
#include "TestModule.h"

#define UNUSED __attribute__((unused))

static UNUSED float gVertices[3 * 8] = {0, 0, 0, 0, 0, 1, 0, 0,  1, 0, 0, 0, 0, 1, 1, 0,
                                 0, 1, 0, 0, 0, 1, 0, 1};
static UNUSED uint16_t gIndices[3] = {0, 1, 2};
static UNUSED X2AttributeRange gRanges[1] = {{0, 0, 1, 0, 3}};
static UNUSED X2FishMesh gBase = {3, gVertices, 1, gIndices, X2_FVF_VERTEX, X2_STRIDE_VERTEX,
                           gRanges, 1, 0};

static UNUSED float gMorph[3 * 6] = {0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1};
static UNUSED X2FishMesh gFrame = {3, gMorph, 1, 0, X2_FVF_MORPH, X2_STRIDE_MORPH, gRanges, 1, 0};
static UNUSED X2FishMesh* gFrames[2] = {&gFrame, &gFrame};

static UNUSED float gPmVertices[6 * 6];
static UNUSED uint16_t gPmIndices[6] = {0, 1, 2, 3, 4, 5};
static UNUSED X2AttributeRange gPmRanges[2] = {{0, 0, 1, 0, 3}, {1, 1, 1, 3, 3}};
static UNUSED X2FishMesh gPm = {6, gPmVertices, 2, gPmIndices, X2_FVF_MORPH, X2_STRIDE_MORPH,
                         gPmRanges, 2, 0};
static UNUSED X2FishPart gParts[1] = {{0, 1, 0, 0.2f, 0.1f, 0.01f, 0.0f, 0}};

static UNUSED const unsigned char gTexData[8] = {0x78, 0x9C, 1, 2, 3, 4, 5, 6};
static UNUSED X2FishTexture gTextures[2] = {{gTexData, sizeof gTexData}, {gTexData, sizeof gTexData}};

#define SOUND_MODEL                                                                    \
  {.textureCount = 1, .textures = gTextures, .scale = 1.0f, .baseMesh = &gBase,        \
   .frameCount = 2, .swimRate = 2.0f, .swimBase = 0.2f, .swimMax = 0.5f,               \
   .frames = gFrames, .pminfoMesh = &gPm, .partCount = 1, .parts = gParts,             \
   .flags = X2_MODEL_DEFAULT, .hasExtraTexture = 1}
