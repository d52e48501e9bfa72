// The world page (scenery switches and which structures stand), the coral
// page (density and which coral species grow) and the presets page.
#include "ConfigEditing.h"
#include "DialogPages.h"
#include "resource.h"
#include "Settings.h"
#include "config/X2CoralConfig.h"
#include "config/X2StructureConfig.h"
#include "diagnostics/Diagnostics.h"

namespace {

const int kEnableTabStop[] = {15};
constexpr int kEnableListExtent = 400;

void FillEnableList(HWND page, int id, const X2ConfigList* list) {
  pagectl::SetListTabs(page, id, kEnableTabStop, 1, kEnableListExtent);
  SendDlgItemMessageA(page, id, LB_RESETCONTENT, 0, 0);
  for (int i = 0; list && i < list->Count(); ++i)
    SendDlgItemMessageA(page, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(EnableRowText(*list->Entry(i)).c_str()));
}

// A click on a row switches that entry on or off; the row is rewritten and
// the selection cleared, so the next click on it toggles again.
void ToggleSelected(HWND page, int id, X2ConfigList* list) {
  const int row = pagectl::ListRow(page, id);
  if (X2ConfigEntry* entry = list ? list->Entry(row) : nullptr) {
    entry->enable = entry->enable ? 0 : 1;
    pagectl::SetListRow(page, id, row, EnableRowText(*entry));
  }
  SendDlgItemMessageA(page, id, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

// The sky is drawn only above a sea surface.
void ApplySkyRule(HWND page) { pagectl::Enable(page, IDC_SKYDOME, GetSceneSetting(kSceneSeaface) != 0); }

void LogCommand(WPARAM wParam, LPARAM lParam) {
  LogPrint("Command hi:0x%X lo:%d lparam 0x%X\n", HIWORD(wParam), LOWORD(wParam), static_cast<unsigned>(lParam));
}

void RefreshAllPages() {
  const SettingsDialogState& dialog = TheSettingsDialog();
  if (HWND page = dialog.pages[kPageDevice]) SettingsToDialog(page);
  if (HWND page = dialog.pages[kPageFlock]) DialogInitFlock(page);
  if (HWND page = dialog.pages[kPageWorld]) InitWorldPage(page);
  if (HWND page = dialog.pages[kPageCamera]) InitCameraPage(page);
  if (HWND page = dialog.pages[kPageCoral]) InitCoralPage(page);
}

}  // namespace

void InitWorldPage(HWND page) {
  FillEnableList(page, IDC_STRUCTURE_LIST, TheStructureConfig);
  SettingsToDialog(page);
  ApplySkyRule(page);
}

void InitCoralPage(HWND page) {
  FillEnableList(page, IDC_CORAL_LIST, TheCoralConfig);
  SettingsToDialog(page);
}

INT_PTR CALLBACK WorldPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitWorldPage(page);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_STRUCTURE_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
        ToggleSelected(page, IDC_STRUCTURE_LIST, TheStructureConfig);
      } else {
        SettingsFromDialog(page);
        ApplySkyRule(page);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK CoralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitCoralPage(page);
      return TRUE;
    case WM_COMMAND:
      LogCommand(wParam, lParam);
      if (LOWORD(wParam) == IDC_CORAL_LIST && HIWORD(wParam) == LBN_SELCHANGE)
        ToggleSelected(page, IDC_CORAL_LIST, TheCoralConfig);
      else
        SettingsFromDialog(page);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK PresetPageProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message != WM_COMMAND) return FALSE;
  LogCommand(wParam, lParam);
  if (HIWORD(wParam) != BN_CLICKED) return TRUE;
  int preset = 0;
  switch (LOWORD(wParam)) {
    case IDC_PRESET_LIGHT: preset = 1; break;
    case IDC_PRESET_STANDARD: preset = 2; break;
    case IDC_PRESET_HEAVY: preset = 3; break;
    default: return TRUE;
  }
  LogPrint("Preset%d\n", preset);
  // Only memory changes: OK writes the loaded preset to the main files.
  if (LoadPreset(preset)) RefreshAllPages();
  return TRUE;
}
