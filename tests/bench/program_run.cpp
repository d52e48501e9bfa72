// Long runs of the shipped program in debug mode (a copy of the distributable
// folder with the default configuration), watched from outside: its commit
// charge, its frame statistics in the log and its exit. Prints Markdown
// table rows. Not a test.
//
//   program_run --switches N   N round trips full screen and back
//   program_run --resets N     N device-reset round trips (maximise, restore);
//   program_run --mixed N      N of each round trip in turn (a reset round
//                              trip, then a switch round trip); each step
//                              waits for the program's restore; the commit
//                              charge after the first ten, every ten and at
//                              the end, and the device's reference counts
//                              the program logs
//   program_run --bare-switches N | --bare-resets N | --bare-mixed N
//                              the same round trips on a bare device in
//                              this process: its own commit charge
//   program_run --startup N    N starts: to the window, to the first frame, and
//                              from WM_CLOSE to the end (medians)
//   program_run --minutes M    M minutes at speed x8; frames per second and
//                              commit charge minute by minute, frames still
//                              presented at the end; the frames at 10 and 30
//                              minutes of scene time kept as artefacts
//   program_run --camera M     what a viewer sees over M minutes of scene time
//                              at x8 with the shipped configuration: the fish
//                              in view and the camera's travel from the
//                              log's view lines, one frame per scene minute
//                              and a contact sheet of them kept as artefacts
//   program_run --fish N1,N2,...  for each count a flock file of about that
//                              many calm fish (shipped species through
//                              PurselAI), the window at 1024x768: median
//                              frames per second, frame time, draw calls and
//                              fish in view with every fish drawn itself and
//                              with the far fish of each formation row drawn
//                              as clone billboards
//   program_run --where N      the default scene at 1024x768 with each part
//                              left out in turn (N runs each): where the
//                              frame time goes
//   program_run --replay N     the program's own cost per frame: the default
//                              scene at 1024x768 against a bare loop of the
//                              draw calls of three of its frames, recorded by
//                              the program and replayed here (N runs each)
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "D3DTestDevice.h"
#include "DrawReplay.h"
#include "ProgramTestSupport.h"
#include "TestSupport.h"
#include "X2PluginAbi.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/CaptureBmp.h"
#include "diagnostics/DrawRecord.h"
#include "frame/C3Application.h"

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

// The values of the first number after `prefix` on each log line that has it.
std::vector<long> LoggedNumbers(const std::string& log, const std::string& prefix, size_t skip = 0) {
  std::vector<long> values;
  for (size_t at = log.find(prefix); at != std::string::npos; at = log.find(prefix, at + 1)) {
    const char* p = log.c_str() + at + prefix.size();
    for (size_t i = 0; i < skip && p; ++i) {
      p = std::strchr(p, ',');
      if (p) ++p;
    }
    if (p) values.push_back(std::strtol(p, nullptr, 10));
  }
  return values;
}

// The device's reference counts the program logs at each reset (after
// invalidating, after restoring) and after each creation: first, least,
// greatest and last.
void PrintReferenceCounts(const std::string& log) {
  auto line = [](const char* what, const std::vector<long>& v) {
    if (v.empty()) return;
    std::printf("device references %s: first %ld, least %ld, greatest %ld, last %ld (%zu times)\n", what, v.front(),
                *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()), v.back(), v.size());
  };
  line("before a reset", LoggedNumbers(log, "device reset: "));
  line("after a reset's restore", LoggedNumbers(log, "device reset: ", 1));
  line("after a creation's restore", LoggedNumbers(log, "device created: "));
}

// The kinds of round trip Cycles drives.
enum class Trip { Switch, Reset, Mixed };

// The highest "<prefix>N." counter in the log.
int LastCounter(const std::string& log, const std::string& prefix) {
  int last = 0;
  for (size_t at = log.find(prefix); at != std::string::npos; at = log.find(prefix, at + 1))
    last = std::max(last, std::atoi(log.c_str() + at + prefix.size()));
  return last;
}

// Carries out `step` and waits until the program has restored its device
// objects once more (a reset or a new device), then 300 ms of frames; false
// when no restore came within 30 s. Each step thus starts from a settled
// window, whatever the machine's load.
template <typename Step>
bool Settled(Step step) {
  const int before = LastCounter(ReadLog(), "restore device objects ");
  step();
  const bool restored =
      WaitUntil([&] { return LastCounter(ReadLog(), "restore device objects ") > before; }, 30000);
  PumpMessages(300);
  return restored;
}

int SwitchTrip(HWND window) {
  int missed = 0;
  for (int k = 0; k < 2; ++k)
    missed += !Settled([&] { PostMessageA(window, WM_COMMAND, kCmdToggleFullscreen, 0); });
  return missed;
}

int ResetTrip(HWND window) {
  int missed = 0;
  for (int cmd : {SW_MAXIMIZE, SW_RESTORE}) missed += !Settled([&] { ShowWindow(window, cmd); });
  return missed;
}

