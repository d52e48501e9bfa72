// Stand-in for the few Windows types the pure parsers' headers name, so that
// they build on the host with the sanitizers (tools/fuzz-native.sh). Only
// what those headers and X2ModuleImage.cpp need; nothing here is called.
#pragma once
#include <stdint.h>

#define MAX_PATH 260
#define WINAPI
typedef int BOOL;
typedef int32_t LONG;
typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef void* LPVOID;
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;

#define IMAGE_DOS_SIGNATURE 0x5A4D
#define IMAGE_NT_SIGNATURE 0x00004550
#define IMAGE_NT_OPTIONAL_HDR_MAGIC 0x20B
typedef struct {
  WORD e_magic;
  WORD e_unused[29];
  LONG e_lfanew;
} IMAGE_DOS_HEADER;
typedef struct {
  WORD Magic;
  DWORD SizeOfImage;
} IMAGE_OPTIONAL_HEADER;
typedef struct {
  DWORD Signature;
  IMAGE_OPTIONAL_HEADER OptionalHeader;
} IMAGE_NT_HEADERS;
