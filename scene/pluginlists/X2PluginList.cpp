#include "X2PluginList.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "X2PluginKey.h"
#include "X2RecordCheck.h"
#include "diagnostics/Diagnostics.h"
#include "fish/C5PartialMorph.h"

namespace {

// Appends src to a path of at most MAX_PATH - 1 characters; false when it
// does not fit (a cut path would name some other file).
bool AppendPath(char* path, const char* src) {
  size_t used = std::strlen(path);
  size_t add = std::strlen(src);
  if (used + add >= MAX_PATH) return false;
  std::memcpy(path + used, src, add + 1);
  return true;
}

}  // namespace

X2PluginList::~X2PluginList() {
  std::vector<HMODULE> loaded;
  for (HMODULE m : modules_)
    if (m && std::find(loaded.begin(), loaded.end(), m) == loaded.end()) loaded.push_back(m);
  for (HMODULE m : loaded) {
    // Species data converted in place is gone with its library; a later load
    // of the same file (maybe at the same address) starts unconverted.
    // Only once the library is really gone: another holder keeps its data.
    X2ModuleImage image;
    const bool known = image.Attach(m);
    FreeLibrary(m);
    HMODULE still = nullptr;
    const void* begin = reinterpret_cast<const void*>(image.Begin());
    if (known && !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                     static_cast<const char*>(begin), &still))
      C5PartialMorph::ForgetConversions(begin, image.Size());
  }
  records_.clear();
  modules_.clear();
}

void X2PluginList::Append(const X2RecordHeader* record, HMODULE module) {
  modules_.push_back(module);
  records_.push_back(record);
}

const X2RecordHeader* X2PluginList::Header(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return records_[index];
}

HMODULE X2PluginList::Module(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return modules_[index];
}

int X2PluginList::Find(const char* key) const {
  if (!key) return -1;
  std::string query = X2LowerKey(std::string(key));
  char recordKey[X2_NAME_SIZE];
  for (size_t i = 0; i < records_.size(); ++i) {
    X2BuildKey(records_[i], recordKey, sizeof(recordKey));
    if (query == recordKey) return static_cast<int>(i);
  }
  return -1;
}

const X2RecordHeader* X2PluginList::GetHeader(const char* key) const {
  return Header(Find(key));
}

HMODULE X2PluginList::GetModule(const char* key) const {
  return Module(Find(key));
}

void X2PluginList::Scan() {
  const char* folder = GetProgramFolder();
  // The folder and sub-folder lead both the search and every file's path.
  char prefix[MAX_PATH] = "";
  char search[MAX_PATH] = "";
  if (!AppendPath(prefix, folder) || !AppendPath(prefix, SubFolder()) || !AppendPath(search, prefix) ||
      !AppendPath(search, Pattern())) {
    LogPrint("LOAD Data : Path Too Long %s\n", folder);
    return;
  }
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA(search, &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    LogPrint("Found Module:%s\n", found.cFileName);
    char path[MAX_PATH] = "";
    if (!AppendPath(path, prefix) || !AppendPath(path, found.cFileName)) {
      LogPrint("LOAD Data : Path Too Long %s\n", found.cFileName);
      continue;
    }
    Load(path);
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

size_t X2PluginList::RecordSize() const {
  return Kind() == X2_KIND_AI ? sizeof(X2AIData) : sizeof(X2FishData);
}

unsigned X2PluginList::FormatLimit() const {
  return Kind() == X2_KIND_AI ? X2_AI_FORMAT_MAX : X2_FISH_FORMAT_MAX;
}

const X2RecordHeader* X2PluginList::OpenLibrary(const char* path, HMODULE* module,
                                                X2ModuleImage* image) {
  *module = nullptr;
  HMODULE m = LoadLibraryA(path);
  if (!m) return nullptr;
  FARPROC entry = GetProcAddress(m, ExportName());
  if (!entry || !image->Attach(m)) {
    FreeLibrary(m);
    return nullptr;
  }
  // Both exports take two text pointers and are called with nulls.
  const X2RecordHeader* first = nullptr;
  if (Kind() == X2_KIND_AI) {
    X2AIData* data = reinterpret_cast<X2GetAIDataFn>(reinterpret_cast<void*>(entry))(nullptr, nullptr);
    first = data ? &data->header : nullptr;
  } else {
    X2FishData* data =
        reinterpret_cast<X2GetFishDataFn>(reinterpret_cast<void*>(entry))(nullptr, nullptr);
    first = data ? &data->header : nullptr;
  }
  if (!first) {
    FreeLibrary(m);
    return nullptr;
  }
  *module = m;
  return first;
}

bool X2PluginList::AcceptKindAndVersion(const X2RecordHeader* record, const char* path) const {
  if ((record->version & X2_KIND_MASK) != static_cast<uint32_t>(Kind())) {
    LogPrint("LOAD Data : Not Data %s\n", path);
    return false;
  }
  if ((record->version & X2_FORMAT_MASK) > FormatLimit()) {
    LogPrint("LOAD Fish Data : Over Kernel Support %s\n", path);
    return false;
  }
  return true;
}

const char* X2PluginList::CheckRecord(const X2RecordHeader* record,
                                      const X2ModuleImage& image) const {
  // The header is the first member of both record types.
  if (Kind() == X2_KIND_AI)
    return X2CheckAIRecord(reinterpret_cast<const X2AIData*>(record), image);
  return X2CheckFishRecord(reinterpret_cast<const X2FishData*>(record), image);
}

void X2PluginList::ReleaseIfUnused(HMODULE module) {
  if (module && std::find(modules_.begin(), modules_.end(), module) == modules_.end())
    FreeLibrary(module);
}

// Chained rule: every record of the library, following nextOffset, until the
// last one or the first of a wrong kind or too new a format. The walk never
// leaves the library's image; a record that fails its checks is skipped.
void X2PluginList::Load(const char* path) {
  HMODULE module;
  X2ModuleImage image;
  const X2RecordHeader* record = OpenLibrary(path, &module, &image);
  if (!record) return;
  const size_t size = RecordSize();
  if (!image.Contains(record, size)) {
    LogPrint("LOAD Data : Record Outside Module %s\n", path);
    record = nullptr;
  }
  while (record) {
    if (!image.Contains(record, size) || reinterpret_cast<uintptr_t>(record) % 4 != 0) {
      LogPrint("LOAD Data : Broken Chain %s\n", path);
      break;
    }
    if (!AcceptKindAndVersion(record, path)) break;
    if (const char* why = CheckRecord(record, image))
      LogPrint("LOAD Data : Bad Record %s : %s\n", path, why);
    else
      Append(record, module);
    uint16_t next = record->nextOffset;
    if (next == 0) break;
    if (next < size) {  // the next record would overlap this one
      LogPrint("LOAD Data : Broken Chain %s\n", path);
      break;
    }
    record = reinterpret_cast<const X2RecordHeader*>(reinterpret_cast<const char*>(record) + next);
  }
  ReleaseIfUnused(module);
}
