#pragma once
// A list of plug-in records with the library each came from. Each concrete
// list names its folder, file pattern, export and record kind, scans its
// folder once when it is made, and unloads its libraries when it is deleted.
#include <windows.h>

#include <vector>

#include "X2ModuleImage.h"
#include "X2PluginAbi.h"

class X2PluginList {
 public:
  X2PluginList() = default;
  X2PluginList(const X2PluginList&) = delete;
  X2PluginList& operator=(const X2PluginList&) = delete;

  // Loads one library and appends its accepted records.
  virtual void Load(const char* path);
  // Loads every file of SubFolder() matching Pattern() in the program folder.
  virtual void Scan();
  virtual const char* SubFolder() const = 0;   // "\\ai\\" or "\\model\\"
  virtual const char* Pattern() const = 0;     // "*.qva" and so on
  virtual const char* ExportName() const = 0;  // decorated export name
  virtual int Kind() const = 0;                // X2_KIND_AI or X2_KIND_FISH
  // Frees every library the list holds, each once.
  virtual ~X2PluginList();

  void Append(const X2RecordHeader* record, HMODULE module);

  int Count() const { return static_cast<int>(records_.size()); }
  const X2RecordHeader* Header(int index) const;
  HMODULE Module(int index) const;

  // Index of the first record whose key matches, or -1.
  int Find(const char* key) const;
  const X2RecordHeader* GetHeader(const char* key) const;
  // Library of the record with this key; 0 when unknown or built in.
  HMODULE GetModule(const char* key) const;

 protected:
  // Size of one record of this list's kind.
  size_t RecordSize() const;
  // The format version this list reads at most.
  unsigned FormatLimit() const;
  // Loads the library and calls its export once; null (library released)
  // when either fails or the export hands back nothing.
  const X2RecordHeader* OpenLibrary(const char* path, HMODULE* module, X2ModuleImage* image);
  // The tests one record passes before it is listed; logs and returns false
  // when the rest of the library must not be read (wrong kind, too new).
  bool AcceptKindAndVersion(const X2RecordHeader* record, const char* path) const;
  // Soundness of a record for this list's use; null when sound.
  virtual const char* CheckRecord(const X2RecordHeader* record, const X2ModuleImage& image) const;
  // Releases a library none of whose records was listed.
  void ReleaseIfUnused(HMODULE module);

  std::vector<const X2RecordHeader*> records_;
  std::vector<HMODULE> modules_;
};
