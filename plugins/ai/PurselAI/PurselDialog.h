#pragma once
// Configuration dialog 101 of the formation flock AI.
#include <windows.h>

#include "X2ParamDialog.h"

class X2ParamTable;

// lParam of WM_INITDIALOG: the X2ParamDialogContext. Besides the table's
// controls the dialog lists the host's flocks and shows the fish count.
INT_PTR CALLBACK PurselDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "%d Fishes" for the Form and Scale chosen in the dialog.
void UpdateFishCountLabel(HWND dialog, const X2ParamTable& table);
