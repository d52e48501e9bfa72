#include "ErrorText.h"

#include <cstdio>
#include <cstring>

namespace {

const char kHeader[] = "Halvenorsoft Reefmoor 2:\r\n";
const char kNoFileMessage[] = "エラーが発生したので強制終了しました。";
constexpr int kLineSize = 3000;  // at most 2,999 characters a read

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Appends as much of `text` as fits, never splitting a double-byte character.
// Returns false once the text is full.
class TextSink {
 public:
  TextSink(char* out, size_t size) : out_(out), size_(size) { out_[0] = '\0'; }

  bool Append(const char* text) {
    if (full_) return false;
    size_t room = size_ - 1 - length_;
    size_t n = 0;
    for (size_t i = 0; text[i] != '\0';) {
      size_t step = (IsLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0') ? 2 : 1;
      if (n + step > room) {
        full_ = true;
        break;
      }
      n += step;
      i += step;
    }
    memcpy(out_ + length_, text, n);
    length_ += n;
    out_[length_] = '\0';
    return !full_;
  }

  size_t length() const { return length_; }

 private:
  char* out_;
  size_t size_;
  size_t length_ = 0;
  bool full_ = false;
};

}  // namespace

size_t BuildErrorText(const char* path, char* out, size_t size) {
  if (!out || size == 0) return 0;
  TextSink text(out, size);
  text.Append(kHeader);

  FILE* file = path ? fopen(path, "r") : nullptr;
  if (!file) {
    text.Append(kNoFileMessage);
    return text.length();
  }
  char line[kLineSize];
  while (fgets(line, sizeof line, file)) {
    size_t n = strlen(line);
    if (n > 0 && line[n - 1] == '\n') line[--n] = '\0';
    if (n > 0 && line[n - 1] == '\r') line[--n] = '\0';
    if (!text.Append(line) || !text.Append("\r\n")) break;
  }
  fclose(file);
  return text.length();
}

void LastErrorPathFor(const char* moduleFileName, char* out, size_t size) {
  if (!out || size == 0) return;
  out[0] = '\0';
  if (!moduleFileName) return;
  const char* slash = strrchr(moduleFileName, '\\');
  const char* colon = strrchr(moduleFileName, ':');
  const char* end = slash ? slash + 1 : (colon ? colon + 1 : moduleFileName);
  snprintf(out, size, "%.*s%s", static_cast<int>(end - moduleFileName), moduleFileName,
           "LastError.txt");
  out[size - 1] = '\0';
}
