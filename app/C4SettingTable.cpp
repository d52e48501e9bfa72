#include "C4SettingTable.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "diagnostics/Diagnostics.h"

namespace {

const char kSection[] = "system";
const char kIniName[] = "qelvar.ini";
// Returned by GetPrivateProfileStringA for a missing key; no ini value is a
// lone control character.
const char kMissing[] = "\x01";

// A whole ini value as a signed decimal int (blanks around it allowed).
bool ParseIniInteger(const char* text, int* out) {
  while (*text == ' ' || *text == '\t') ++text;
  if (*text == '\0') return false;
  char* end = nullptr;
  errno = 0;
  long long v = strtoll(text, &end, 10);
  if (end == text || errno == ERANGE) return false;
  while (*end == ' ' || *end == '\t' || *end == '\r' || *end == '\n') ++end;
  if (*end != '\0') return false;
  if (v < INT_MIN || v > INT_MAX) return false;
  *out = static_cast<int>(v);
  return true;
}

bool FileExists(const char* path) {
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void C4SettingTable::BuildFileName(int preset, char* out, size_t size) {
  if (!out || size == 0) return;
  const char* folder = GetProgramFolder();
  size_t n = strlen(folder);
  const char* separator = n == 0 || (folder[n - 1] != '\\' && folder[n - 1] != '/') ? "\\" : "";
  if (preset >= 1 && preset <= 3)
    FormatBoundedV(out, size, "%s%spreset\\%d\\%s", folder, separator, preset, kIniName);
  else
    FormatBoundedV(out, size, "%s%s%s", folder, separator, kIniName);
}

bool C4SettingTable::Append(const C4SettingItem* source) {
  if (!source) return true;
  for (; source->name; ++source) {
    if (count_ >= kCapacity) {
      LogPrint("SettingTable: more than %d items, %s and later refused\n", kCapacity, source->name);
      return false;
    }
    items_[count_++] = *source;
  }
  return true;
}

void C4SettingTable::Load(int preset) {
  char file[MAX_PATH];
  BuildFileName(preset, file, sizeof file);
  LoadFile(file);
}

void C4SettingTable::LoadFile(const char* file) {
  if (!FileExists(file)) {
    LogPrint("Settings: %s not found, defaults used\n", file);
    return;
  }
  for (int i = 0; i < count_; ++i) {
    C4SettingItem& item = items_[i];
    if (item.controlId == 0) continue;
    char text[256];
    DWORD length = GetPrivateProfileStringA(kSection, item.name, kMissing, text, sizeof text, file);
    if (strcmp(text, kMissing) == 0) {
      LogPrint("Settings: %s missing, default %d\n", item.name, item.value);
      continue;
    }
    int v = 0;
    // A value that filled the buffer was cut and is no number either.
    if (length >= sizeof text - 1 || !ParseIniInteger(text, &v)) {
      LogPrint("Settings: %s=\"%s\" is not a number, default %d\n", item.name, text, item.value);
      continue;
    }
    if (!item.Accepts(v)) {
      LogPrint("Settings: %s=%d out of range, default %d\n", item.name, v, item.value);
      continue;
    }
    item.value = v;
  }
}

void C4SettingTable::Save() const {
  char file[MAX_PATH];
  BuildFileName(0, file, sizeof file);
  SaveFile(file);
}

void C4SettingTable::SaveFile(const char* file) const {
  for (int i = 0; i < count_; ++i) {
    const C4SettingItem& item = items_[i];
    if (item.controlId == 0) continue;
    char text[16];
    FormatBoundedV(text, sizeof text, "%d", item.value);
    WritePrivateProfileStringA(kSection, item.name, text, file);
  }
}

void C4SettingTable::ToDialog(HWND page) const {
  for (int i = 0; i < count_; ++i) {
    const C4SettingItem& item = items_[i];
    if (item.controlId == 0) continue;
    HWND control = GetDlgItem(page, item.controlId);
    if (!control) {
      LogPrint("No Dlg Item %s\n", item.name);
      continue;
    }
    char text[16];
    switch (item.controlType) {
      case kSettingDecimal:
        FormatBoundedV(text, sizeof text, "%u", static_cast<unsigned>(item.value));
        SetWindowTextA(control, text);
        break;
      case kSettingHex:
        FormatBoundedV(text, sizeof text, "%x", static_cast<unsigned>(item.value));
        SetWindowTextA(control, text);
        break;
      case kSettingChoice: {
        SendMessageA(control, CB_RESETCONTENT, 0, 0);
        int labels = item.LabelCount();
        for (int k = 0; k < labels; ++k) {
          LRESULT at = SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.labels[k]));
          if (at >= 0) SendMessageA(control, CB_SETITEMDATA, at, k);
        }
        // Select the entry that carries the value's label position (none
        // when the value names no label).
        WPARAM select = static_cast<WPARAM>(-1);
        LRESULT entries = SendMessageA(control, CB_GETCOUNT, 0, 0);
        for (LRESULT k = 0; k < entries; ++k) {
          if (SendMessageA(control, CB_GETITEMDATA, k, 0) == item.value) {
            select = static_cast<WPARAM>(k);
            break;
          }
        }
        SendMessageA(control, CB_SETCURSEL, select, 0);
        break;
      }
      case kSettingCheck:
        SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(item.value), 0);
        break;
      default:
        break;
    }
  }
}

void C4SettingTable::FromDialog(HWND page) {
  for (int i = 0; i < count_; ++i) {
    C4SettingItem& item = items_[i];
    if (item.controlId == 0) continue;
    HWND control = GetDlgItem(page, item.controlId);
    if (!control) continue;
    char text[257];
    switch (item.controlType) {
      case kSettingDecimal:
      case kSettingHex:
        text[0] = '\0';
        GetWindowTextA(control, text, sizeof text);
        item.value = static_cast<int>(
            strtoul(text, nullptr, item.controlType == kSettingHex ? 16 : 10));
        break;
      case kSettingChoice: {
        // No selection keeps the value; so does an entry that is no label.
        LRESULT at = SendMessageA(control, CB_GETCURSEL, 0, 0);
        if (at == CB_ERR) break;
        LRESULT pos = SendMessageA(control, CB_GETITEMDATA, at, 0);
        if (pos == CB_ERR || !item.Accepts(static_cast<int>(pos))) break;
        item.value = static_cast<int>(pos);
        break;
      }
      case kSettingCheck:
        item.value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
        break;
      default:
        break;
    }
  }
}

const C4SettingItem* C4SettingTable::Item(int pos) const {
  return pos >= 0 && pos < count_ ? &items_[pos] : nullptr;
}

int C4SettingTable::Value(int pos) const {
  const C4SettingItem* item = Item(pos);
  return item ? item->value : 0;
}

void C4SettingTable::SetValue(int pos, int value) {
  if (pos < 0 || pos >= count_) {
    LogPrint("Settings: no item at %d\n", pos);
    return;
  }
  items_[pos].value = value;
}
