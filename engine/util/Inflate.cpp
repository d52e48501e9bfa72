#include "Inflate.h"

#include <zlib.h>

bool IsZlibStream(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  return data != nullptr && size >= 2 && bytes[0] == 0x78 && bytes[1] == 0x9C;
}

bool InflateBlock(const void* data, size_t size, void* out, size_t capacity, size_t* outSize) {
  *outSize = 0;
  if (data == nullptr || out == nullptr || size > 0xFFFFFFFFu || capacity > 0xFFFFFFFFu)
    return false;
  uLongf length = static_cast<uLongf>(capacity);
  int result = uncompress(static_cast<Bytef*>(out), &length, static_cast<const Bytef*>(data),
                          static_cast<uLong>(size));
  if (result != Z_OK) return false;
  *outSize = length;
  return true;
}
