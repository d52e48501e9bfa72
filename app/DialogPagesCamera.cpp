// The camera page: two identical halves, the camera-position rotation
// ("Source") and the look-at rotation ("Target"), each a list of camera AIs
// with their parameters and a change interval; and the human camera.
#include "ConfigEditing.h"
#include "DialogPages.h"
#include "HostCallbacks.h"
#include "resource.h"
#include "Settings.h"
#include "SettingsDialog.h"
#include "config/X2CameraConfig.h"
#include "diagnostics/Diagnostics.h"
#include "pluginlists/X2CameraAIList.h"

namespace {

const char* const kIntervalLabels[X2CameraConfig::kChangeTimeCount] = {"10sec", "20sec", "30sec", "1 min",
                                                                       "3 min", "5 min", "10min"};
const int kCameraTabStops[] = {15, 50, 90};
// Rows past this index are never acted on.
constexpr int kLastCameraRow = 100;

struct CameraHalf {
  int list, ai, add, remove, param, interval;
  X2CameraConfig* Config() const;
  X2CameraAIList* AIs() const;
};

const CameraHalf kHalves[2] = {
    {IDC_SOURCE_LIST, IDC_SOURCE_AI, IDC_SOURCE_ADD, IDC_SOURCE_DELETE, IDC_SOURCE_PARAM, IDC_SOURCE_INTERVAL},
    {IDC_TARGET_LIST, IDC_TARGET_AI, IDC_TARGET_ADD, IDC_TARGET_DELETE, IDC_TARGET_PARAM, IDC_TARGET_INTERVAL},
};

X2CameraConfig* CameraHalf::Config() const {
  return this == &kHalves[0] ? TheSourceCameraConfig : TheTargetCameraConfig;
}
X2CameraAIList* CameraHalf::AIs() const {
  return this == &kHalves[0] ? TheSourceCameraAIList : TheTargetCameraAIList;
}

X2ConfigEntry* SelectedCamera(HWND page, const CameraHalf& half) {
  const int row = pagectl::ListRow(page, half.list);
  if (row > kLastCameraRow || !half.Config()) return nullptr;
  return half.Config()->Entry(row);
}

const X2AIData* SelectedAI(HWND page, const CameraHalf& half) {
  LPARAM index;
  if (!half.AIs() || !pagectl::SelectedData(page, half.ai, &index)) return nullptr;
  return half.AIs()->Get(static_cast<int>(index));
}

void EnableParameter(HWND page, const CameraHalf& half) {
  const X2AIData* ai = SelectedAI(page, half);
  pagectl::Enable(page, half.param, ai && ai->Configure);
}

void RedrawRows(HWND page, const CameraHalf& half) {
  SendDlgItemMessageA(page, half.list, LB_RESETCONTENT, 0, 0);
  for (int i = 0; half.Config() && i < half.Config()->Count(); ++i) {
    const std::string row = CameraRowText(i, *half.Config()->Entry(i));
    LogPrint("Init Camera Dialog:%s\n", row.c_str());
    SendDlgItemMessageA(page, half.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
  }
}

void RewriteSelectedRow(HWND page, const CameraHalf& half) {
  const int row = pagectl::ListRow(page, half.list);
  if (const X2ConfigEntry* entry = SelectedCamera(page, half))
    pagectl::SetListRow(page, half.list, row, CameraRowText(row, *entry));
}

void CameraSelected(HWND page, const CameraHalf& half) {
  const int row = pagectl::ListRow(page, half.list);
  const X2ConfigEntry* entry = SelectedCamera(page, half);
  if (entry) {
    LogPrint("Selected %d camera.\n", row);
    LogPrint("Search %s.\n", entry->AI() ? entry->AI() : "");
    const int index = half.AIs() ? half.AIs()->Find(entry->AI()) : -1;
    if (index < 0 || !pagectl::SelectData(page, half.ai, index)) LogPrint("KWEX no AI ID\n");
  }
  EnableParameter(page, half);
}

void AIChosen(HWND page, const CameraHalf& half) {
  if (ChooseEntryAI(SelectedCamera(page, half), SelectedAI(page, half), false, GetHostCallbacks(), 0))
    RewriteSelectedRow(page, half);
  EnableParameter(page, half);
}

void EditParameter(HWND page, const CameraHalf& half) {
  X2ConfigEntry* entry = SelectedCamera(page, half);
  if (!entry || !half.AIs()) return;
  const int index = half.AIs()->Find(entry->AI());
  if (index < 0) {
    LogPrint("KWEX no AI ID\n");
    return;
  }
  if (EditEntryParam(entry, half.AIs()->Get(index), half.AIs()->Module(index), pagectl::ListRow(page, half.list),
                     GetHostCallbacks(), 0))
    RewriteSelectedRow(page, half);
}

void AddCamera(HWND page, const CameraHalf& half) {
  const X2AIData* ai = SelectedAI(page, half);
  LPARAM first;
  if (!ai && half.AIs() && pagectl::FirstData(page, half.ai, &first)) ai = half.AIs()->Get(static_cast<int>(first));
  const int row = AddCameraEntry(half.Config(), ai);
  RedrawRows(page, half);
  SendDlgItemMessageA(page, half.list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  EnableParameter(page, half);
}

void DeleteCamera(HWND page, const CameraHalf& half) {
  const int row = pagectl::ListRow(page, half.list);
  if (!SelectedCamera(page, half)) return;
  half.Config()->RemoveAt(row);
  RedrawRows(page, half);
  SendDlgItemMessageA(page, half.list, LB_SETCURSEL,
                      static_cast<WPARAM>(RowAfterDelete(row, half.Config()->Count())), 0);
  CameraSelected(page, half);
}

void IntervalChosen(HWND page, const CameraHalf& half) {
  LRESULT at = SendDlgItemMessageA(page, half.interval, CB_GETCURSEL, 0, 0);
  if (half.Config() && at >= 0 && at < X2CameraConfig::kChangeTimeCount)
    half.Config()->changeTimeIndex = static_cast<int>(at);
}

void InitHalf(HWND page, const CameraHalf& half) {
  pagectl::SetListTabs(page, half.list, kCameraTabStops, 3, 0);
  RedrawRows(page, half);
  SendDlgItemMessageA(page, half.list, LB_SETCURSEL, 0, 0);
  ChoiceList ais;
  for (int i = 0; half.AIs() && i < half.AIs()->Count(); ++i) ais.push_back({RecordNameOf(half.AIs()->Header(i)), i});
  pagectl::FillCombo(page, half.ai, ais, -1);
  CameraSelected(page, half);
  ChoiceList intervals;
  for (int i = 0; i < X2CameraConfig::kChangeTimeCount; ++i) intervals.push_back({kIntervalLabels[i], i});
  pagectl::FillCombo(page, half.interval, intervals, half.Config() ? half.Config()->changeTimeIndex : -1);
}

// The half a control belongs to, or null.
const CameraHalf* HalfOf(int id) {
  for (const CameraHalf& half : kHalves)
    if (id == half.list || id == half.ai || id == half.add || id == half.remove || id == half.param ||
        id == half.interval)
      return &half;
  return nullptr;
}

}  // namespace

void RefreshCameraLists(HWND page) {
  for (const CameraHalf& half : kHalves) {
    InitHalf(page, half);
    EnableParameter(page, half);
  }
}

void InitCameraPage(HWND page) {
  RefreshCameraLists(page);
  SettingsToDialog(page);
}

INT_PTR CALLBACK CameraPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitCameraPage(page);
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      LogPrint("Command hi:0x%X lo:%d lparam 0x%X\n", code, id, static_cast<unsigned>(lParam));
      if (const CameraHalf* half = HalfOf(id)) {
        if (id == half->list && code == LBN_SELCHANGE) CameraSelected(page, *half);
        if (id == half->ai && code == CBN_SELCHANGE) AIChosen(page, *half);
        if (id == half->interval && code == CBN_SELCHANGE) IntervalChosen(page, *half);
        if (id == half->param && code == BN_CLICKED) EditParameter(page, *half);
        if (id == half->add && code == BN_CLICKED) AddCamera(page, *half);
        if (id == half->remove && code == BN_CLICKED) DeleteCamera(page, *half);
      } else if (id == IDC_HUMAN_CAMERA_SETUP) {
        if (code == BN_CLICKED) ShowHumanCameraDialog(TheSettingsDialog().instance, GetAncestor(page, GA_ROOT));
      } else {
        SettingsFromDialog(page);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}
