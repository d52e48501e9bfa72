#include "SettingsDialog.h"

#include <commctrl.h>

#include "CommandLine.h"
#include "DialogPages.h"
#include "resource.h"
#include "Settings.h"
#include "config/X2CameraConfig.h"
#include "config/X2CoralConfig.h"
#include "config/X2FlockConfig.h"
#include "config/X2StructureConfig.h"
#include "diagnostics/Diagnostics.h"

const HumanCameraSlider kHumanCameraSliders[3] = {
    {5, 20, IDC_STABILITY, kSceneCameraAIStability},
    {1, 40, IDC_TRACKABILITY, kSceneCameraAITrackability},
    {1, 20, IDC_MAX_ZOOM, kSceneCameraMaxZoom},
};

namespace {

struct PageTab {
  const char* text;
  DLGPROC procedure;
  int templateId;
};

// In tab order; indexed as SettingsPageIndex.
const PageTab kPageTabs[kPageCount] = {
    {"デバイス", DevicePageProc, IDD_PAGE_DEVICE}, {"魚群", FlockPageProc, IDD_PAGE_FLOCK},
    {"世界", WorldPageProc, IDD_PAGE_WORLD},       {"カメラ", CameraPageProc, IDD_PAGE_CAMERA},
    {"サンゴ", CoralPageProc, IDD_PAGE_CORAL},     {"PRESET", PresetPageProc, IDD_PAGE_PRESET},
};

void ShowPage(int shown) {
  SettingsDialogState& state = TheSettingsDialog();
  HWND focus = GetFocus();
  for (int i = 0; i < kPageCount; ++i) {
    if (!state.pages[i] || i == shown) continue;
    ShowWindow(state.pages[i], SW_HIDE);
    // The keyboard focus never stays on a hidden page.
    if (focus && IsChild(state.pages[i], focus)) SetFocus(GetDlgItem(state.dialog, IDC_TABS));
  }
  if (shown >= 0 && shown < kPageCount && state.pages[shown]) ShowWindow(state.pages[shown], SW_SHOW);
}

void CreatePages(HWND dialog) {
  SettingsDialogState& state = TheSettingsDialog();
  state.dialog = dialog;
  HWND tabs = GetDlgItem(dialog, IDC_TABS);
  if (!tabs) return;
  for (int i = 0; i < kPageCount; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kPageTabs[i].text);
    SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  RECT area;
  GetClientRect(tabs, &area);
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  for (int i = 0; i < kPageCount; ++i) {
    HWND page = CreateDialogParamA(state.instance, MAKEINTRESOURCEA(kPageTabs[i].templateId), tabs,
                                   kPageTabs[i].procedure, 0);
    if (!page) {
      LogPrint("settings page %d not created (%lu)\n", i, static_cast<unsigned long>(GetLastError()));
      continue;
    }
    state.pages[i] = page;
    SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowPage(kPageDevice);
}

// Every file the dialog edits, in this order.
void SaveEverything() {
  if (TheStructureConfig) TheStructureConfig->Save("StructureConfig.ini");
  if (TheFlockConfig) TheFlockConfig->Save("flockConfig.ini");
  if (TheCoralConfig) TheCoralConfig->Save("CoralConfig.ini");
  SaveSettings();
  if (TheSourceCameraConfig) TheSourceCameraConfig->Save("CameraConfig.ini");
  if (TheTargetCameraConfig) TheTargetCameraConfig->Save("CameraConfig.ini");
}

}  // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreatePages(dialog);
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (!header || header->idFrom != IDC_TABS || header->code != TCN_SELCHANGE) return FALSE;
      const int shown = static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0));
      if (shown == kPageCamera && TheSettingsDialog().pages[kPageCamera])
        RefreshCameraLists(TheSettingsDialog().pages[kPageCamera]);
      ShowPage(shown);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          EndDialog(dialog, IDOK);
          SaveEverything();
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

int ShowSettingsDialog(HINSTANCE instance, HWND owner) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  SettingsDialogState& state = TheSettingsDialog();
  state = SettingsDialogState();
  state.instance = instance;
  const INT_PTR result =
      DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETTINGS), owner, SettingsDialogProc, 0);
  if (result == -1) LogPrint("settings dialog failed (%lu)\n", static_cast<unsigned long>(GetLastError()));
  state = SettingsDialogState();
  return static_cast<int>(result);
}

HWND SettingsDialogOwner(const CommandLineChoice& choice) {
  if (choice.hasParent) {
    HWND named = reinterpret_cast<HWND>(choice.parent);
    if (IsWindow(named)) return named;
    LogPrint("configure: %llu is no window\n", static_cast<unsigned long long>(choice.parent));
  }
  return GetForegroundWindow();
}

INT_PTR CALLBACK HumanCameraDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      for (const HumanCameraSlider& slider : kHumanCameraSliders) {
        SendDlgItemMessageA(dialog, slider.control, TBM_SETRANGE, TRUE, MAKELPARAM(slider.minimum, slider.maximum));
        SendDlgItemMessageA(dialog, slider.control, TBM_SETPOS, TRUE, GetSceneSetting(slider.setting));
      }
      return TRUE;
    case WM_COMMAND:
      LogPrint("Command hi:0x%X lo:%d lparam 0x%X\n", HIWORD(wParam), LOWORD(wParam), static_cast<unsigned>(lParam));
      switch (LOWORD(wParam)) {
        case IDOK:
          EndDialog(dialog, IDOK);
          for (int i = 0; i < 3; ++i) {
            const HumanCameraSlider& slider = kHumanCameraSliders[i];
            const int position = static_cast<int>(SendDlgItemMessageA(dialog, slider.control, TBM_GETPOS, 0, 0));
            LogPrint("Slider1:%d-%d\n", i, position);
            SetSceneSetting(slider.setting, position);
          }
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        case IDC_STABILITY:
          LogPrint("%d\n", HIWORD(wParam));
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

int ShowHumanCameraDialog(HINSTANCE instance, HWND owner) {
  LogPrint("config parameter hwnd-%X:hInst-%X\n", static_cast<unsigned>(reinterpret_cast<uintptr_t>(owner)),
           static_cast<unsigned>(reinterpret_cast<uintptr_t>(instance)));
  return static_cast<int>(
      DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_HUMAN_CAMERA), owner, HumanCameraDialogProc, 0));
}
