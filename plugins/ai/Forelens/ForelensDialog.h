#pragma once
// Configuration dialog 101 of the camera look-at AI.
#include <windows.h>

#include "X2Host.h"

class X2ParamTable;

struct ForelensDialogContext {
  X2ParamTable* table;
  X2Host host;
  int result = 0;  // 1 OK, 2 Cancel once the dialog has ended
};

// lParam of WM_INITDIALOG: the ForelensDialogContext.
INT_PTR CALLBACK ForelensDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
