#pragma once
// Validation of records handed over by plug-in libraries, before any of
// their counts, ranges, offsets or strides is used. Each check returns null
// when the record is sound, else a short reason for the log.
//
// Every pointer a plug-in record holds must point into the library's own
// image (records and their model data are static data of the library).
#include "X2ModuleImage.h"
#include "X2PluginAbi.h"

// Limits that no sound record comes near; beyond them a count is garbage.
enum {
  kX2MaxModels = 64,
  kX2MaxTextures = 64,
  kX2MaxFrames = 1024,
  kX2MaxParts = 256,
  kX2MaxAttributeRanges = 1024,
  kX2MaxMeshVertices = 65536,            // 16-bit indices
  kX2MaxInflatedSize = 64 * 1024 * 1024  // an X file behind an X block
};

// name and maker are terminated inside their fields.
const char* X2CheckHeader(const X2RecordHeader* record);

// What a fish-kind record is used for decides which of its models are read:
// a fish and a structure are built from the first model, a coral colony
// draws any of its models as variants and may have none.
enum X2FishUse { kX2UseFish, kX2UseCoral, kX2UseStructure };

const char* X2CheckAIRecord(const X2AIData* record, const X2ModuleImage& image);
const char* X2CheckFishRecord(const X2FishData* record, const X2ModuleImage& image,
                              X2FishUse use = kX2UseFish);

// A model, or a single mesh, on its own (used by the record checks).
const char* X2CheckModel(const X2FishModel* model, const X2ModuleImage& image);
const char* X2CheckMesh(const X2FishMesh* mesh, const X2ModuleImage& image);
