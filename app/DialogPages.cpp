#include "DialogPages.h"

SettingsDialogState& TheSettingsDialog() {
  static SettingsDialogState state;
  return state;
}

namespace pagectl {

void FillCombo(HWND page, int id, const ChoiceList& items, int select) {
  HWND combo = GetDlgItem(page, id);
  if (!combo) return;
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (const ChoiceItem& item : items) {
    LRESULT at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.text.c_str()));
    if (at >= 0) SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), item.data);
  }
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(select), 0);
}

bool SelectedData(HWND page, int id, LPARAM* data) {
  LRESULT at = SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0);
  if (at == CB_ERR) return false;
  *data = SendDlgItemMessageA(page, id, CB_GETITEMDATA, static_cast<WPARAM>(at), 0);
  return *data != CB_ERR;
}

bool FirstData(HWND page, int id, LPARAM* data) {
  if (SendDlgItemMessageA(page, id, CB_GETCOUNT, 0, 0) <= 0) return false;
  *data = SendDlgItemMessageA(page, id, CB_GETITEMDATA, 0, 0);
  return *data != CB_ERR;
}

bool SelectData(HWND page, int id, LPARAM data) {
  LRESULT count = SendDlgItemMessageA(page, id, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    if (SendDlgItemMessageA(page, id, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == data) {
      SendDlgItemMessageA(page, id, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      return true;
    }
  }
  SendDlgItemMessageA(page, id, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  return false;
}

void PostSelChange(HWND page, int id) {
  PostMessageA(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

int ListRow(HWND page, int id) {
  LRESULT row = SendDlgItemMessageA(page, id, LB_GETCURSEL, 0, 0);
  return row == LB_ERR ? -1 : static_cast<int>(row);
}

void SetListRow(HWND page, int id, int row, const std::string& text) {
  HWND list = GetDlgItem(page, id);
  if (!list || row < 0 || row >= SendMessageA(list, LB_GETCOUNT, 0, 0)) return;
  const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
  SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void SetListTabs(HWND page, int id, const int* stops, int count, int extentPixels) {
  SendDlgItemMessageA(page, id, LB_SETTABSTOPS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(stops));
  SendDlgItemMessageA(page, id, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extentPixels), 0);
}

void Enable(HWND page, int id, bool on) {
  if (HWND control = GetDlgItem(page, id)) EnableWindow(control, on ? TRUE : FALSE);
}

}  // namespace pagectl
