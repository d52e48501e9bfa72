#pragma once
// Test helpers that run inside Wine: folders, files, child processes, windows.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qvtest {

// Windows paths of the build's folders (Wine's drive Z: is the Unix root).
std::string DistDir();      // the distributable folder, ends in a backslash
std::string TestBinDir();   // where the test programs live, ends in a backslash
std::string SourceDir();    // the source tree, ends in a backslash
std::string UnixToWindowsPath(const std::string& unixPath);

// A fresh, empty folder under %TEMP% named after `tag`; ends in a backslash.
std::string MakeTempDir(const std::string& tag);
void RemoveTree(const std::string& folder);

bool FileExists(const std::string& path);
std::vector<uint8_t> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);  // empty when it cannot be read
bool WriteFileBytes(const std::string& path, const void* data, size_t size);
bool WriteFileText(const std::string& path, const std::string& text);
bool CopyFileTo(const std::string& from, const std::string& to);

// A started child process; the destructor kills it if it is still running.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Start(const std::string& commandLine, const std::string& workingDir = "");
  // Waits up to timeoutMs; returns true when the process ended.
  bool Wait(DWORD timeoutMs);
  DWORD ExitCode() const;
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
};

// How many programs ChildProcess has started in this test program so far.
int ProgramsStarted();

// Runs a command line to its end; returns its exit code, or -1 when it could
// not start or did not end within timeoutMs (it is killed then).
long RunProcess(const std::string& commandLine, const std::string& workingDir, DWORD timeoutMs);

// The first top-level window with this caption (and class, when given) that
// belongs to process `pid` (any process when 0), waiting up to timeoutMs.
HWND WaitForWindow(const char* caption, const char* className, DWORD pid, DWORD timeoutMs);

// How long a test waits for a started program to reach a point (its log
// line, a window, a saved file): the whole scene's first frames under a
// software renderer on a busy machine take their time.
constexpr DWORD kProgramWaitMs = 120000;

// Pumps this thread's messages for `ms` milliseconds.
void PumpMessages(DWORD ms);

// Pumps this thread's messages until done() holds; false when timeoutMs
// passed first.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Waits until the file holds exactly `size` bytes (one being written shows
// smaller sizes first).
bool WaitForFileSize(const std::string& path, size_t size, DWORD timeoutMs = kProgramWaitMs);

// How many times `needle` occurs in `text` (overlaps counted).
int CountOf(const std::string& text, const std::string& needle);

}  // namespace qvtest
