// Binding of the parameter table to the controls of a configuration dialog.
#include <cstdio>
#include <cstdlib>

#include "X2Host.h"
#include "X2ParamTable.h"

void X2ParamTable::ToDialog(HWND dialog, const X2Host& host) const {
  for (int k = 0; k < count_; ++k) {
    const X2ParamDesc& d = descs_[k];
    if (!d.control) continue;
    HWND item = GetDlgItem(dialog, d.control);
    if (!item) {
      host.Log("No Dlg Item\n");
      continue;
    }
    char text[32];
    switch (d.kind) {
      case kParamDecimal:
        std::snprintf(text, sizeof text, "%d", d.value);
        SetWindowTextA(item, text);
        break;
      case kParamHex:
        std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(d.value));
        SetWindowTextA(item, text);
        break;
      case kParamChoice:
        SendMessageA(item, CB_RESETCONTENT, 0, 0);
        for (int i = 0; i < 10 && d.choices[i]; ++i) {
          LRESULT at = SendMessageA(item, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d.choices[i]));
          if (at >= 0) SendMessageA(item, CB_SETITEMDATA, static_cast<WPARAM>(at), i);
        }
        for (LRESULT n = SendMessageA(item, CB_GETCOUNT, 0, 0), i = 0; i < n; ++i) {
          if (SendMessageA(item, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == d.value) {
            SendMessageA(item, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            break;
          }
        }
        break;
      case kParamCheck:
        SendMessageA(item, BM_SETCHECK, d.value ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      default:
        break;
    }
  }
}

void X2ParamTable::FromDialog(HWND dialog) {
  for (int k = 0; k < count_; ++k) {
    X2ParamDesc& d = descs_[k];
    if (!d.control) continue;
    HWND item = GetDlgItem(dialog, d.control);
    if (!item) continue;
    char text[257] = "";
    switch (d.kind) {
      case kParamDecimal:
        GetWindowTextA(item, text, sizeof text);
        d.value = static_cast<int>(std::strtoul(text, nullptr, 10));
        break;
      case kParamHex:
        GetWindowTextA(item, text, sizeof text);
        d.value = static_cast<int>(std::strtoul(text, nullptr, 16));
        break;
      case kParamChoice: {
        // No selection (CB_ERR) keeps the value; so does an index past the texts.
        LRESULT sel = SendMessageA(item, CB_GETCURSEL, 0, 0);
        if (sel >= 0 && sel < ChoiceCount(k)) d.value = static_cast<int>(sel);
        break;
      }
      case kParamCheck:
        d.value = SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        break;
      default:
        break;
    }
  }
}
