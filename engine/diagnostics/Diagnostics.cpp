#include "Diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

const char* const kLogFilePath = "c:\\log\\orvexlog.txt";
const char* const kLastErrorFileName = "LastError.txt";
const char* const kReporterFileName = "Wexnote.exe";

namespace {

constexpr size_t kTextSize = 1024;   // 1023 characters and a terminator
constexpr int kWrapColumn = 80;

int g_debugLogLevel = 0;
char g_programFolder[MAX_PATH] = "";
int g_debugColumn = 0;

}  // namespace

int FormatBounded(char* buffer, size_t size, const char* format, va_list args) {
  if (!buffer || size == 0) return 0;
  if (!format) {
    buffer[0] = '\0';
    return 0;
  }
  int n = vsnprintf(buffer, size, format, args);
  buffer[size - 1] = '\0';
  if (n < 0) {
    buffer[0] = '\0';
    return 0;
  }
  return n < static_cast<int>(size) ? n : static_cast<int>(size) - 1;
}

int FormatBoundedV(char* buffer, size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = FormatBounded(buffer, size, format, args);
  va_end(args);
  return n;
}

int GetDebugLogLevel() { return g_debugLogLevel; }
void SetDebugLogLevel(int level) { g_debugLogLevel = level; }

const char* GetProgramFolder() {
  if (g_programFolder[0] == '\0') {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return g_programFolder;
    char* slash = strrchr(path, '\\');
    if (slash) slash[1] = '\0';
    SetProgramFolder(path);
  }
  return g_programFolder;
}

void SetProgramFolder(const char* folder) {
  if (!folder) folder = "";
  size_t n = strlen(folder);
  // Keep room for the trailing backslash.
  if (n > MAX_PATH - 2) n = MAX_PATH - 2;
  memcpy(g_programFolder, folder, n);
  if (n > 0 && folder[n - 1] != '\\' && folder[n - 1] != '/') g_programFolder[n++] = '\\';
  g_programFolder[n] = '\0';
}

int LogPrint(const char* format, ...) {
  // Called from per-frame paths too: nothing is formatted while the log is off.
  if (g_debugLogLevel <= 0) return 0;
  char text[kTextSize];
  va_list args;
  va_start(args, format);
  FormatBounded(text, sizeof text, format, args);
  va_end(args);
  LogFileWrite("%s", text);
  return 0;
}

int LogFileWrite(const char* format, ...) {
  char text[kTextSize];
  va_list args;
  va_start(args, format);
  FormatBounded(text, sizeof text, format, args);
  va_end(args);

  char date[16];
  char time[16];
  _strdate(date);
  _strtime(time);
  char line[kTextSize];
  int length = FormatBoundedV(line, sizeof line, "[%s:%s] %s", date, time, text);

  int fd = _open(kLogFilePath, _O_WRONLY | _O_APPEND | _O_TEXT, _S_IREAD | _S_IWRITE);
  if (fd < 0)
    fd = _open(kLogFilePath, _O_WRONLY | _O_APPEND | _O_TEXT | _O_CREAT, _S_IREAD | _S_IWRITE);
  if (fd < 0) return 0;
  _write(fd, line, length);
  _close(fd);
  return 0;
}

int DebugPrint(int level, const char* format, ...) {
  if (g_debugLogLevel < level) return 0;
  char text[kTextSize];
  va_list args;
  va_start(args, format);
  int length = FormatBounded(text, sizeof text, format, args);
  va_end(args);
  OutputDebugStringA(text);
  g_debugColumn += length;
  if (g_debugColumn > kWrapColumn) {
    OutputDebugStringA("\n");
    g_debugColumn = 0;
  }
  if (level == 1) Sleep(100);
  return 0;
}

const char* LastErrorFixedText() {
  return "Video メモリ不足で起動できませんでした。\n"
         "以下の設定がMemoryを消費しますので設定変更してみて下さい。\n"
         "または、設定ダイアログ：設定：最小構成 を選択してみて下さい。\n"
         "\n"
         "幻覚効果->OFF\n"
         "魚->減らす\n"
         "Twinfin Technology->OFF\n"
         "\n";
}

void FormatFatalLine(char* out, size_t size, const char* sourceFile, int line,
                     const char* timeStamp, HRESULT code) {
  FormatBoundedV(out, size, "Fatal Error:%s:%d - %s:%X\n", sourceFile ? sourceFile : "",
                 line, timeStamp ? timeStamp : "", static_cast<unsigned>(code));
}

namespace {

// Starts the reporter at `path` with no arguments. The program is named
// apart from the command line, so a folder name with blanks cannot make
// another program start in its place.
void StartReporter(const char* path) {
  char commandLine[MAX_PATH + 3];
  FormatBoundedV(commandLine, sizeof commandLine, "\"%s\"", path);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process{};
  if (CreateProcessA(path, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace

int FatalCheck(const char* sourceFile, int line, const char* timeStamp, HRESULT code) {
  if (code == 0) return 0;

  char fatalLine[268];
  FormatFatalLine(fatalLine, sizeof fatalLine, sourceFile, line, timeStamp, code);
  DebugPrint(1, "%s", fatalLine);
  OutputDebugStringA(fatalLine);

  const char* folder = GetProgramFolder();
  char path[MAX_PATH];
  FormatBoundedV(path, sizeof path, "%s%s", folder, kLastErrorFileName);
  if (FILE* file = fopen(path, "w")) {
    fputs(LastErrorFixedText(), file);
    fputs(fatalLine, file);
    fclose(file);
  }

  FormatBoundedV(path, sizeof path, "%s%s", folder, kReporterFileName);
  StartReporter(path);
  exit(1);
}
