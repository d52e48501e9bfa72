#pragma once
// The six pages of the settings dialog: their procedures, the refreshes the
// presets page and the tab switch run, and the small control helpers they
// share. The pages only move values between their controls and the editing
// rules (ConfigEditing.h, DeviceChoices.h), the settings tables and the
// configuration lists.
#include <windows.h>

#include <string>

#include "DeviceChoices.h"

// Pages in tab order.
enum SettingsPageIndex {
  kPageDevice = 0,
  kPageFlock,
  kPageWorld,
  kPageCamera,
  kPageCoral,
  kPagePreset,
  kPageCount,
};

// The one open settings dialog: its module and its page windows.
struct SettingsDialogState {
  HINSTANCE instance = nullptr;
  HWND dialog = nullptr;
  HWND pages[kPageCount] = {};
};
SettingsDialogState& TheSettingsDialog();

INT_PTR CALLBACK DevicePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK FlockPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK WorldPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CameraPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CoralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PresetPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Page (re)fills, from the tables and lists as they are now.
void DialogInitFlock(HWND page);
void InitWorldPage(HWND page);
void InitCoralPage(HWND page);
void InitCameraPage(HWND page);
// Both camera lists afresh (a flock deletion may have rewritten camera
// parameters).
void RefreshCameraLists(HWND page);

// Control helpers.
namespace pagectl {
// Refills a combo box (item data from the list) and selects `select`
// (nothing for -1).
void FillCombo(HWND page, int id, const ChoiceList& items, int select);
// The data of the combo's selected item; false when nothing is selected.
bool SelectedData(HWND page, int id, LPARAM* data);
// The data of the combo's first item; false for an empty combo.
bool FirstData(HWND page, int id, LPARAM* data);
// Selects the first item carrying `data`; false (nothing selected) when none does.
bool SelectData(HWND page, int id, LPARAM data);
// Posts CBN_SELCHANGE of the combo to the page, as a user's choice would.
void PostSelChange(HWND page, int id);
// The list box's selected row, -1 for none.
int ListRow(HWND page, int id);
// Replaces row `row` of a list box with `text`, keeping the selection.
void SetListRow(HWND page, int id, int row, const std::string& text);
// Sets dialog-unit tab stops and the horizontal extent of a list box.
void SetListTabs(HWND page, int id, const int* stops, int count, int extentPixels);
void Enable(HWND page, int id, bool on);
}  // namespace pagectl