// n round trips of window-mode switches (full screen and back), of device
// resets (maximise and restore), or of both in turn (a reset round trip then
// a switch round trip); the commit charge every ten round trips as well.
int Cycles(HWND window, HANDLE process, int n, Trip trip) {
  size_t afterTen = 0;
  std::vector<size_t> series;
  int missed = 0;
  for (int i = 0; i < n; ++i) {
    if (trip != Trip::Switch) missed += ResetTrip(window);
    if (trip != Trip::Reset) missed += SwitchTrip(window);
    if ((i + 1) % 10 == 0) series.push_back(Commit(process));
    if (i == 9) afterTen = Commit(process);
  }
  const size_t end = Commit(process);
  const std::string log = ReadLog();
  const char* name = trip == Trip::Switch  ? "window-mode switches"
                     : trip == Trip::Reset ? "device resets (maximise, restore)"
                                           : "device resets and window-mode switches in turn";
  const int perTrip = trip == Trip::Mixed ? 4 : 2;
  std::printf("| %s | %d | commit after 10 round trips: %zu | at the end: %zu | growth per round trip: %lld bytes | "
              "error boxes logged: %d | steps with no restore within 30 s: %d |\n",
              name, perTrip * n, afterTen, end,
              n > 10 ? (static_cast<long long>(end) - static_cast<long long>(afterTen)) / (n - 10) : 0,
              CountOf(log, "error box"), missed);
  std::printf("commit every ten round trips (MB):");
  for (size_t c : series) std::printf(" %.1f", static_cast<double>(c) / 1e6);
  std::printf("\n");
  PrintReferenceCounts(log);
  if (trip == Trip::Mixed) {
    // The charge follows the window's state (the size of the back buffer and
    // of everything made to match it): figures are comparable only when taken
    // in the same state, as those above are.
    std::printf("commit by window state (MB): windowed %.1f", static_cast<double>(Commit(process)) / 1e6);
    const std::pair<const char*, int> tour[] = {{"maximised", SW_MAXIMIZE}, {"restored", SW_RESTORE}};
    for (const auto& step : tour) {
      missed += !Settled([&] { ShowWindow(window, step.second); });
      std::printf(", %s %.1f", step.first, static_cast<double>(Commit(process)) / 1e6);
    }
    for (const char* state : {"full screen", "windowed again"}) {
      missed += !Settled([&] { PostMessageA(window, WM_COMMAND, kCmdToggleFullscreen, 0); });
      std::printf(", %s %.1f", state, static_cast<double>(Commit(process)) / 1e6);
    }
    std::printf("\n");
  }
  return CountOf(log, "error box") == 0 && missed == 0 ? 0 : 1;
}

// ---- The same round trips on a bare device in this process ----

// A window and a device with nothing made on it, switched and reset the way
// the program does: a new device for each window mode, a reset for each new
// client size; one cleared frame presented after each step.
class BareDevice {
 public:
  ~BareDevice() {
    Release();
    if (d3d_) d3d_->Release();
    if (window_) DestroyWindow(window_);
  }

  bool Create() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QvBareDevice";
    RegisterClassA(&wc);
    RECT rect = {0, 0, 800, 600};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    window_ = CreateWindowA(wc.lpszClassName, "bare device", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                            rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, wc.hInstance, nullptr);
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    return window_ && d3d_ && MakeDevice();
  }

  bool Reset() {
    RECT client{};
    GetClientRect(window_, &client);
    params_.BackBufferWidth = static_cast<UINT>(client.right);
    params_.BackBufferHeight = static_cast<UINT>(client.bottom);
    return SUCCEEDED(device_->Reset(&params_)) && Frame();
  }

  bool Switch() {
    windowed_ = !windowed_;
    SetWindowLongA(window_, GWL_STYLE,
                   windowed_ ? (WS_OVERLAPPEDWINDOW | WS_VISIBLE) : (WS_POPUP | WS_VISIBLE | WS_SYSMENU));
    Release();
    if (!MakeDevice()) return false;
    if (windowed_) SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return true;
  }

  HWND Window() const { return window_; }

 private:
  bool MakeDevice() {
    D3DDISPLAYMODE mode{};
    d3d_->GetAdapterDisplayMode(0, &mode);
    RECT client{};
    GetClientRect(window_, &client);
    params_ = D3DPRESENT_PARAMETERS{};
    params_.Windowed = windowed_;
    params_.BackBufferCount = 1;
    params_.BackBufferFormat = mode.Format;
    params_.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params_.hDeviceWindow = window_;
    params_.EnableAutoDepthStencil = TRUE;
    params_.AutoDepthStencilFormat = D3DFMT_D24S8;
    params_.Flags = D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;
    params_.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    params_.BackBufferWidth = windowed_ ? static_cast<UINT>(client.right) : mode.Width;
    params_.BackBufferHeight = windowed_ ? static_cast<UINT>(client.bottom) : mode.Height;
    params_.FullScreen_RefreshRateInHz = windowed_ ? 0 : mode.RefreshRate;
    if (FAILED(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params_,
                                  &device_))) {
      device_ = nullptr;
      return false;
    }
    return Frame();
  }

  bool Frame() {
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF2040A0, 1.0f, 0);
    device_->BeginScene();
    device_->EndScene();
    return SUCCEEDED(device_->Present(nullptr, nullptr, nullptr, nullptr));
  }

  void Release() {
    if (device_) {
      const ULONG left = device_->Release();
      if (left) std::printf("bare device: %lu references left at release\n", static_cast<unsigned long>(left));
    }
    device_ = nullptr;
  }

  IDirect3D9* d3d_ = nullptr;
  IDirect3DDevice9* device_ = nullptr;
  HWND window_ = nullptr;
  D3DPRESENT_PARAMETERS params_{};
  bool windowed_ = true;
};

