#include "X2ParamTable.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "X2Host.h"

namespace {

// Appends text to out (room bytes in all), cutting what does not fit.
void AppendBounded(char* out, int room, const char* text) {
  int used = static_cast<int>(std::strlen(out));
  int free = room - 1 - used;
  if (free <= 0) return;
  std::strncat(out, text, static_cast<size_t>(free));
}

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Case-insensitive for single-byte Latin letters; both bytes of a Shift-JIS
// double-byte character must match exactly.
bool EqualNoCase(const char* a, const char* b) {
  for (;;) {
    unsigned char ca = static_cast<unsigned char>(*a), cb = static_cast<unsigned char>(*b);
    if (IsLeadByte(ca)) {
      if (ca != cb || a[1] != b[1]) return false;
      if (!a[1]) return true;  // a lone lead byte ends both texts
      a += 2;
      b += 2;
      continue;
    }
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
    if (ca != cb) return false;
    if (!ca) return true;
    ++a;
    ++b;
  }
}

// Unsigned conversion of a number at the start of text, as strtoul reads it;
// false when text starts with no digit of the base or the number overflows.
bool ReadUnsigned(const char* text, int base, int* out) {
  char* end = nullptr;
  errno = 0;
  unsigned long v = std::strtoul(text, &end, base);
  if (end == text || errno == ERANGE || static_cast<unsigned long long>(v) > 0xFFFFFFFFull) return false;
  *out = static_cast<int>(static_cast<unsigned>(v));
  return true;
}

}  // namespace

void X2ParamTable::Load(const X2ParamDesc* keys) {
  if (!keys) return;
  for (; keys->key && count_ < kMaxDescs; ++keys) {
    X2ParamDesc& d = descs_[count_++];
    d = *keys;
    d.defaultValue = keys->value;
  }
}

int X2ParamTable::ChoiceCount(int position) const {
  if (position < 0 || position >= count_) return 0;
  int n = 0;
  while (n < 10 && descs_[position].choices[n]) ++n;
  return n;
}

int X2ParamTable::Value(int position) const {
  if (position < 0 || position >= count_) return 0;
  return descs_[position].value;
}

int X2ParamTable::Choice(int position) const {
  int v = Value(position);
  int n = ChoiceCount(position);
  if (v < 0 || n == 0) return 0;
  return v >= n ? n - 1 : v;
}

void X2ParamTable::SetValue(int position, int value) {
  if (position >= 0 && position < count_) descs_[position].value = value;
}

bool X2ParamTable::SetFromText(X2ParamDesc& d, const char* value) {
  switch (d.kind) {
    case kParamDecimal:
      return ReadUnsigned(value, 10, &d.value);
    case kParamChoice:
      for (int i = 0; i < 10 && d.choices[i]; ++i) {
        if (EqualNoCase(d.choices[i], value)) {
          d.value = i;
          return true;
        }
      }
      return false;
    default:
      return ReadUnsigned(value, 16, &d.value);
  }
}

int X2ParamTable::Parse(const char* text, const X2Host* log) {
  char buffer[kTextSize];
  std::snprintf(buffer, sizeof buffer, "%s", text ? text : "");

  char* items[kMaxItems];
  int itemCount = 0;
  char* start = buffer;
  for (char* p = buffer;; ++p) {
    if (*p == ',' || *p == '\t' || *p == '\0') {
      bool end = *p == '\0';
      *p = '\0';
      if (itemCount < kMaxItems) items[itemCount++] = start;
      if (end) break;
      start = p + 1;
    }
  }

  int rejected = 0;
  for (int i = 0; i < itemCount; ++i) {
    char* key = items[i];
    char* colon = std::strchr(key, ':');
    if (!colon) continue;
    *colon = '\0';
    char* value = colon + 1;
    if (char* next = std::strchr(value, ':')) *next = '\0';
    if (!*key || !*value) continue;
    for (int k = 0; k < count_; ++k) {
      if (EqualNoCase(descs_[k].key, key)) {
        // A value that names nothing of its kind keeps the value before it.
        if (!SetFromText(descs_[k], value)) {
          ++rejected;
          if (log) log->Log("Param %s:%s ignored, %s stays %d\n", descs_[k].key, value, descs_[k].key,
                            descs_[k].value);
        }
        break;
      }
    }
  }
  return rejected;
}

void X2ParamTable::Format(char* out, int length) const {
  if (!out || length == 0) return;
  out[0] = '\0';
  if (length < 0) return;
  for (int k = 0; k < count_; ++k) {
    const X2ParamDesc& d = descs_[k];
    if (d.value == d.defaultValue) continue;
    char value[32];
    const char* text = value;
    if (d.kind == kParamDecimal) {
      std::snprintf(value, sizeof value, "%d", d.value);
    } else if (d.kind == kParamChoice) {
      if (d.value < 0 || d.value >= ChoiceCount(k)) continue;  // no text to write
      text = d.choices[d.value];
    } else {
      std::snprintf(value, sizeof value, "%X", static_cast<unsigned>(d.value));
    }
    AppendBounded(out, length, d.key);
    AppendBounded(out, length, ":");
    AppendBounded(out, length, text);
    AppendBounded(out, length, ",");
  }
  size_t len = std::strlen(out);
  if (len > 0 && out[len - 1] == ',') out[len - 1] = '\0';
}
