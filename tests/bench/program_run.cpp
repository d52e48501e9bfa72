// Long runs of the shipped program in debug mode (a copy of the distributable
// folder with the default configuration), watched from outside: its commit
// charge, its frame statistics in the log and its exit. Prints Markdown
// table rows. Not a test.
//
//   program_run --switches N   N round trips full screen and back
//   program_run --resets N     N device-reset round trips (maximise, restore);
//                              both give the commit charge after the first ten
//                              and at the end
//   program_run --startup N    N starts: to the window, to the first frame, and
//                              from WM_CLOSE to the end (medians)
//   program_run --minutes M    M minutes at speed x8; frames per second and
//                              commit charge minute by minute, frames still
//                              presented at the end
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <algorithm>
#include <string>

#include "C3Application.h"
#include "ProgramTestSupport.h"
#include "TestSupport.h"

using namespace qvtest;

namespace {

bool CopyDist(const std::string& to) {
  bool ok = CopyFileTo(DistDir() + "Qelvar.scr", to + "Qelvar.scr");
  CreateDirectoryA((to + "ai").c_str(), nullptr);
  CreateDirectoryA((to + "model").c_str(), nullptr);
  for (const char* f : {"ai\\PurselAI.qva", "ai\\Forelens.qve", "model\\vassop.qvf", "model\\Calvesh.qvc",
                        "FlockConfig.ini", "CameraConfig.ini", "CoralConfig.ini", "StructureConfig.ini"})
    ok &= CopyFileTo(DistDir() + f, to + f);
  return ok;
}

size_t Commit(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

// The frames per second of the last "frame stats" line at or after `from`;
// negative when there is none.
double LastFps(const std::string& log, size_t from) {
  const size_t at = log.rfind("frame stats: ");
  if (at == std::string::npos || at < from) return -1.0;
  return std::atof(log.c_str() + at + std::strlen("frame stats: "));
}

// n round trips of window-mode switches (full screen and back), or of
// device resets (maximise and restore).
int Cycles(HWND window, HANDLE process, int n, bool switches) {
  size_t afterTen = 0;
  for (int i = 0; i < n; ++i) {
    if (switches) {
      PostMessageA(window, WM_COMMAND, kCmdToggleFullscreen, 0);
      PumpMessages(300);
      PostMessageA(window, WM_COMMAND, kCmdToggleFullscreen, 0);
    } else {
      ShowWindow(window, SW_MAXIMIZE);
      PumpMessages(300);
      ShowWindow(window, SW_RESTORE);
    }
    PumpMessages(300);
    if (i == 9) afterTen = Commit(process);
  }
  const size_t end = Commit(process);
  const std::string log = ReadLog();
  std::printf("| %s | %d | commit after 10 round trips: %zu | at the end: %zu | growth per round trip: %lld bytes | "
              "error boxes logged: %d |\n",
              switches ? "window-mode switches" : "device resets (maximise, restore)", 2 * n, afterTen, end,
              n > 10 ? (static_cast<long long>(end) - static_cast<long long>(afterTen)) / (n - 10) : 0,
              CountOf(log, "error box"));
  return CountOf(log, "error box") == 0 ? 0 : 1;
}

int Minutes(HWND window, HANDLE process, int minutes) {
  for (int i = 0; i < 3; ++i) PostMessageA(window, WM_COMMAND, kCmdSpeedUp, 0);  // x2, x4, x8
  std::printf("| minute | fps (last second) | commit bytes |\n|---:|---:|---:|\n");
  size_t first = 0, last = 0;
  double fps = -1.0;
  for (int m = 1; m <= minutes; ++m) {
    const size_t mark = ReadLog().size();
    PumpMessages(60000);
    fps = LastFps(ReadLog(), mark);
    last = Commit(process);
    if (m == 1) first = last;
    std::printf("| %d | %.1f | %zu |\n", m, fps, last);
    std::fflush(stdout);
  }
  std::printf("\ncommit growth after the first minute: %lld bytes; frames at the end: %s\n",
              static_cast<long long>(last) - static_cast<long long>(first), fps > 0 ? "yes" : "no");
  return fps > 0 ? 0 : 1;
}

double Seconds() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// n starts of the program: to its window, to its first frame (the capture
// command posted as soon as the window shows is carried out at the first
// frame drawn after scene set-up), and from WM_CLOSE to its end; medians.
int Startup(const std::string& dir, int n) {
  std::vector<double> window, frame, close;
  CreateDirectoryA((dir + "capture").c_str(), nullptr);
  for (int i = 0; i < n; ++i) {
    DeleteFileA((dir + "capture\\L0000.bmp").c_str());
    ChildProcess program;
    const double start = Seconds();
    HWND w = StartDebugRun(&program, dir);
    if (!w) return 2;
    window.push_back(Seconds() - start);
    PostMessageA(w, WM_COMMAND, kCmdCapture, 0);
    if (!WaitUntil([&] { return FileExists(dir + "capture\\L0000.bmp"); }, 60000)) return 2;
    frame.push_back(Seconds() - start);
    PumpMessages(2000);
    const double closing = Seconds();
    PostMessageA(w, WM_CLOSE, 0, 0);
    if (!program.Wait(60000)) return 2;
    close.push_back(Seconds() - closing);
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  std::printf("| start-up (median of %d) | window shown | first frame | WM_CLOSE to exit |\n|---|---:|---:|---:|\n", n);
  std::printf("| default configuration, debug-mode window | %.2f s | %.2f s | %.2f s |\n", median(window), median(frame),
              median(close));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: program_run --startup N | --switches N | --resets N | --minutes M\n");
    return 2;
  }
  const std::string dir = MakeTempDir("qvrun");
  if (!CopyDist(dir)) {
    std::printf("cannot copy the distributable folder\n");
    return 2;
  }
  WritePrivateProfileStringA("Display", "DebugLogLevel", "2", (dir + "qelvar.ini").c_str());
  ClearLog();
  if (std::strcmp(argv[1], "--startup") == 0) {
    const int rc = Startup(dir, std::atoi(argv[2]));
    RemoveTree(dir);
    return rc;
  }
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir);
  if (!window) {
    std::printf("the program showed no window\n");
    return 2;
  }
  PumpMessages(5000);
  const int n = std::atoi(argv[2]);
  int rc = 0;
  if (std::strcmp(argv[1], "--switches") == 0)
    rc = Cycles(window, program.Handle(), n, true);
  else if (std::strcmp(argv[1], "--resets") == 0)
    rc = Cycles(window, program.Handle(), n, false);
  else
    rc = Minutes(window, program.Handle(), n);
  PostMessageA(window, WM_CLOSE, 0, 0);
  const bool ended = program.Wait(60000);
  std::printf("closed: %s, exit code %lu, LastError.txt: %s\n", ended ? "yes" : "no",
              ended ? static_cast<unsigned long>(program.ExitCode()) : 0ul,
              FileExists(dir + "LastError.txt") ? "written" : "none");
  if (!ended) program.Kill();
  RemoveTree(dir);
  return ended && program.ExitCode() == 0 ? rc : 1;
}
