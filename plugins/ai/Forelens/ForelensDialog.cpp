#include "ForelensDialog.h"

#include "X2ParamTable.h"

INT_PTR CALLBACK ForelensDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* ctx = reinterpret_cast<ForelensDialogContext*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  switch (message) {
    case WM_INITDIALOG:
      ctx = reinterpret_cast<ForelensDialogContext*>(lParam);
      SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
      if (ctx && ctx->table) ctx->table->ToDialog(dialog, ctx->host);
      return TRUE;
    case WM_COMMAND:
      if (!ctx || !ctx->table) return FALSE;
      if (LOWORD(wParam) == IDOK) {
        ctx->table->FromDialog(dialog);
        ctx->result = 1;
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        ctx->result = 2;
        EndDialog(dialog, 2);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}
