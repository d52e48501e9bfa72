#include "X2PluginKey.h"

#include <cstring>

void X2LowerKey(char* text) {
  for (unsigned char* p = reinterpret_cast<unsigned char*>(text); *p; ++p) {
    if (X2IsLeadByte(*p)) {
      if (p[1] == '\0') break;  // a lone lead byte at the end stays as it is
      ++p;
    } else if (*p >= 'A' && *p <= 'Z') {
      *p = static_cast<unsigned char>(*p - 'A' + 'a');
    }
  }
}

std::string X2LowerKey(const std::string& text) {
  std::string lowered(text);
  X2LowerKey(&lowered[0]);
  return lowered;
}

namespace {

// Appends src to dst (a terminated text in a buffer of size bytes) as far
// as it fits, never splitting a double-byte character.
void AppendBounded(char* dst, size_t size, const char* src) {
  size_t used = std::strlen(dst);
  while (*src && used + 1 < size) {
    size_t step = X2IsLeadByte(static_cast<unsigned char>(*src)) && src[1] ? 2 : 1;
    if (used + step + 1 > size) break;
    std::memcpy(dst + used, src, step);
    used += step;
    src += step;
  }
  dst[used] = '\0';
}

}  // namespace

void X2BuildKey(const X2RecordHeader* record, char* out, size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  // The header fields may lack a terminator in a damaged record; read them
  // only within their bounds.
  char name[X2_NAME_SIZE + 1] = {};
  char maker[X2_NAME_SIZE + 1] = {};
  std::memcpy(name, record->name, X2_NAME_SIZE);
  std::memcpy(maker, record->maker, X2_NAME_SIZE);
  AppendBounded(out, size, name);
  AppendBounded(out, size, "_");
  AppendBounded(out, size, maker);
  X2LowerKey(out);
}
