#include "PurselDialog.h"

#include <cstdio>

#include "PurselTables.h"
#include "X2ParamTable.h"
#include "resource.h"

namespace {

// The combo's selection, or the table's value when nothing is selected.
int SelectionOr(HWND dialog, int control, int fallback) {
  LRESULT sel = SendDlgItemMessageA(dialog, control, CB_GETCURSEL, 0, 0);
  return sel >= 0 ? static_cast<int>(sel) : fallback;
}

void FillFollowedFlocks(HWND dialog, const X2ParamDialogContext& ctx) {
  HWND combo = GetDlgItem(dialog, IDC_FOLLOWED_FLOCK);
  if (!combo) return;
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  if (const char** names = ctx.host.GetFlockNames()) {
    // The host's list holds at most 100 names before its null entry.
    for (int i = 0; i < 1000 && names[i]; ++i) {
      char line[300];
      std::snprintf(line, sizeof line, "%d   %s", i, names[i]);
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    }
  }
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(ctx.table->Value(kParamFlockID)), 0);
}

}  // namespace

void UpdateFishCountLabel(HWND dialog, const X2ParamTable& table) {
  int form = SelectionOr(dialog, IDC_FORM, table.Choice(kParamForm));
  int scale = SelectionOr(dialog, IDC_SCALE, table.Choice(kParamScale));
  char text[32];
  std::snprintf(text, sizeof text, "%d Fishes", FlockLabelCount(FlockShapeIndex(form, scale)));
  SetDlgItemTextA(dialog, IDC_FISH_COUNT, text);
}

INT_PTR CALLBACK PurselDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  X2ParamDialogContext* ctx = ParamDialogContext(dialog, message, lParam);
  switch (message) {
    case WM_INITDIALOG:
      if (!ctx || !ctx->table) return TRUE;
      ctx->table->ToDialog(dialog, ctx->host);
      UpdateFishCountLabel(dialog, *ctx->table);
      FillFollowedFlocks(dialog, *ctx);
      return TRUE;

    case WM_COMMAND: {
      if (!ctx || !ctx->table) return FALSE;
      const int id = LOWORD(wParam);
      if (id == IDOK) {
        // FlockID has no control of its own; no selection in the flock list
        // keeps the previous flock.
        LRESULT sel = SendDlgItemMessageA(dialog, IDC_FOLLOWED_FLOCK, CB_GETCURSEL, 0, 0);
        if (sel >= 0) ctx->table->SetValue(kParamFlockID, static_cast<int>(sel));
      }
      if (!EndParamDialog(dialog, *ctx, id)) UpdateFishCountLabel(dialog, *ctx->table);
      return TRUE;
    }
    default:
      return FALSE;
  }
}
