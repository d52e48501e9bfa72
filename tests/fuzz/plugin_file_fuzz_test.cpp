// Broken plug-in files in the ai and model folders: the shipped libraries cut
// short, with damaged records, or not libraries at all. The lists load what
// is sound, log the rest and never take a damaged record that reads outside
// its library.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "FuzzText.h"
#include "LogTestSupport.h"
#include "TestSupport.h"
#include "diagnostics/Diagnostics.h"
#include "pluginlists/X2AIList.h"
#include "pluginlists/X2CoralList.h"
#include "pluginlists/X2FishList.h"

using namespace qvtest;
using fuzz::Rng;

namespace {

struct Source {
  std::string file;       // in the dist folder
  std::string extension;  // what the copies are called
  const char* exportName;
  size_t recordSize;
  std::vector<uint8_t> bytes;
  size_t recordOffset = 0;  // in the file
};

// The file offset of the record the library hands out.
size_t RecordFileOffset(const std::string& path, const char* exportName) {
  HMODULE m = LoadLibraryA(path.c_str());
  if (!m) return 0;
  FARPROC entry = GetProcAddress(m, exportName);
  const void* record = entry ? reinterpret_cast<void* (*)(void*, void*)>(entry)(nullptr, nullptr) : nullptr;
  size_t offset = 0;
  if (record) {
    const auto* base = reinterpret_cast<const unsigned char*>(m);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const size_t rva = static_cast<const unsigned char*>(record) - base;
    const IMAGE_SECTION_HEADER* s = IMAGE_FIRST_SECTION(nt);
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++s)
      if (rva >= s->VirtualAddress && rva < s->VirtualAddress + s->SizeOfRawData)
        offset = s->PointerToRawData + (rva - s->VirtualAddress);
  }
  FreeLibrary(m);
  return offset;
}

class PluginFileFuzz : public ::testing::Test {
 protected:
  void SetUp() override {
    savedFolder_ = GetProgramFolder();
    folder_ = MakeTempDir("qvplugfuzz");
    SetProgramFolder(folder_.c_str());
    CreateDirectoryA((folder_ + "ai").c_str(), nullptr);
    CreateDirectoryA((folder_ + "model").c_str(), nullptr);
    ClearLog();
    SetDebugLogLevel(1);
  }
  void TearDown() override {
    SetDebugLogLevel(0);
    SetProgramFolder(savedFolder_.c_str());
    RemoveTree(folder_);
  }
  std::string savedFolder_, folder_;
};

TEST_F(PluginFileFuzz, ListsSurviveCutAndDamagedLibraries) {
  const char* fishExport = "?GetFishData@@YAPAUX2FishData@@PBD0@Z";
  const char* aiExport = "?GetAIData@@YAPAUX2AIData@@PAD0@Z";
  std::vector<Source> sources = {
      {"ai\\PurselAI.qva", "qva", aiExport, sizeof(X2AIData), {}},
      {"model\\vassop.qvf", "qvf", fishExport, sizeof(X2FishData), {}},
      {"model\\Calvesh.qvc", "qvc", fishExport, sizeof(X2FishData), {}},
  };
  for (Source& s : sources) {
    s.bytes = ReadFileBytes(DistDir() + s.file);
    ASSERT_FALSE(s.bytes.empty()) << s.file;
    s.recordOffset = RecordFileOffset(DistDir() + s.file, s.exportName);
    ASSERT_GT(s.recordOffset, 0u) << s.file;
  }

  Rng rng(fuzz::kSeed + 30);
  int files = 0, sound = 0;
  for (int round = 0; round < 40; ++round) {
    for (int n = 0; n < 6; ++n, ++files) {
      const Source& s = sources[static_cast<size_t>(rng.Below(static_cast<int>(sources.size())))];
      std::vector<uint8_t> bytes = s.bytes;
      switch (rng.Below(4)) {
        case 0:  // cut short
          bytes.resize(static_cast<size_t>(rng.Below(static_cast<int>(bytes.size()))));
          break;
        case 1:  // text where a library should be
          bytes.assign(static_cast<size_t>(rng.Between(0, 300)), static_cast<uint8_t>('A' + rng.Below(26)));
          break;
        default:  // damaged record bytes
          for (int k = rng.Between(1, 12); k > 0; --k) {
            const size_t at = s.recordOffset + static_cast<size_t>(rng.Below(static_cast<int>(s.recordSize)));
            bytes[at] = static_cast<uint8_t>(rng.Chance(30) ? 0xFF : rng.Below(256));
          }
          break;
      }
      const std::string sub = s.extension == "qva" ? "ai\\" : "model\\";
      const std::string name = folder_ + sub + "f" + std::to_string(files) + "." + s.extension;
      ASSERT_TRUE(WriteFileBytes(name, bytes.data(), bytes.size()));
    }
    {
      X2AIList ai;
      X2FishList fish;
      X2CoralList coral;
      sound += ai.Count() + coral.Count();
      ASSERT_LE(ai.Count(), 6);
      ASSERT_LE(coral.Count(), 6);
    }
    for (const char* pattern : {"ai\\*", "model\\*"}) {
      WIN32_FIND_DATAA found;
      HANDLE find = FindFirstFileA((folder_ + pattern).c_str(), &found);
      if (find == INVALID_HANDLE_VALUE) continue;
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          DeleteFileA((folder_ + std::string(pattern, 0, std::string(pattern).size() - 1) + found.cFileName).c_str());
      } while (FindNextFileA(find, &found));
      FindClose(find);
    }
    DeleteFileA(kLogFilePath);
  }
  std::printf("%d damaged plug-in files, %d records taken\n", files, sound);
}

}  // namespace
