#pragma once
// Whole-buffer zlib inflation shared by the servers and the texture table.
#include <cstddef>
#include <cstdint>

// True when data begins with the two bytes of a default-level zlib stream.
bool IsZlibStream(const void* data, size_t size);

// Inflates a whole zlib stream into out (capacity bytes). Any zlib result
// other than Z_OK is a failure: returns false and *outSize is 0. On success
// *outSize holds the inflated length.
bool InflateBlock(const void* data, size_t size, void* out, size_t capacity, size_t* outSize);
