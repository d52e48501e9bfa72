#pragma once
#include <cstddef>

// Size of the reporter's display text, terminator included.
constexpr size_t kErrorTextSize = 4096;

// Builds the reporter's display text: a header line, then every line of the
// last-error file at `path` (line ends normalised to CR LF), or a fixed
// message when the file cannot be opened. The text is cut to `size` - 1
// bytes at a Shift-JIS character boundary and always terminated.
// Returns the length written.
size_t BuildErrorText(const char* path, char* out, size_t size);

// The path of LastError.txt beside the given module file name.
void LastErrorPathFor(const char* moduleFileName, char* out, size_t size);
