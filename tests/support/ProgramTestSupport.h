#pragma once
// Runs of the program itself: a copy started in debug mode and the frames
// its capture command saves. Header only: the tests that include it link the
// application.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>
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
// The lowest the waves' ceiling comes (3.5 under the sea's rest at 0): a
// floor within 0.3 of it has no water for fish to be held over.
constexpr float kLowestWaveCeiling = -3.5f;

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

// The configuration files the distributable folder carries beside the program.
constexpr const char* kDistConfigFiles[] = {"FlockConfig.ini", "CameraConfig.ini", "CoralConfig.ini",
                                             "StructureConfig.ini"};

// Lays out `to` like the distributable folder (the program, its shipped
// plug-ins, its configuration files and its folders as built: the capture
// folder only when the distribution has one), then adds the test plug-ins
// named (file in the test tree's plugins folder, place in `to`).
inline bool CopyDistFolder(const std::string& to,
                           std::initializer_list<std::pair<const char*, const char*>> testPlugins = {}) {
  bool ok = CopyFileTo(DistDir() + "Qelvar.scr", to + "Qelvar.scr");
  for (const char* folder : {"ai", "model", "capture"}) {
    const DWORD attributes = GetFileAttributesA((DistDir() + folder).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      CreateDirectoryA((to + folder).c_str(), nullptr);
  }
  for (const char* f : {"ai\\PurselAI.qva", "ai\\Forelens.qve", "model\\vassop.qvf", "model\\Calvesh.qvc"})
    ok &= CopyFileTo(DistDir() + f, to + f);
  for (const char* f : kDistConfigFiles) ok &= CopyFileTo(DistDir() + f, to + f);
  for (const auto& [file, place] : testPlugins)
    ok &= CopyFileTo(TestBinDir() + "plugins\\" + file, to + place);
  return ok;
}

// Makes the camera plug-in `aiKey` the one entry of the Source camera list
// of `folder`'s CameraConfig.ini for the whole run (the Target list keeps
// its one look-at entry, never switched).
inline void UseOnlySourceCamera(const std::string& folder, const char* aiKey) {
  const std::string cameras = folder + "CameraConfig.ini";
  WritePrivateProfileStringA("SourceCameraConfig", "CameraChangeTime", "6", cameras.c_str());
  WritePrivateProfileStringA("SourceCameraConfig", "CameraCount", "1", cameras.c_str());
  WritePrivateProfileStringA("SourceCamera0", "ai", aiKey, cameras.c_str());
  WritePrivateProfileStringA("SourceCamera0", "aiParam", "", cameras.c_str());
  WritePrivateProfileStringA("TargetCameraConfig", "CameraChangeTime", "6", cameras.c_str());
  WritePrivateProfileStringA("TargetCameraConfig", "CameraCount", "1", cameras.c_str());
}

// Presses the capture key and waits for the frame it saves as capture
// file number `n` of the program run in `folder`.
inline bool CaptureFrame(HWND window, const std::string& folder, int n, SavedFrame* shot) {
  char name[32];
  snprintf(name, sizeof name, "capture\\L%04d.bmp", n);
  RECT client{};
  GetClientRect(window, &client);
  PressKey(window, 'C');
  return WaitForSavedFrame(folder + name, client.right, client.bottom, shot, 60000);
}

// Pixels of the rows [y0, y1) and columns [x0, x1) clearly off the colour
// of the reference pixel (the cleared water).
inline int PixelsOffColour(const SavedFrame& s, const uint8_t* reference, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const uint8_t* p = s.At(x, y);
      n += std::abs(p[0] - reference[0]) + std::abs(p[1] - reference[1]) + std::abs(p[2] - reference[2]) > 30;
    }
  return n;
}

// A "view: N fish, camera X Y Z" line the program logs after each
// once-a-second statistics line at log level 2.
struct ViewLine {
  int fish = 0;
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

// The view lines of the log at or after `from`.
inline std::vector<ViewLine> ViewLines(const std::string& log, size_t from = 0) {
  std::vector<ViewLine> lines;
  const std::string prefix = "view: ";
  for (size_t at = log.find(prefix, from); at != std::string::npos; at = log.find(prefix, at + 1)) {
    ViewLine v;
    if (sscanf(log.c_str() + at + prefix.size(), "%d fish, camera %f %f %f", &v.fish, &v.x, &v.y, &v.z) == 4)
      lines.push_back(v);
  }
  return lines;
}

// What a stretch of view lines shows: the share of lines with at least
// `fewest` fish, the median fish count, the greatest distance between two
// camera positions and the highest and lowest camera.
struct ViewSummary {
  size_t lines = 0;
  double shareWithFish = 0.0;
  int medianFish = 0;
  double span = 0.0;
  double highest = -1e9, lowest = 1e9;
};

inline ViewSummary SummariseView(const std::vector<ViewLine>& lines, int fewest = 3) {
  ViewSummary s;
  s.lines = lines.size();
  if (lines.empty()) return s;
  std::vector<int> fish;
  int withFish = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const ViewLine& a = lines[i];
    fish.push_back(a.fish);
    withFish += a.fish >= fewest;
    s.highest = std::max(s.highest, static_cast<double>(a.y));
    s.lowest = std::min(s.lowest, static_cast<double>(a.y));
    for (size_t j = i + 1; j < lines.size(); ++j) {
      const ViewLine& b = lines[j];
      s.span = std::max(s.span, std::sqrt(static_cast<double>((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                                                              (a.z - b.z) * (a.z - b.z))));
    }
  }
  std::sort(fish.begin(), fish.end());
  s.medianFish = fish[fish.size() / 2];
  s.shareWithFish = static_cast<double>(withFish) / static_cast<double>(lines.size());
  return s;
}

}  // namespace qvtest
