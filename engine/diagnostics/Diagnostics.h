#pragma once
// Logging, debugger output and the fatal-error road.
//
// The application object feeds the debug level and the program folder through
// SetDebugLogLevel / SetProgramFolder; before it exists the level is 0 and the
// program folder is the folder of the running executable.
#include <windows.h>

#include <cstdarg>
#include <cstddef>

// Fixed locations.
extern const char* const kLogFilePath;       // c:\log\orvexlog.txt
extern const char* const kLastErrorFileName; // LastError.txt
extern const char* const kReporterFileName;  // Wexnote.exe

int  GetDebugLogLevel();
void SetDebugLogLevel(int level);
// The program folder, always ending in a backslash.
const char* GetProgramFolder();
void SetProgramFolder(const char* folder);

// printf-style; when DebugLogLevel is above 0 the text is formatted (cut at
// 1023 characters) and appended to the log file. Returns 0.
int LogPrint(const char* format, ...);
// Appends "[MM/DD/YY:HH:MM:SS] text" to the log file; lost silently when the
// folder is missing. Returns 0.
int LogFileWrite(const char* format, ...);
// Debugger output when DebugLogLevel >= level, wrapped after 80 columns.
int DebugPrint(int level, const char* format, ...);

// Returns 0 for code 0. Any other code (S_FALSE included) writes
// LastError.txt in the program folder, starts the error reporter and ends
// the process with exit code 1.
int FatalCheck(const char* sourceFile, int line, const char* timeStamp, HRESULT code);

#ifndef __FILE_NAME__
#define __FILE_NAME__ __FILE__
#endif
// Passes the source file, line and build time with a device result.
#define FATAL_CHECK(code) FatalCheck(__FILE_NAME__, __LINE__, __TIME__, (code))

// Shared by the diagnostics and callers that format into fixed buffers:
// vsnprintf that always terminates and never overruns (size >= 1).
int FormatBounded(char* buffer, size_t size, const char* format, va_list args);
int FormatBoundedV(char* buffer, size_t size, const char* format, ...);

// The fixed Shift-JIS text that heads LastError.txt (lines end in "\n").
const char* LastErrorFixedText();
// Builds the fatal line "Fatal Error:%s:%d - %s:%X\n" into out (268 bytes).
void FormatFatalLine(char* out, size_t size, const char* sourceFile, int line,
                     const char* timeStamp, HRESULT code);
