#pragma once
// A table of settings items stored under [system] of qelvar.ini (or of one of
// the preset copies), exchanged with the settings dialog pages.
#include <windows.h>

#include <cstddef>

#include "C4SettingItem.h"

class C4SettingTable {
 public:
  static constexpr int kCapacity = 100;

  // The ini file of preset 0 (the main file) or 1..3 (the preset copies) in
  // the program folder; any other preset number names the main file.
  static void BuildFileName(int preset, char* out, size_t size);

  void Clear() { count_ = 0; }
  // Copies the items of a source table ended by an item with a null name.
  // Items past the capacity are refused (logged); returns false then.
  bool Append(const C4SettingItem* source);

  // Reads every item with a control from [system] of the preset's file; the
  // current value is the default. A value that is not a number or that the
  // item cannot hold keeps the current value and is logged.
  void Load(int preset);
  void LoadFile(const char* file);
  // Writes every item with a control to [system] of the main file, as signed
  // decimal text. Items without a control are never written.
  void Save() const;
  void SaveFile(const char* file) const;

  // Pushes the values into the controls found on the page (missing controls
  // are logged), and reads them back (missing controls are skipped).
  void ToDialog(HWND page) const;
  void FromDialog(HWND page);

  int Count() const { return count_; }
  // Null when pos is not a position of the table.
  const C4SettingItem* Item(int pos) const;
  // 0 when pos is not a position of the table.
  int Value(int pos) const;
  // Ignored (and logged) when pos is not a position of the table.
  void SetValue(int pos, int value);

 private:
  int count_ = 0;
  C4SettingItem items_[kCapacity] = {};
};
