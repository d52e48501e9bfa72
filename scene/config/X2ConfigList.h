#pragma once
// Base of the five configuration lists: entries kept in order (the list owns
// them) and the folder of the list's ini files. The files are Windows
// private-profile files in that folder; the file name given to Load or Save
// may carry a sub-folder ("\\preset\\2\\FlockConfig.ini").
#include <memory>
#include <string>
#include <vector>

#include "X2ConfigEntry.h"

class X2ConfigList {
 public:
  static constexpr int kMaxEntries = 100;
  // Strings read from the files are cut to this many bytes.
  static constexpr int kTextSize = 260;

  X2ConfigList() = default;
  X2ConfigList(const X2ConfigList&) = delete;
  X2ConfigList& operator=(const X2ConfigList&) = delete;
  virtual ~X2ConfigList() = default;

  // Removes entry i (nothing when i is not an entry); later entries move up.
  virtual void RemoveAt(int index);
  virtual void Clear();

  void SetFolder(const char* folder);
  const std::string& Folder() const { return folder_; }
  // First entry whose name equals key, ignoring the case of ASCII letters
  // (double-byte characters compared exactly); null when none.
  X2ConfigEntry* Find(const char* key) const;
  // Appends an entry named key; returns its index.
  int AddEntry(const char* key, int enable);

  int Count() const { return static_cast<int>(entries_.size()); }
  // Null outside the list.
  X2ConfigEntry* Entry(int index) const;

  // folder + "\\" + file, one separator between them, bounded to MAX_PATH.
  std::string PathOf(const char* file) const;

 protected:
  // Appends an empty entry and returns it.
  X2ConfigEntry* Append();

  std::vector<std::unique_ptr<X2ConfigEntry>> entries_;
  std::string folder_;
};

// Private-profile reads and writes of the configuration files.
namespace configini {
// fallback when the key is missing, or (logged) when its value does not start
// with a number.
int ReadInt(const std::string& path, const char* section, const char* key, int fallback);
// Cut to X2ConfigList::kTextSize - 1 bytes.
std::string ReadText(const std::string& path, const char* section, const char* key);
bool WriteText(const std::string& path, const char* section, const char* key, const char* value);
bool WriteInt(const std::string& path, const char* section, const char* key, int value);
// value clamped into [low, high], logging "<what> <value> out of range" when
// it was outside.
int Clamp(int value, int low, int high, const char* what);
}  // namespace configini