int BareCycles(int n, Trip trip) {
  BareDevice bare;
  if (!bare.Create()) {
    std::printf("no bare device\n");
    return 2;
  }
  HWND window = bare.Window();
  bool ok = true;
  PumpMessages(1000);
  size_t afterTen = 0;
  std::vector<size_t> series;
  const size_t start = Commit(GetCurrentProcess());
  for (int i = 0; i < n && ok; ++i) {
    if (trip != Trip::Switch) {
      for (int cmd : {SW_MAXIMIZE, SW_RESTORE}) {
        ShowWindow(window, cmd);
        PumpMessages(100);
        ok &= bare.Reset();
        PumpMessages(200);
      }
    }
    if (trip != Trip::Reset) {
      for (int k = 0; k < 2; ++k) {
        ok &= bare.Switch();
        PumpMessages(300);
      }
    }
    if ((i + 1) % 10 == 0) series.push_back(Commit(GetCurrentProcess()));
    if (i == 9) afterTen = Commit(GetCurrentProcess());
  }
  const size_t end = Commit(GetCurrentProcess());
  const char* name = trip == Trip::Switch  ? "bare device: window-mode switches"
                     : trip == Trip::Reset ? "bare device: resets (maximise, restore)"
                                           : "bare device: resets and window-mode switches in turn";
  std::printf("| %s | %d | commit at the start: %zu | after 10 round trips: %zu | at the end: %zu | growth per round "
              "trip: %lld bytes | all steps succeeded: %s |\n",
              name, (trip == Trip::Mixed ? 4 : 2) * n, start, afterTen, end,
              n > 10 ? (static_cast<long long>(end) - static_cast<long long>(afterTen)) / (n - 10) : 0,
              ok ? "yes" : "no");
  std::printf("commit every ten round trips (MB):");
  for (size_t c : series) std::printf(" %.1f", static_cast<double>(c) / 1e6);
  std::printf("\n");
  return ok ? 0 : 1;
}

// The frame the capture command saves (capture file `n` of the run in
// `dir`), copied beside the test artefacts as `name`; false when none came.
bool KeepFrame(HWND window, const std::string& dir, int n, const std::string& name) {
  CreateDirectoryA((dir + "capture").c_str(), nullptr);
  SavedFrame shot;
  if (!CaptureFrame(window, dir, n, &shot)) return false;
  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteFileBytes(folder + name, shot.bytes.data(), shot.bytes.size());
  return true;
}

