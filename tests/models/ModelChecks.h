#pragma once
// Checks of species data as the program reads it: meshes, frames, partial
// morphs and compressed images. Each check appends readable problems to a
// list, so one run reports everything that is wrong with a species.
#include <cstdint>
#include <string>
#include <vector>

#include "X2PluginAbi.h"

namespace qvspecies {

using Problems = std::vector<std::string>;

// A plain mesh of the given layout (0x112/32 or 0x12/24): indices in range,
// attribute ranges contiguous, summing to the totals, faces inside their
// range's vertices, finite coordinates.
void CheckMesh(const X2FishMesh* mesh, uint32_t fvf, const std::string& what, Problems* out);

// Every frame has the base mesh's vertex count, face count and ranges.
void CheckFrames(const X2FishModel& model, const std::string& what, Problems* out);

// Every part's poses exist, match their base range's vertex count, and
// change no more vertices than the program animates per material (150).
void CheckParts(const X2FishModel& model, const std::string& what, Problems* out);

// Vertices of a pose range whose position differs from the base range's.
int CountChangedVertices(const X2FishMesh& base, const X2AttributeRange& baseRange,
                         const X2FishMesh& pminfo, const X2AttributeRange& pose);

// Inflates a texture entry; false (with a problem) when it is not a
// whole zlib stream starting 0x78 0x9C.
bool Inflate(const X2FishTexture& texture, size_t expectedSize, std::vector<uint8_t>* out,
             const std::string& what, Problems* out_problems);

struct ImageInfo {
  std::string kind;  // "DXT1", "DXT2", "TGA24" or "" when unknown
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t mipCount = 0;
};

// Reads a DDS (block-compressed, with its size checked against the data)
// or 24-bit TGA header.
ImageInfo ReadImageHeader(const std::vector<uint8_t>& file, const std::string& what,
                          Problems* out);

// Expected inflated size of a single-level image.
size_t ImageFileSize(const std::string& kind, uint32_t width, uint32_t height);

}  // namespace qvspecies
