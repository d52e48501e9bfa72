// The device page: the full-screen adapter, device type, adapter format,
// resolution and refresh rate, and the rendering switches of the settings
// tables. The five combo boxes form a chain: each choice refills the next
// box, and a selection made here is posted as that box's CBN_SELCHANGE, so
// the next step runs from the same dialog loop.
#include "DialogPages.h"

#include "MyApplication.h"
#include "resource.h"
#include "Settings.h"
#include "diagnostics/Diagnostics.h"

namespace {

DisplaySettings* FullscreenSettings() { return TheApp ? &TheApp->Settings() : nullptr; }
C3DeviceEnum* Enumeration() { return TheApp ? &TheApp->Enumeration() : nullptr; }

// Fills a chain box and, when something got selected, runs its step next.
void FillChain(HWND page, int id, const ChoiceList& items, LPARAM preferred) {
  const int select = PreferredChoice(items, preferred);
  pagectl::FillCombo(page, id, items, select);
  if (select >= 0) pagectl::PostSelChange(page, id);
}

C3AdapterInfo* ChosenAdapter(HWND page) {
  LPARAM ordinal;
  if (!Enumeration() || !pagectl::SelectedData(page, IDC_ADAPTER, &ordinal)) return nullptr;
  return FindAdapter(*Enumeration(), static_cast<UINT>(ordinal));
}

void AdapterChanged(HWND page) {
  DisplaySettings* settings = FullscreenSettings();
  C3AdapterInfo* adapter = ChosenAdapter(page);
  if (!settings || !adapter) return;
  LogPrint("%s\n", adapter->AdapterIdentifier.Description);
  const LPARAM type = settings->fullscreenDeviceInfo ? settings->fullscreenDeviceInfo->DevType : -1;
  FillChain(page, IDC_DEVICE, DeviceTypeChoices(adapter), type);
}

void DeviceChanged(HWND page) {
  DisplaySettings* settings = FullscreenSettings();
  C3AdapterInfo* adapter = ChosenAdapter(page);
  LPARAM type;
  if (!settings || !adapter || !pagectl::SelectedData(page, IDC_DEVICE, &type)) return;
  C3DeviceInfo* device = FindDeviceInfo(adapter, static_cast<D3DDEVTYPE>(type));
  if (!device) return;
  const bool dual = DeviceHasDualView(device);
  pagectl::Enable(page, IDC_DUAL_VIEW, dual);
  pagectl::Enable(page, IDC_DUAL_VIEW_SWAP, dual);
  StoreFullscreenDevice(settings, adapter, device);
  FillChain(page, IDC_ADAPTER_FORMAT, AdapterFormatChoices(device), settings->fullscreenDisplayMode.Format);
  pagectl::Enable(page, IDC_ADAPTER_FORMAT, true);
  pagectl::Enable(page, IDC_RESOLUTION, true);
  pagectl::Enable(page, IDC_REFRESH, true);
}

void AdapterFormatChanged(HWND page) {
  DisplaySettings* settings = FullscreenSettings();
  LPARAM format;
  if (!settings || !pagectl::SelectedData(page, IDC_ADAPTER_FORMAT, &format)) return;
  StoreFullscreenFormat(settings, static_cast<D3DFORMAT>(format));
  const D3DDISPLAYMODE& mode = settings->fullscreenDisplayMode;
  FillChain(page, IDC_RESOLUTION, ResolutionChoices(settings->fullscreenAdapterInfo, mode.Format),
            ResolutionData(mode.Width, mode.Height));
}

void ResolutionChanged(HWND page) {
  DisplaySettings* settings = FullscreenSettings();
  LPARAM resolution;
  if (!settings || !pagectl::SelectedData(page, IDC_RESOLUTION, &resolution)) return;
  StoreFullscreenResolution(settings, resolution);
  const D3DDISPLAYMODE& mode = settings->fullscreenDisplayMode;
  FillChain(page, IDC_REFRESH, RefreshChoices(settings->fullscreenAdapterInfo, mode.Format, mode.Width, mode.Height),
            mode.RefreshRate);
}

void RefreshRateChanged(HWND page) {
  DisplaySettings* settings = FullscreenSettings();
  LPARAM rate = 0;
  if (!pagectl::SelectedData(page, IDC_REFRESH, &rate)) rate = 0;
  StoreFullscreenRefresh(settings, static_cast<UINT>(rate));
}

void InitDevicePage(HWND page) {
  LogPrint("DialogInitDevice\n");
  DisplaySettings* settings = FullscreenSettings();
  const ChoiceList adapters = Enumeration() ? AdapterChoices(*Enumeration()) : ChoiceList();
  const LPARAM wanted =
      settings && settings->fullscreenAdapterInfo ? settings->fullscreenAdapterInfo->AdapterOrdinal : -1;
  int select = -1;
  for (size_t i = 0; i < adapters.size(); ++i)
    if (adapters[i].data == wanted) select = static_cast<int>(i);
  pagectl::FillCombo(page, IDC_ADAPTER, adapters, select);
  SettingsToDialog(page);
  if (select < 0 && !adapters.empty()) {
    select = 0;
    SendDlgItemMessageA(page, IDC_ADAPTER, CB_SETCURSEL, 0, 0);
  }
  if (select >= 0) pagectl::PostSelChange(page, IDC_ADAPTER);
}

}  // namespace

INT_PTR CALLBACK DevicePageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitDevicePage(page);
      return TRUE;
    case WM_COMMAND:
      OutputDebugStringA("DialogUpdateDevice\n");
      if (HIWORD(wParam) == CBN_SELCHANGE) {
        switch (LOWORD(wParam)) {
          case IDC_ADAPTER:
            LogPrint("AdapterChanged\n");
            AdapterChanged(page);
            break;
          case IDC_DEVICE:
            LogPrint("DeviceChanged\n");
            DeviceChanged(page);
            break;
          case IDC_ADAPTER_FORMAT:
            LogPrint("AdapterFormatChanged\n");
            AdapterFormatChanged(page);
            break;
          case IDC_RESOLUTION:
            LogPrint("ResolutionChanged\n");
            ResolutionChanged(page);
            break;
          case IDC_REFRESH:
            LogPrint("RefreshRateChanged\n");
            RefreshRateChanged(page);
            break;
          default:
            break;
        }
      }
      SettingsFromDialog(page);
      return TRUE;
    default:
      return FALSE;
  }
}
