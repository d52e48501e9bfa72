// Stands in for Wexnote.exe: leaves "started.txt" beside itself.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  char* slash = strrchr(path, '\\');
  if (slash) strcpy(slash + 1, "started.txt");
  if (FILE* f = fopen(path, "w")) {
    fputs(GetCommandLineA(), f);
    fclose(f);
  }
  return 0;
}
