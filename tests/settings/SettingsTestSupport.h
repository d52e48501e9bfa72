#pragma once
// Shared by the settings tests: a temporary program folder and log capture.
#include <windows.h>

#include <string>

#include "LogTestSupport.h"
#include "TestSupport.h"
#include "diagnostics/Diagnostics.h"

namespace settingstest {

// Makes a fresh program folder for the duration of a test and turns the log
// on so that the test can read what was logged.
class ProgramFolderFixture {
 public:
  explicit ProgramFolderFixture(const char* tag) {
    folder_ = qvtest::MakeTempDir(tag);
    saved_ = GetProgramFolder();
    SetProgramFolder(folder_.c_str());
    qvtest::ClearLog();
    SetDebugLogLevel(1);
  }
  ~ProgramFolderFixture() {
    SetDebugLogLevel(0);
    DeleteFileA(kLogFilePath);
    SetProgramFolder(saved_.c_str());
    qvtest::RemoveTree(folder_);
  }
  const std::string& Folder() const { return folder_; }
  std::string Ini() const { return folder_ + "qelvar.ini"; }
  static std::string Log() { return qvtest::ReadLog(); }
  static void ClearLog() { DeleteFileA(kLogFilePath); }

 private:
  std::string folder_;
  std::string saved_;
};

inline std::string ReadIni(const std::string& file, const char* key, const char* section = "system") {
  char text[512];
  GetPrivateProfileStringA(section, key, "<missing>", text, sizeof text, file.c_str());
  return text;
}

}  // namespace settingstest
