#pragma once
// The debug log (c:\log\orvexlog.txt) read by the tests that check what the
// product logs. Header only: the tests that include it link the engine.
#include <windows.h>

#include <algorithm>
#include <string>

#include "TestSupport.h"
#include "diagnostics/Diagnostics.h"

namespace qvtest {

// The debug log as it stands.
inline std::string ReadLog() { return ReadFileText(kLogFilePath); }

// Waits until `needle` shows in the log at or after `from`; its position,
// or npos when timeoutMs passed first.
inline size_t WaitForLog(const std::string& needle, size_t from = 0, DWORD timeoutMs = kProgramWaitMs) {
  size_t at = std::string::npos;
  WaitUntil(
      [&] {
        const std::string log = ReadLog();
        at = from <= log.size() ? log.find(needle, from) : std::string::npos;
        return at != std::string::npos;
      },
      timeoutMs);
  return at;
}

// What `run` appends to the log with the debug log level set to `level`
// (0 again afterwards).
template <typename Run>
inline std::string LoggedAtLevel(int level, Run run) {
  CreateDirectoryA("c:\\log", nullptr);
  const size_t before = ReadLog().size();
  SetDebugLogLevel(level);
  run();
  SetDebugLogLevel(0);
  const std::string log = ReadLog();
  return log.substr(std::min(before, log.size()));
}

// An empty log folder for the run to come.
inline void ClearLog() {
  CreateDirectoryA("c:\\log", nullptr);
  DeleteFileA(kLogFilePath);
}

}  // namespace qvtest
