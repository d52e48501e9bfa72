// The flock page: the flock list, the fish and AI of the selected flock, the
// fish-count multiplier, the total, and the buttons that edit the AI's
// parameters, add and delete flocks.
#include <cstdio>

#include "ConfigEditing.h"
#include "DialogPages.h"
#include "HostCallbacks.h"
#include "resource.h"
#include "config/X2FlockConfig.h"
#include "config/X2FlockSet.h"
#include "diagnostics/Diagnostics.h"
#include "pluginlists/X2AIList.h"
#include "pluginlists/X2FishList.h"

namespace {

const char* const kMultiplierLabels[X2FlockConfig::kMultiplierCount] = {"X 1/4", "X 1/2", "X 1",
                                                                        "X 2",   "X 4",   "X 8"};
const int kFlockTabStops[] = {15, 50, 90};
constexpr int kFlockListExtent = 800;

X2ConfigEntry* SelectedFlock(HWND page) {
  return TheFlockConfig ? TheFlockConfig->Entry(pagectl::ListRow(page, IDC_FLOCK_LIST)) : nullptr;
}

const X2FishData* SelectedFish(HWND page) {
  LPARAM index;
  if (!TheFishList || !pagectl::SelectedData(page, IDC_FISH, &index)) return nullptr;
  return TheFishList->Get(static_cast<int>(index));
}

const X2AIData* SelectedAI(HWND page) {
  LPARAM index;
  if (!TheFlockAIList || !pagectl::SelectedData(page, IDC_FLOCK_AI, &index)) return nullptr;
  return TheFlockAIList->Get(static_cast<int>(index));
}

int Multiplier() { return TheFlockConfig ? TheFlockConfig->highPowerFactor : 0; }

void RedrawFlockList(HWND page) {
  LogPrint("RedrawFlockList\n");
  SendDlgItemMessageA(page, IDC_FLOCK_LIST, LB_RESETCONTENT, 0, 0);
  for (int i = 0; TheFlockConfig && i < TheFlockConfig->Count(); ++i) {
    const std::string row = FlockRowText(i, *TheFlockConfig->Entry(i));
    LogPrint("ListItemString:%s\n", row.c_str());
    SendDlgItemMessageA(page, IDC_FLOCK_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
  }
}

void RewriteSelectedRow(HWND page) {
  const int row = pagectl::ListRow(page, IDC_FLOCK_LIST);
  if (X2ConfigEntry* entry = SelectedFlock(page)) pagectl::SetListRow(page, IDC_FLOCK_LIST, row, FlockRowText(row, *entry));
}

void EnableParameter(HWND page) {
  const X2AIData* ai = SelectedAI(page);
  pagectl::Enable(page, IDC_FLOCK_PARAM, ai && ai->Configure);
}

void ShowTotal(HWND page) {
  const int total = TheFlockConfig ? TheFlockConfig->TotalFish(TheFlockAIList, GetHostCallbacks()) : 0;
  SetDlgItemTextA(page, IDC_TOTAL, TotalFishText(total).c_str());
}

// The AI choice applied to the selected flock: a different AI replaces the
// entry's and resets its parameter to the AI's default.
void AIChosen(HWND page) {
  LogPrint("AI Changed\n");
  if (ChooseEntryAI(SelectedFlock(page), SelectedAI(page), true, GetHostCallbacks(), Multiplier()))
    RewriteSelectedRow(page);
  EnableParameter(page);
}

// The AIs offered for the selected fish, preselecting `preferred`.
void RefillAI(HWND page, const char* preferred) {
  LogPrint("Update AI\n");
  const X2ConfigEntry* entry = SelectedFlock(page);
  ChoiceList items;
  int select = -1;
  if (TheFlockAIList) {
    const AIOffer offer = OfferFlockAIs(*TheFlockAIList, SelectedFish(page), preferred, entry ? entry->AI() : nullptr);
    for (int index : offer.aiIndexes) items.push_back({RecordNameOf(&TheFlockAIList->Get(index)->header), index});
    select = offer.selected;
  }
  pagectl::FillCombo(page, IDC_FLOCK_AI, items, select);
  AIChosen(page);
}

void FlockSelected(HWND page) {
  LogPrint("DialogUpdateFlock\n");
  const int row = pagectl::ListRow(page, IDC_FLOCK_LIST);
  LogPrint("Selected %d flock.\n", row);
  const X2ConfigEntry* entry = SelectedFlock(page);
  if (!entry) return;
  const int fish = TheFishList ? TheFishList->Find(entry->Name()) : -1;
  if (fish < 0 || !pagectl::SelectData(page, IDC_FISH, fish)) {
    LogPrint("KWEX no FishID\n");
    SendDlgItemMessageA(page, IDC_FISH, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
  RefillAI(page, entry->AI());
}

void FishChosen(HWND page) {
  LogPrint("Fish Changed\n");
  const X2FishData* fish = SelectedFish(page);
  if (!fish) return;
  if (X2ConfigEntry* entry = SelectedFlock(page)) {
    entry->SetName(RecordKeyOf(&fish->header).c_str(), 1);
    RewriteSelectedRow(page);
  }
  RefillAI(page, fish->defaultAI);
}

void MultiplierChosen(HWND page) {
  LRESULT at = SendDlgItemMessageA(page, IDC_MULTIPLIER, CB_GETCURSEL, 0, 0);
  if (TheFlockConfig && at >= 0 && at < X2FlockConfig::kMultiplierCount)
    TheFlockConfig->highPowerFactor = static_cast<int>(at);
}

void EditParameter(HWND page) {
  X2ConfigEntry* entry = SelectedFlock(page);
  if (!entry || !TheFlockAIList) return;
  const int index = TheFlockAIList->Find(entry->AI());
  if (index < 0) {
    LogPrint("KWEX no AI ID\n");
    return;
  }
  // The plug-in's dialog lists the flocks by the host's flock names; in this
  // mode no flock is built, so they come from the configuration as it is now.
  TheFlockConfig->FillFlockNames(&TheFlocks);
  if (EditEntryParam(entry, TheFlockAIList->Get(index), TheFlockAIList->Module(index),
                     pagectl::ListRow(page, IDC_FLOCK_LIST), GetHostCallbacks(), Multiplier()))
    RewriteSelectedRow(page);
}

void AddFlock(HWND page) {
  const X2FishData* fish = SelectedFish(page);
  if (!fish && TheFishList) fish = TheFishList->Get(0);
  const X2AIData* ai = SelectedAI(page);
  LPARAM first;
  if (!ai && TheFlockAIList && pagectl::FirstData(page, IDC_FLOCK_AI, &first))
    ai = TheFlockAIList->Get(static_cast<int>(first));
  const int row = AddFlockEntry(TheFlockConfig, fish, ai, GetHostCallbacks());
  RedrawFlockList(page);
  SendDlgItemMessageA(page, IDC_FLOCK_LIST, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

void DeleteFlock(HWND page) {
  const int row = pagectl::ListRow(page, IDC_FLOCK_LIST);
  if (!TheFlockConfig || !TheFlockConfig->Entry(row)) return;
  TheFlockConfig->RemoveFlock(row, GetHostCallbacks());
  const int next = RowAfterDelete(row, TheFlockConfig->Count());
  RedrawFlockList(page);
  SendDlgItemMessageA(page, IDC_FLOCK_LIST, LB_SETCURSEL, static_cast<WPARAM>(next), 0);
  FlockSelected(page);
}

}  // namespace

void DialogInitFlock(HWND page) {
  LogPrint("DialogInitFlock\n");
  pagectl::SetListTabs(page, IDC_FLOCK_LIST, kFlockTabStops, 3, kFlockListExtent);
  RedrawFlockList(page);
  SendDlgItemMessageA(page, IDC_FLOCK_LIST, LB_SETCURSEL, 0, 0);

  ChoiceList fish;
  for (int i = 0; TheFishList && i < TheFishList->Count(); ++i)
    fish.push_back({RecordNameOf(TheFishList->Header(i)), i});
  pagectl::FillCombo(page, IDC_FISH, fish, fish.empty() ? -1 : 0);
  if (!TheFlockConfig || TheFlockConfig->Count() == 0) {
    const X2FishData* first = SelectedFish(page);
    RefillAI(page, first ? first->defaultAI : nullptr);
  }
  SendDlgItemMessageA(page, IDC_FLOCK_LIST, LB_SETCURSEL, 0, 0);
  FlockSelected(page);

  ChoiceList multipliers;
  for (int i = 0; i < X2FlockConfig::kMultiplierCount; ++i) multipliers.push_back({kMultiplierLabels[i], i});
  pagectl::FillCombo(page, IDC_MULTIPLIER, multipliers, Multiplier());
  EnableParameter(page);
  ShowTotal(page);
}

INT_PTR CALLBACK FlockPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      DialogInitFlock(page);
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      LogPrint("Command hi:0x%X lo:%d lparam 0x%X\n", code, id, static_cast<unsigned>(lParam));
      switch (id) {
        case IDC_FLOCK_LIST:
          if (code == LBN_SELCHANGE) FlockSelected(page);
          break;
        case IDC_FISH:
          if (code == CBN_SELCHANGE) FishChosen(page);
          break;
        case IDC_FLOCK_AI:
          if (code == CBN_SELCHANGE) AIChosen(page);
          break;
        case IDC_MULTIPLIER:
          if (code == CBN_SELCHANGE) MultiplierChosen(page);
          break;
        case IDC_FLOCK_PARAM:
          if (code == BN_CLICKED) EditParameter(page);
          break;
        case IDC_FLOCK_ADD:
          if (code == BN_CLICKED) {
            AddFlock(page);
            EnableParameter(page);
          }
          break;
        case IDC_FLOCK_DELETE:
          if (code == BN_CLICKED) {
            DeleteFlock(page);
            EnableParameter(page);
          }
          break;
        default:
          return TRUE;
      }
      // Any of these may have changed an AI, a parameter or the multiplier.
      ShowTotal(page);
      return TRUE;
    }
    default:
      return FALSE;
  }
}
