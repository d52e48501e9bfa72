#pragma once
// The run mode chosen from the command line the screen-saver host passes.
#include <cstdint>

// Run modes of the application object.
enum RunMode {
  kModePreview = 0,
  kModeFullScreen = 1,
  kModeConfigure = 2,
  kModeDebug = 3,
  kModePassword = 4,
};

// The tail is copied into a buffer of this size before it is split; a longer
// tail is cut (its first 255 characters are read).
constexpr int kCommandBufferSize = 256;

struct CommandLineChoice {
  int mode = kModeConfigure;
  // Whether a window handle token followed "/p" (the preview's parent) or
  // "/c" (the settings dialog's owner), and its value.
  bool hasParent = false;
  uintptr_t parent = 0;
};

// Splits the tail at blanks and colons; the first token, lower-cased, picks
// the mode: "/s" full screen, "/p <hwnd>" preview, "/c" or "/c:<hwnd>"
// configure, "/a" password, "/debug" debug; anything else (or nothing)
// configure.
CommandLineChoice ParseCommandLine(const char* tail);
