#include "CaptureBmp.h"

#include <cstdio>
#include <cstring>

#include "Diagnostics.h"

namespace {

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

int BmpRowSize(int width) { return (width * 3 + 3) & ~3; }

std::vector<uint8_t> EncodeBmp24(const void* pixels, int width, int height, int pitch) {
  if (width <= 0 || height <= 0 || !pixels) return {};
  const size_t row = static_cast<size_t>(BmpRowSize(width));
  const size_t dataSize = row * static_cast<size_t>(height);
  std::vector<uint8_t> out(kBmpHeaderSize + dataSize, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<uint32_t>(kBmpHeaderSize + dataSize));
  Put32(out, 10, kBmpHeaderSize);
  Put32(out, 14, 40);
  Put32(out, 18, static_cast<uint32_t>(width));
  Put32(out, 22, static_cast<uint32_t>(height));
  Put16(out, 26, 1);
  Put16(out, 28, 24);
  Put32(out, 30, 0);
  Put32(out, 34, 0);
  Put32(out, 38, 2834);
  Put32(out, 42, 2834);
  const uint8_t* base = static_cast<const uint8_t*>(pixels);
  uint8_t* dst = out.data() + kBmpHeaderSize;
  for (int y = height - 1; y >= 0; --y, dst += row) {
    const uint8_t* src = base + static_cast<size_t>(y) * static_cast<size_t>(pitch);
    for (int x = 0; x < width; ++x) {
      // X8R8G8B8 in memory: blue, green, red, unused.
      dst[x * 3] = src[x * 4];
      dst[x * 3 + 1] = src[x * 4 + 1];
      dst[x * 3 + 2] = src[x * 4 + 2];
    }
  }
  return out;
}

bool WriteBmp24File(const char* path, const void* pixels, int width, int height, int pitch) {
  std::vector<uint8_t> bytes = EncodeBmp24(pixels, width, height, pitch);
  if (bytes.empty()) return false;
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

bool CaptureFileExists(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

std::string NextCaptureName(const std::string& folder, int view, int* counter,
                            const std::function<bool(const std::string&)>& exists) {
  std::string prefix = folder;
  if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != '/') prefix += '\\';
  prefix += "capture\\";
  const char letter = view == 1 ? 'R' : 'L';
  int n = (*counter >= 0 && *counter <= 9999) ? *counter : 0;
  std::string name;
  for (int tries = 0; tries < 10000; ++tries) {
    char leaf[16];
    FormatBoundedV(leaf, sizeof(leaf), "%c%04d.bmp", letter, n);
    name = prefix + leaf;
    if (!exists(name)) break;
    if (tries < 9999) n = (n + 1) % 10000;
  }
  *counter = n;
  return name;
}
