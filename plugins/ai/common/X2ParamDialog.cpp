#include "X2ParamDialog.h"

#include "X2ParamTable.h"

X2ParamDialogContext* ParamDialogContext(HWND dialog, UINT message, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
    return reinterpret_cast<X2ParamDialogContext*>(lParam);
  }
  return reinterpret_cast<X2ParamDialogContext*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

bool EndParamDialog(HWND dialog, X2ParamDialogContext& ctx, int command) {
  if (command == IDOK) {
    ctx.table->FromDialog(dialog);
    ctx.result = 1;
  } else if (command == IDCANCEL) {
    ctx.result = 2;
  } else {
    return false;
  }
  EndDialog(dialog, ctx.result);
  return true;
}

INT_PTR CALLBACK X2ParamDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  X2ParamDialogContext* ctx = ParamDialogContext(dialog, message, lParam);
  switch (message) {
    case WM_INITDIALOG:
      if (ctx && ctx->table) ctx->table->ToDialog(dialog, ctx->host);
      return TRUE;
    case WM_COMMAND:
      return ctx && ctx->table && EndParamDialog(dialog, *ctx, LOWORD(wParam));
    default:
      return FALSE;
  }
}