int Minutes(HWND window, HANDLE process, const std::string& dir, int minutes) {
  for (int i = 0; i < 3; ++i) PostMessageA(window, WM_COMMAND, kCmdSpeedUp, 0);  // x2, x4, x8
  std::printf("| minute | fps (last second) | commit bytes |\n|---:|---:|---:|\n");
  size_t first = 0, last = 0;
  double fps = -1.0;
  // Frames at 10 and 30 minutes of scene time: 75 and 225 seconds at x8.
  const int keepAt[] = {75, 225};
  int seconds = 0, kept = 0;
  for (int m = 1; m <= minutes; ++m) {
    const size_t mark = ReadLog().size();
    for (int s = 0; s < 60; s += 5, seconds += 5) {
      PumpMessages(5000);
      if (kept < 2 && seconds + 5 >= keepAt[kept]) {
        const int sceneMinutes = keepAt[kept] * 8 / 60;
        const std::string name = "long_" + std::to_string(sceneMinutes) + "min.bmp";
        if (KeepFrame(window, dir, kept, name))
          std::printf("frame at %d minutes of scene time: artefacts/%s\n", sceneMinutes, name.c_str());
        else
          std::printf("no frame saved at %d minutes of scene time\n", sceneMinutes);
        ++kept;
      }
    }
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
    // Looked for every few milliseconds: the general wait looks every 50 ms,
    // which would add up to 50 ms to the figure.
    const DWORD began = GetTickCount();
    while (!FileExists(dir + "capture\\L0000.bmp")) {
      if (GetTickCount() - began > 60000) return 2;
      PumpMessages(0);
    }
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

// ---- Whole-scene frame rate at a given number of fish ----

constexpr int kSceneWidth = 1024, kSceneHeight = 768;
constexpr int kHighPowerFactor = 2;  // the shipped multiplier (x1.0)
constexpr int kMaxFlocks = 100;

// The flock sizes PurselAI offers, largest first: its parameter string and
// the count the plug-in itself gives for it.
struct FlockSize {
  const char* param;
  int fish;
};

std::vector<FlockSize> PurselFlockSizes() {
  std::vector<FlockSize> sizes;
  HMODULE module = LoadLibraryA((DistDir() + "ai\\PurselAI.qva").c_str());
  auto get = module ? reinterpret_cast<X2GetAIDataFn>(GetProcAddress(module, X2_AI_EXPORT_NAME)) : nullptr;
  const X2AIData* record = get ? get(nullptr, nullptr) : nullptr;
  if (record && record->CountFish)
    for (const char* param : {"Scale:巨大", "Scale:多い", "Scale:少ない"})
      sizes.push_back({param, record->CountFish(0, param, nullptr, kHighPowerFactor)});
  if (module) FreeLibrary(module);
  std::sort(sizes.begin(), sizes.end(), [](const FlockSize& a, const FlockSize& b) { return a.fish > b.fish; });
  return sizes;
}

// Flocks giving about `fish` fish: the largest flocks while they fit, the
// rest in the smallest, rounded to the nearest; at most 100 flocks.
std::vector<const FlockSize*> PlanFlocks(const std::vector<FlockSize>& sizes, int fish) {
  std::vector<const FlockSize*> plan;
  int left = fish;
  for (size_t k = 0; k < sizes.size(); ++k) {
    const int each = std::max(sizes[k].fish, 1);
    int take = k + 1 == sizes.size() ? (left + each / 2) / each : left / each;
    take = std::min(take, kMaxFlocks - static_cast<int>(plan.size()));
    for (int i = 0; i < take; ++i) plan.push_back(&sizes[k]);
    left -= take * sizes[k].fish;
  }
  return plan;
}

// The species and AI names of the shipped flock file, as stored there.
struct ShippedFlock {
  std::string fish, ai;
};

std::vector<ShippedFlock> ShippedFlocks() {
  const std::string file = DistDir() + "FlockConfig.ini";
  std::vector<ShippedFlock> flocks;
  const int count = GetPrivateProfileIntA("flockConfig", "flockCount", 0, file.c_str());
  for (int i = 0; i < count; ++i) {
    const std::string section = "flock" + std::to_string(i);
    char fish[256] = "", ai[256] = "";
    GetPrivateProfileStringA(section.c_str(), "fishType", "", fish, sizeof fish, file.c_str());
    GetPrivateProfileStringA(section.c_str(), "ai", "", ai, sizeof ai, file.c_str());
    if (fish[0] && ai[0]) flocks.push_back({fish, ai});
  }
  return flocks;
}

// Writes `dir`FlockConfig.ini with the planned flocks, the shipped species
// in turn; returns the fish configured.
int WriteFlockFile(const std::string& dir, const std::vector<const FlockSize*>& plan,
                   const std::vector<ShippedFlock>& species) {
  const std::string file = dir + "FlockConfig.ini";
  DeleteFileA(file.c_str());
  WritePrivateProfileStringA("flockConfig", "flockCount", std::to_string(plan.size()).c_str(), file.c_str());
  WritePrivateProfileStringA("flockConfig", "HighPowerFactor", std::to_string(kHighPowerFactor).c_str(),
                             file.c_str());
  int fish = 0;
  for (size_t i = 0; i < plan.size(); ++i) {
    const std::string section = "flock" + std::to_string(i);
    const ShippedFlock& s = species[i % species.size()];
    WritePrivateProfileStringA(section.c_str(), "fishType", s.fish.c_str(), file.c_str());
    WritePrivateProfileStringA(section.c_str(), "ai", s.ai.c_str(), file.c_str());
    // Calm flocks: only they give each formation row a render texture when
    // the clone billboards are on.
    const std::string param = std::string(plan[i]->param) + ",Character:おとなしい";
    WritePrivateProfileStringA(section.c_str(), "aiParam", param.c_str(), file.c_str());
    fish += plan[i]->fish;
  }
  return fish;
}

// Gives the window a client area of w x h and has the program take the new
// size, as at the end of a drag.
void SizeClientArea(HWND window, int w, int h) {
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  const int frameW = (outer.right - outer.left) - client.right;
  const int frameH = (outer.bottom - outer.top) - client.bottom;
  SetWindowPos(window, nullptr, 0, 0, w + frameW, h + frameH, SWP_NOZORDER | SWP_NOACTIVATE);
  PostMessageA(window, WM_EXITSIZEMOVE, 0, 0);
}

// The frames per second of the "frame stats" lines at or after `from` that
// report the back buffer `size` (e.g. "(1024x768)").
std::vector<double> FpsLines(const std::string& log, size_t from, const std::string& size) {
  std::vector<double> fps;
  const std::string prefix = "frame stats: ";
  for (size_t at = log.find(prefix, from); at != std::string::npos; at = log.find(prefix, at + 1)) {
    const std::string line = log.substr(at, log.find('\n', at) - at);
    if (line.find(size) != std::string::npos) fps.push_back(std::atof(line.c_str() + prefix.size()));
  }
  return fps;
}

// Draw calls a frame from the "frame draws" lines at or after `from`.
std::vector<double> DrawLines(const std::string& log, size_t from) {
  std::vector<double> draws;
  const std::string prefix = "frame draws: ";
  for (size_t at = log.find(prefix, from); at != std::string::npos; at = log.find(prefix, at + 1))
    draws.push_back(std::atof(log.c_str() + at + prefix.size()));
  return draws;
}

double MedianOf(std::vector<double> v) {
  if (v.empty()) return -1.0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct SceneRun {
  double fps = -1.0;  // median; negative when no figure came
  double draws = -1.0;  // draw calls a frame, median
  int fishInView = -1;  // fish drawn a frame, median of the view lines
  int seconds = 0;    // frame stats lines the median was taken over
  bool clean = false; // closed by WM_CLOSE with exit code 0
  int pictures = 0;   // render textures in the clone atlas (its last log line)
};

// The picture count of the last "clone atlas: N pictures" log line; 0 when
// there is none.
int AtlasPictures(const std::string& log) {
  const std::string prefix = "clone atlas: ";
  const size_t at = log.rfind(prefix);
  return at == std::string::npos ? 0 : std::atoi(log.c_str() + at + prefix.size());
}

// One run of the program in `dir` as configured there: the window set to
// 1024x768, settled (the camera among the fish: 20 s of the program's clock
// gone), then the frame stats of about 15 seconds (longer when frames are
// slow, so that at least five lines come); `beforeClose` is given the
// window after them.
SceneRun RunScene(const std::string& dir, const std::function<void(HWND)>& beforeClose = nullptr) {
  SceneRun run;
  ClearLog();
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir);
  if (!window) return run;
  PumpMessages(2000);
  SizeClientArea(window, kSceneWidth, kSceneHeight);
  char size[32];
  std::snprintf(size, sizeof size, "(%dx%d)", kSceneWidth, kSceneHeight);
  // Settled: the first line at the new size, then a few seconds more.
  WaitUntil([&] { return !FpsLines(ReadLog(), 0, size).empty(); }, 120000);
  PumpMessages(8000);
  WaitUntil([] { return ViewLines(ReadLog()).size() >= 20; }, 120000);
  const size_t mark = ReadLog().size();
  PumpMessages(15000);
  for (int extra = 0; extra < 12 && FpsLines(ReadLog(), mark, size).size() < 5; ++extra) PumpMessages(5000);
  const std::vector<double> fps = FpsLines(ReadLog(), mark, size);
  run.fps = MedianOf(fps);
  run.draws = MedianOf(DrawLines(ReadLog(), mark));
  const std::vector<ViewLine> view = ViewLines(ReadLog(), mark);
  if (!view.empty()) run.fishInView = SummariseView(view).medianFish;
  run.seconds = static_cast<int>(fps.size());
  if (beforeClose) beforeClose(window);
  PostMessageA(window, WM_CLOSE, 0, 0);
  const bool ended = program.Wait(60000);
  run.clean = ended && program.ExitCode() == 0 && CountOf(ReadLog(), "error box") == 0;
  run.pictures = AtlasPictures(ReadLog());
  if (!ended) program.Kill();
  return run;
}

// "fish in view | fish drawn a second" of a run.
std::string ViewCells(const SceneRun& r) {
  char text[64];
  if (r.fishInView < 0 || r.fps <= 0)
    std::snprintf(text, sizeof text, "- | -");
  else
    std::snprintf(text, sizeof text, "%d | %.0f", r.fishInView, r.fishInView * r.fps);
  return text;
}

std::vector<int> ParseCounts(const char* text) {
  std::vector<int> counts;
  for (const char* p = text; *p;) {
    char* end = nullptr;
    const long n = std::strtol(p, &end, 10);
    if (end == p) break;
    if (n > 0) counts.push_back(static_cast<int>(n));
    p = *end == ',' ? end + 1 : end;
  }
  return counts;
}

int FishScene(const std::string& dir, const char* countsText) {
  const std::vector<int> counts = ParseCounts(countsText);
  const std::vector<FlockSize> sizes = PurselFlockSizes();
  const std::vector<ShippedFlock> species = ShippedFlocks();
  if (counts.empty() || sizes.empty() || species.empty()) {
    std::printf("no fish counts, no PurselAI flock sizes or no shipped flocks\n");
    return 2;
  }
  const std::string ini = dir + "qelvar.ini";
  std::printf("| fish | flocks | every fish drawn: fps | ms per frame | draws a frame | fish in view | fish drawn a "
              "second | clone billboards (TwinfinTech=1): fps | ms per frame | draws a frame | fish in view | fish "
              "drawn a second | render textures | clone frame time / every fish |\n"
              "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  int rc = 0;
  for (int wanted : counts) {
    const std::vector<const FlockSize*> plan = PlanFlocks(sizes, wanted);
    const int fish = WriteFlockFile(dir, plan, species);
    SceneRun runs[2];
    for (int tech = 0; tech < 2; ++tech) {
      WritePrivateProfileStringA("system", "TwinfinTech", tech ? "1" : "0", ini.c_str());
      // One frame of each run kept, to compare the billboards with the meshes.
      RemoveTree(dir + "capture");
      const std::string frame = "fish_" + std::to_string(fish) + (tech ? "_billboards.bmp" : "_meshes.bmp");
      runs[tech] = RunScene(dir, [&](HWND window) { KeepFrame(window, dir, 0, frame); });
      if (runs[tech].fps < 0 || !runs[tech].clean) rc = 1;
    }
    auto cell = [](const SceneRun& r) {
      char text[160];
      if (r.fps <= 0)
        std::snprintf(text, sizeof text, "no figure | - | %.0f | - | -", r.draws);
      else
        std::snprintf(text, sizeof text, "%.2f%s | %.1f | %.0f | %s", r.fps, r.clean ? "" : " (unclean exit)",
                      1000.0 / r.fps, r.draws, ViewCells(r).c_str());
      return std::string(text);
    };
    char ratio[32] = "-";
    if (runs[0].fps > 0 && runs[1].fps > 0) std::snprintf(ratio, sizeof ratio, "%.2f", runs[0].fps / runs[1].fps);
    std::printf("| %d | %zu | %s | %s | %d | %s |\n", fish, plan.size(), cell(runs[0]).c_str(), cell(runs[1]).c_str(),
                runs[1].pictures, ratio);
    std::fflush(stdout);
  }
  std::printf("\nFigures: median of the once-a-second \"frame stats\" lines over about 15 s after settling, "
              "debug-mode window at %dx%d; fish as configured (the plug-in's own count of each flock), all "
              "flocks calm so that each formation row gets a render texture when the clone billboards are on; "
              "fish in view: median of the \"view\" lines over the same seconds (fish drawn in a frame), fish "
              "drawn a second: that times the frames per second; "
              "a ratio below 1 means the clone billboards make frames faster; a frame of each run, captured after "
              "the measured seconds, is kept as artefacts/fish_<fish>_meshes.bmp and fish_<fish>_billboards.bmp.\n",
              kSceneWidth, kSceneHeight);
  return rc;
}

// ---- What a viewer sees: the camera with the shipped configuration ----

// The frames shrunk `shrink` times (each pixel the mean of its block), laid
// out `columns` across from the top left, as a bitmap file.
std::vector<uint8_t> ContactSheet(const std::vector<SavedFrame>& frames, int columns, int shrink) {
  if (frames.empty()) return {};
  const int w = frames[0].w / shrink, h = frames[0].h / shrink;
  const int rows = (static_cast<int>(frames.size()) + columns - 1) / columns;
  const int sheetW = columns * w, sheetH = rows * h;
  std::vector<uint32_t> sheet(static_cast<size_t>(sheetW) * sheetH, 0);
  for (size_t k = 0; k < frames.size(); ++k) {
    const SavedFrame& f = frames[k];
    if (f.w / shrink != w || f.h / shrink != h) continue;
    const int x0 = static_cast<int>(k % columns) * w, y0 = static_cast<int>(k / columns) * h;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int sum[3] = {0, 0, 0};
        for (int dy = 0; dy < shrink; ++dy)
          for (int dx = 0; dx < shrink; ++dx) {
            const uint8_t* p = f.At(x * shrink + dx, y * shrink + dy);
            for (int c = 0; c < 3; ++c) sum[c] += p[c];
          }
        const int n = shrink * shrink;
        sheet[static_cast<size_t>(y0 + y) * sheetW + x0 + x] =
            static_cast<uint32_t>(sum[0] / n) | static_cast<uint32_t>(sum[1] / n) << 8 |
            static_cast<uint32_t>(sum[2] / n) << 16;
      }
  }
  return EncodeBmp24(sheet.data(), sheetW, sheetH, sheetW * 4);
}

// The shipped configuration at 1024x768 and scene speed x8 for `minutes`
// of scene time: a frame at the end of each scene minute kept as
// artefacts/camera/minute_NN.bmp with a contact sheet of them, and the
// figures of the view lines after the first 30 s of the program's clock.
int CameraTravel(const std::string& dir, int minutes) {
  ChildProcess program;
  HWND window = StartDebugRun(&program, dir);
  if (!window) {
    std::printf("the program showed no window\n");
    return 2;
  }
  SizeClientArea(window, kSceneWidth, kSceneHeight);
  for (int i = 0; i < 3; ++i) PostMessageA(window, WM_COMMAND, kCmdSpeedUp, 0);  // x2, x4, x8
  const std::string folder = TestBinDir() + "..\\..\\artefacts\\camera\\";
  CreateDirectoryA((TestBinDir() + "..\\..\\artefacts").c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((dir + "capture").c_str(), nullptr);
  std::vector<SavedFrame> frames;
  // One scene minute is 7.5 s at x8.
  const DWORD start = GetTickCount();
  for (int m = 1; m <= minutes; ++m) {
    const DWORD due = start + static_cast<DWORD>(m * 7500);
    const DWORD now = GetTickCount();
    if (static_cast<int>(due - now) > 0) PumpMessages(due - now);
    SavedFrame shot;
    if (!CaptureFrame(window, dir, m - 1, &shot)) {
      std::printf("no frame saved at minute %d\n", m);
      continue;
    }
    char name[32];
    std::snprintf(name, sizeof name, "minute_%02d.bmp", m);
    WriteFileBytes(folder + name, shot.bytes.data(), shot.bytes.size());
    frames.push_back(std::move(shot));
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  const bool ended = program.Wait(60000);
  if (!ended) program.Kill();
  const std::string log = ReadLog();
  WriteFileBytes(folder + "log.txt", log.data(), log.size());
  const std::vector<uint8_t> sheet = ContactSheet(frames, 6, 4);
  WriteFileBytes(folder + "contact_sheet.bmp", sheet.data(), sheet.size());

  const std::vector<ViewLine> all = ViewLines(log);
  constexpr size_t kSkipped = 30;
  if (all.size() <= kSkipped) {
    std::printf("only %zu view lines\n", all.size());
    return 1;
  }
  const ViewSummary v = SummariseView(std::vector<ViewLine>(all.begin() + kSkipped, all.end()));
  std::printf("| scene minutes at x8 | view lines counted | 3 or more fish in view | median fish in view | camera "
              "span | camera y, lowest and highest | frames kept |\n|---:|---:|---:|---:|---:|---:|---:|\n");
  std::printf("| %d | %zu | %.1f%% | %d | %.1f | %.1f, %.1f | %zu |\n", minutes, v.lines, v.shareWithFish * 100.0,
              v.medianFish, v.span, v.lowest, v.highest, frames.size());
  std::printf("\nFigures: the view lines after the first 30 s of the program's clock (the start pose holds for "
              "10 s); span: the greatest distance between two camera positions. Frames: artefacts/camera/"
              "minute_NN.bmp, contact_sheet.bmp (6 across, in scene minutes), log.txt.\n");
  const bool clean = ended && program.ExitCode() == 0;
  return clean && v.shareWithFish >= 0.8 && v.span >= 40.0 && v.highest < 1.0 ? 0 : 1;
}

// ---- Where the frame time of the default scene goes ----

struct SceneVariant {
  const char* name;
  const char* section;  // nullptr: nothing changed
  const char* key;
  const char* value;
};

// Each part of the scene left out on its own, by its setting or, where it
// has none, by hiding its class from drawing.
const SceneVariant kVariants[] = {
    {"whole default scene", nullptr, nullptr, nullptr},
    {"no sea surface (Seaface=0)", "system", "Seaface", "0"},
    {"no halation (Halation=0)", "system", "Halation", "0"},
    {"no light shafts (LightTower=0)", "system", "LightTower", "0"},
    {"no fish lights (Lights=0)", "system", "Lights", "0"},
    {"no coral (CoralDensity=0)", "system", "CoralDensity", "0"},
    {"no pixel shaders (PixelShader11=0)", "system", "PixelShader11", "0"},
    {"floor hidden", "Display", "DebugDisableRender", "X1Terrain"},
    {"soft fog hidden", "Display", "DebugDisableRender", "X7SoftFog"},
    {"fish hidden", "Display", "DebugDisableRender", "X2FileFish"},
    // The whole scene once more: how far two runs of one scene differ here.
    {"whole default scene, again", nullptr, nullptr, nullptr},
};

int WhereTimeGoes(const std::string& dir, int repeats) {
  const std::string ini = dir + "qelvar.ini";
  std::printf("| scene | fps | ms per frame | ms saved | draws a frame | fish in view | fish drawn a second "
              "|\n|---|---:|---:|---:|---:|---:|---:|\n");
  double whole = -1.0;
  int rc = 0;
  for (const SceneVariant& v : kVariants) {
    char old[256] = "";
    if (v.section) {
      GetPrivateProfileStringA(v.section, v.key, "", old, sizeof old, ini.c_str());
      WritePrivateProfileStringA(v.section, v.key, v.value, ini.c_str());
    }
    std::vector<double> fps, draws, inView;
    for (int r = 0; r < repeats; ++r) {
      const SceneRun run = RunScene(dir);
      if (run.fps > 0) fps.push_back(run.fps);
      if (run.draws >= 0) draws.push_back(run.draws);
      if (run.fishInView >= 0) inView.push_back(run.fishInView);
      if (run.fps < 0 || !run.clean) rc = 1;
    }
    if (v.section) WritePrivateProfileStringA(v.section, v.key, old[0] ? old : nullptr, ini.c_str());
    const double f = MedianOf(fps);
    if (f <= 0) {
      std::printf("| %s | no figure | | | | | |\n", v.name);
      continue;
    }
    const double ms = 1000.0 / f;
    if (!v.section && whole < 0) whole = ms;
    const double d = MedianOf(draws);
    SceneRun median;
    median.fps = f;
    median.fishInView = inView.empty() ? -1 : static_cast<int>(MedianOf(inView));
    char saved[32] = "";
    if (&v != &kVariants[0] && whole > 0) std::snprintf(saved, sizeof saved, "%.1f", whole - ms);
    std::printf("| %s | %.2f | %.1f | %s | %.0f | %s |\n", v.name, f, ms, saved, d, ViewCells(median).c_str());
    std::fflush(stdout);
  }
  std::printf("\nFigures: median fps of %d run(s) per line, each the median of the once-a-second \"frame "
              "stats\" lines over about 15 s, debug-mode window at %dx%d, default configuration; fish in view: "
              "median of the \"view\" lines over the same seconds, fish drawn a second: that times the frames "
              "per second.\n",
              repeats, kSceneWidth, kSceneHeight);
  return rc;
}

// ---- The program's own cost per frame: the scene against a bare loop of its draws ----

// Has the running program record the draws of its next frame (the capture
// command at log level 2) and reads the record; empty text when none came.
std::string RecordFrameDraws(HWND window) {
  DeleteFileA(kDrawRecordPath);
  const size_t mark = ReadLog().size();
  PostMessageA(window, WM_COMMAND, kCmdCapture, 0);
  WaitUntil([&] {
    const std::string log = ReadLog();
    return log.find("frame draws recorded", mark) != std::string::npos ||
           log.find("frame draws not recorded", mark) != std::string::npos;
  }, 120000);
  return ReadFileText(kDrawRecordPath);
}

struct ReplayRun {
  double fps = -1.0;  // median of the per-second rates
  std::string error;
};

void PumpOwnMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// The recorded frames issued in turn, again and again, on a device of the
// scene's size: frames per second over each whole second of about 15 s
// after a settling second, as the program's own statistics count them; the
// median.
ReplayRun ReplayFrames(const std::vector<DrawRecord>& records, bool fill) {
  ReplayRun run;
  qvtest::D3DTestDevice device;
  if (!device.Create(kSceneWidth, kSceneHeight)) {
    run.error = device.Error();
    return run;
  }
  std::vector<double> fps;
  {
    std::vector<std::unique_ptr<DrawReplay>> replays;
    for (const DrawRecord& record : records) {
      replays.push_back(std::make_unique<DrawReplay>(device.Device(), record, fill));
      if (!replays.back()->Prepare(&run.error)) return run;
    }
    size_t next = 0;
    auto frame = [&] { return replays[next++ % replays.size()]->Frame(); };
    double start = Seconds();
    while (Seconds() - start < 1.0) {
      PumpOwnMessages();
      if (FAILED(frame())) {
        run.error = "a replayed frame failed";
        return run;
      }
    }
    start = Seconds();
    double secondStart = start;
    int frames = 0;
    while (Seconds() - start < 15.0 || fps.size() < 5) {
      PumpOwnMessages();
      frame();
      ++frames;
      const double now = Seconds();
      if (now - secondStart > 1.0) {
        fps.push_back(frames / (now - secondStart));
        frames = 0;
        secondStart = now;
      }
    }
  }
  run.fps = MedianOf(fps);
  return run;
}

constexpr int kRecordedFrames = 3;

int OwnOverhead(const std::string& dir, int repeats) {
  std::printf("| run | scene ms a frame | bare loop ms a frame | ratio | bare loop without pixels ms | draw calls | "
              "primitives | pixels drawn | clears | render targets |\n|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  std::vector<double> sceneMs, bareMs, callsMs, ratios;
  int rc = 0;
  for (int r = 0; r < repeats; ++r) {
    // Frames two seconds apart right after the measured seconds: the camera
    // moves on, so more than one stands for the stretch measured.
    std::vector<std::string> texts;
    const SceneRun scene = RunScene(dir, [&texts](HWND window) {
      for (int k = 0; k < kRecordedFrames; ++k) {
        if (k) PumpMessages(2000);
        texts.push_back(RecordFrameDraws(window));
      }
    });
    std::string error;
    std::vector<DrawRecord> records(texts.size());
    bool read = true;
    for (size_t k = 0; k < texts.size() && read; ++k) read = ParseDrawRecord(texts[k], &records[k], &error);
    if (scene.fps <= 0 || !scene.clean || !read || records.empty()) {
      std::printf("run %d: %s\n", r + 1,
                  scene.fps <= 0 ? "no scene figure" : !scene.clean ? "unclean exit" : ("no draw record: " + error).c_str());
      rc = 1;
      continue;
    }
    const ReplayRun bare = ReplayFrames(records, true);
    const ReplayRun calls = ReplayFrames(records, false);
    if (bare.fps <= 0 || calls.fps <= 0) {
      std::printf("run %d: replay failed: %s\n", r + 1, (bare.error + calls.error).c_str());
      rc = 1;
      continue;
    }
    sceneMs.push_back(1000.0 / scene.fps);
    bareMs.push_back(1000.0 / bare.fps);
    callsMs.push_back(1000.0 / calls.fps);
    ratios.push_back(sceneMs.back() / bareMs.back());
    // Per recorded frame, averaged.
    double draws = 0, primitives = 0, pixels = 0, clears = 0, targets = 0;
    size_t unmeasured = 0;
    for (const DrawRecord& record : records) {
      draws += record.DrawCount();
      primitives += record.PrimitiveCount();
      targets += record.targets.size();
      for (const DrawRecordEvent& e : record.events) {
        clears += e.kind == DrawRecordEvent::kClear;
        if (e.kind != DrawRecordEvent::kDraw) continue;
        if (e.pixels >= 0)
          pixels += e.pixels;
        else
          ++unmeasured;
      }
    }
    const double n = static_cast<double>(records.size());
    char pixelText[64];
    std::snprintf(pixelText, sizeof pixelText, unmeasured ? "%.0f (%zu draws unmeasured)" : "%.0f", pixels / n,
                  unmeasured);
    std::printf("| run %d | %.1f | %.1f | %.2f | %.1f | %.0f | %.0f | %s | %.0f | %.0f |\n", r + 1, sceneMs.back(),
                bareMs.back(), ratios.back(), callsMs.back(), draws / n, primitives / n, pixelText, clears / n,
                targets / n);
    std::fflush(stdout);
  }
  if (sceneMs.empty()) return rc ? rc : 1;
  std::printf("| median | %.1f | %.1f | %.2f | %.1f | | | | | |\n", MedianOf(sceneMs), MedianOf(bareMs),
              MedianOf(ratios), MedianOf(callsMs));
  std::printf("\nFigures: %zu run(s), each with its own recorded frames; the scene is the default configuration in a debug-mode window at "
              "%dx%d (median of the once-a-second \"frame stats\" lines over about 15 s after settling); the bare "
              "loop issues the draw calls of three frames of that run (2 s apart, just after), recorded by the "
              "program, each in turn, in the same order on a "
              "device of the same size in this process (same primitive types and counts, vertex counts, index "
              "sizes, strides, shader versions, texture counts, blending, depth tests, render-target switches and "
              "clears; dummy buffers whose triangles cover the pixels each call drew, spread over the target; trivial shaders), presenting "
              "each frame, frames per second counted over whole seconds of about 15 s, median; the same loop once more "
              "with triangles of no area shows the calls alone; draw calls, primitives, pixels, clears and render "
              "targets are per recorded frame, averaged. Target: ratio at most 1.3.\n",
              sceneMs.size(), kSceneWidth, kSceneHeight);
  return rc;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: program_run --startup N | --switches N | --resets N | --mixed N | --bare-switches N | "
                "--bare-resets N | --bare-mixed N | --minutes M | --camera M | --fish N1,N2,... | --where N | --replay N\n");
    return 2;
  }
  for (const auto& bare : {std::make_pair("--bare-switches", Trip::Switch), std::make_pair("--bare-resets", Trip::Reset),
                           std::make_pair("--bare-mixed", Trip::Mixed)})
    if (std::strcmp(argv[1], bare.first) == 0) return BareCycles(std::atoi(argv[2]), bare.second);
  const std::string dir = MakeTempDir("qvrun");
  if (!CopyDist(dir)) {
    std::printf("cannot copy the distributable folder\n");
    return 2;
  }
  ClearLog();
  // Start-up is timed in the default configuration, whose log is off: with
  // it on, every line of the set-up opens and closes the log file.
  if (std::strcmp(argv[1], "--startup") == 0) {
    const int rc = Startup(dir, std::atoi(argv[2]));
    RemoveTree(dir);
    return rc;
  }
  // The other runs read their figures from the log.
  WritePrivateProfileStringA("Display", "DebugLogLevel", "2", (dir + "qelvar.ini").c_str());
  if (std::strcmp(argv[1], "--where") == 0) {
    const int rc = WhereTimeGoes(dir, std::max(1, std::atoi(argv[2])));
    RemoveTree(dir);
    return rc;
  }
  if (std::strcmp(argv[1], "--replay") == 0) {
    const int rc = OwnOverhead(dir, std::max(1, std::atoi(argv[2])));
    RemoveTree(dir);
    return rc;
  }
  if (std::strcmp(argv[1], "--fish") == 0) {
    const int rc = FishScene(dir, argv[2]);
    RemoveTree(dir);
    return rc;
  }
  if (std::strcmp(argv[1], "--camera") == 0) {
    const int rc = CameraTravel(dir, std::max(1, std::atoi(argv[2])));
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
    rc = Cycles(window, program.Handle(), n, Trip::Switch);
  else if (std::strcmp(argv[1], "--resets") == 0)
    rc = Cycles(window, program.Handle(), n, Trip::Reset);
  else if (std::strcmp(argv[1], "--mixed") == 0)
    rc = Cycles(window, program.Handle(), n, Trip::Mixed);
  else
    rc = Minutes(window, program.Handle(), dir, n);
  PostMessageA(window, WM_CLOSE, 0, 0);
  const bool ended = program.Wait(60000);
  std::printf("closed: %s, exit code %lu, LastError.txt: %s\n", ended ? "yes" : "no",
              ended ? static_cast<unsigned long>(program.ExitCode()) : 0ul,
              FileExists(dir + "LastError.txt") ? "written" : "none");
  if (!ended) program.Kill();
  RemoveTree(dir);
  return ended && program.ExitCode() == 0 ? rc : 1;
}
