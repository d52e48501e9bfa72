#include "TestSupport.h"

#include <cstdio>

namespace qvtest {

namespace {

std::string WithBackslash(std::string path) {
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path;
}

}  // namespace

std::string UnixToWindowsPath(const std::string& unixPath) {
  std::string out = "Z:" + unixPath;
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

std::string DistDir() { return WithBackslash(UnixToWindowsPath(QV_DIST_DIR_UNIX)); }
std::string TestBinDir() { return WithBackslash(UnixToWindowsPath(QV_TEST_BIN_DIR_UNIX)); }
std::string SourceDir() { return WithBackslash(UnixToWindowsPath(QV_SOURCE_DIR_UNIX)); }

std::string MakeTempDir(const std::string& tag) {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static unsigned counter = 0;
  for (;;) {
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%sqv_%s_%lu_%u", base, tag.c_str(), GetCurrentProcessId(),
             ++counter);
    if (CreateDirectoryA(name, nullptr)) return WithBackslash(name);
    if (GetLastError() != ERROR_ALREADY_EXISTS) return WithBackslash(name);
  }
}

void RemoveTree(const std::string& folder) {
  std::string dir = WithBackslash(folder);
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(dir + name);
      else
        DeleteFileA((dir + name).c_str());
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    uint8_t buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
  }
  return bytes;
}

std::string ReadFileText(const std::string& path) {
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

bool WriteFileBytes(const std::string& path, const void* data, size_t size) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(data, 1, size, f) == size;
  return fclose(f) == 0 && ok;
}

bool WriteFileText(const std::string& path, const std::string& text) {
  return WriteFileBytes(path, text.data(), text.size());
}

bool CopyFileTo(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

ChildProcess::~ChildProcess() {
  if (info_.hProcess) {
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
}

namespace {
int g_programsStarted = 0;
}  // namespace

int ProgramsStarted() { return g_programsStarted; }

bool ChildProcess::Start(const std::string& commandLine, const std::string& workingDir) {
  ++g_programsStarted;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info_) != 0;
}

bool ChildProcess::Wait(DWORD timeoutMs) {
  if (!info_.hProcess) return false;
  // Messages are answered while waiting: the child may be sending to one of
  // this thread's windows (an owner, a parent) and wait for the reply.
  DWORD start = GetTickCount();
  for (;;) {
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0;
    DWORD r = MsgWaitForMultipleObjects(1, &info_.hProcess, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) return true;
    if (r != WAIT_OBJECT_0 + 1) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (info_.hProcess) GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void ChildProcess::Kill() {
  if (info_.hProcess) TerminateProcess(info_.hProcess, 99);
}

long RunProcess(const std::string& commandLine, const std::string& workingDir, DWORD timeoutMs) {
  ChildProcess child;
  if (!child.Start(commandLine, workingDir)) return -1;
  if (!child.Wait(timeoutMs)) return -1;
  return static_cast<long>(child.ExitCode());
}

namespace {
struct WindowQuery {
  const char* caption;
  const char* className;
  DWORD pid;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
  auto* q = reinterpret_cast<WindowQuery*>(param);
  char text[256] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  if (q->caption && strcmp(text, q->caption) != 0) return TRUE;
  if (q->className) {
    char cls[256] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strcmp(cls, q->className) != 0) return TRUE;
  }
  if (q->pid) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != q->pid) return TRUE;
  }
  q->found = hwnd;
  return FALSE;
}
}  // namespace

HWND WaitForWindow(const char* caption, const char* className, DWORD pid, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    WindowQuery q{caption, className, pid, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&q));
    if (q.found) return q.found;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    // Keep this thread's windows answering: a program that makes one of them
    // its owner sends them messages and waits for the replies.
    PumpMessages(50);
  }
}

void PumpMessages(DWORD ms) {
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    PumpMessages(50);
  }
  return true;
}

bool WaitForFileSize(const std::string& path, size_t size, DWORD timeoutMs) {
  return WaitUntil([&] { return ReadFileBytes(path).size() == size; }, timeoutMs);
}

int CountOf(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

}  // namespace qvtest
