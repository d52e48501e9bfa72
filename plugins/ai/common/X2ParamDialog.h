#pragma once
// The configuration dialog of an AI plug-in: its controls are bound to a
// parameter table; OK reads them back and ends the dialog with 1, Cancel ends
// it with 2.
#include <windows.h>

#include "X2Host.h"

class X2ParamTable;

struct X2ParamDialogContext {
  X2ParamTable* table;
  X2Host host;
  int result = 0;  // 1 OK, 2 Cancel once the dialog has ended
};

// The dialog's context: WM_INITDIALOG keeps lParam as the context, later
// messages find it again (null before, or when lParam was null).
X2ParamDialogContext* ParamDialogContext(HWND dialog, UINT message, LPARAM lParam);

// OK (controls read into the table) and Cancel end the dialog and answer
// true; any other command answers false.
bool EndParamDialog(HWND dialog, X2ParamDialogContext& ctx, int command);

// A dialog with nothing but the table's controls, OK and Cancel; lParam of
// WM_INITDIALOG is the X2ParamDialogContext.
INT_PTR CALLBACK X2ParamDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
