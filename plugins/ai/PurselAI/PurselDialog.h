#pragma once
// Configuration dialog 101 of the formation flock AI.
#include <windows.h>

#include "X2Host.h"

class X2ParamTable;

struct PurselDialogContext {
  X2ParamTable* table;
  X2Host host;
  int result = 0;  // 1 OK, 2 Cancel once the dialog has ended
};

// lParam of WM_INITDIALOG: the PurselDialogContext.
INT_PTR CALLBACK PurselDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "%d Fishes" for the Form and Scale chosen in the dialog.
void UpdateFishCountLabel(HWND dialog, const X2ParamTable& table);
