// Wexnote: shows the screen saver's last-error file after a fatal error.
#include <windows.h>

#include "ErrorText.h"
#include "resource.h"

namespace {

INT_PTR CALLBACK ReportProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      char module[MAX_PATH] = "";
      GetModuleFileNameA(nullptr, module, MAX_PATH);
      module[MAX_PATH - 1] = '\0';
      char path[MAX_PATH];
      LastErrorPathFor(module, path, sizeof path);
      static char text[kErrorTextSize];
      BuildErrorText(path, text, sizeof text);
      SetDlgItemTextA(dialog, IDC_ERROR_TEXT, text);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return FALSE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ERROR_REPORT), GetForegroundWindow(),
                  ReportProc, 0);
  return 0;
}
