#pragma once
// Screenshot files: 24-bit bottom-up BMP from X8R8G8B8 rows, and the next
// free name in the capture folder.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int kBmpHeaderSize = 54;

// Bytes of one 24-bit row, padded to a multiple of 4.
int BmpRowSize(int width);
// The whole file: headers, then rows from the bottom of the image to the top.
// pixels: top-down rows of 32-bit X8R8G8B8, pitch bytes apart.
std::vector<uint8_t> EncodeBmp24(const void* pixels, int width, int height, int pitch);
// Writes the file ("wb"); false when it cannot be opened or written.
bool WriteBmp24File(const char* path, const void* pixels, int width, int height, int pitch);

// "<folder>capture\<L|R><counter>.bmp" (a backslash is added after folder
// when missing). While the name exists the counter steps on (9999 wraps to
// 0), at most 10,000 tries; the counter is left at the number used.
std::string NextCaptureName(const std::string& programFolder, int view, int* counter,
                            const std::function<bool(const std::string&)>& exists);
bool CaptureFileExists(const std::string& path);
