#pragma once
// Runs of the program itself: a copy started in debug mode and the frames
// its capture command saves. Header only: the tests that include it link the
// application.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ApplicationHooks.h"
#include "LogTestSupport.h"
#include "TestSupport.h"

namespace qvtest {

// Starts `folder`Qelvar.scr in debug mode, in that folder, and waits for
// its main window; nullptr when none came.
inline HWND StartDebugRun(ChildProcess* program, const std::string& folder) {
  const char* title;
  const char* className;
  GetWindowNames(&title, &className);
  if (!program->Start("\"" + folder + "Qelvar.scr\" /debug", folder)) return nullptr;
  return WaitForWindow(title, className, program->Id(), 30000);
}

// Presses a key of the program's key table (down and up).
inline void PressKey(HWND window, WPARAM key) {
  PostMessageA(window, WM_KEYDOWN, key, 0x002E0001);
  PostMessageA(window, WM_KEYUP, key, 0xC02E0001);
}

// A frame saved by the capture command: a 24-bit bitmap, rows from the
// bottom up, each padded to four bytes.
struct SavedFrame {
  int w = 0, h = 0;
  std::vector<uint8_t> bytes;
  int Row() const { return (w * 3 + 3) & ~3; }
  size_t FileSize() const { return 54 + static_cast<size_t>(Row()) * h; }
  // Blue, green, red of the pixel (x, y) counted from the top left.
  const uint8_t* At(int x, int y) const { return &bytes[54 + (h - 1 - y) * Row() + x * 3]; }
  // The pixel at the middle of the file's rows and columns.
  const uint8_t* Centre() const { return &bytes[54 + (h / 2) * Row() + (w / 2) * 3]; }
};

// Waits until the frame of a window whose client area is w x h is written
// whole to `path`, and reads it.
inline bool WaitForSavedFrame(const std::string& path, int w, int h, SavedFrame* frame,
                              DWORD timeoutMs = kProgramWaitMs) {
  frame->w = w;
  frame->h = h;
  if (!WaitForFileSize(path, frame->FileSize(), timeoutMs)) return false;
  frame->bytes = ReadFileBytes(path);
  return frame->bytes.size() == frame->FileSize();
}

}  // namespace qvtest
