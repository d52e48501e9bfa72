// Entry points of the formation flock AI. Each entry first takes the host
// table it is given, so that everything it logs goes to that host.
#include "PurselAI.h"

#include <algorithm>
#include <memory>

#include "C4FlockController.h"
#include "PurselDialog.h"
#include "PurselTables.h"
#include "X2Host.h"
#include "X2ParamTable.h"
#include "resource.h"

namespace {

struct PurselModule {
  std::unique_ptr<X2ParamTable> table;  // of the current call
  C4FlockController* controller = nullptr;
  FlockRowList rows;
};

PurselModule& Module() {
  static PurselModule module;
  return module;
}

// Makes a fresh parameter table from param; answers a view of the host table.
X2Host Preamble(X2HostCallbacks* hostTable, const char* param) {
  PurselModule& m = Module();
  m.table = std::make_unique<X2ParamTable>();
  m.table->Load(kPurselKeys);
  m.table->Parse(param);
  return X2Host(hostTable);
}

// FlockID forced into 0 .. count - 1 (when there are flocks).
void ClampFlockID(X2ParamTable& table, const X2Host& host) {
  int id = std::max(table.Value(kParamFlockID), 0);
  int count = host.GetFlockCount();
  if (count > 0 && id >= count) id = count - 1;
  table.SetValue(kParamFlockID, id);
}

FlockShape ShapeOf(const X2ParamTable& table, int multiplierIndex) {
  return ScaledFlockShape(FlockShapeIndex(table.Choice(kParamForm), table.Choice(kParamScale)),
                          multiplierIndex);
}

int X2_CDECL PurselGetDefaultParam(int, char* out, int outSize, X2HostCallbacks*, int) {
  if (out && outSize > 0) out[0] = '\0';
  return 0;
}

int X2_CDECL PurselConfigure(HMODULE module, int, char* param, int paramSize,
                             X2HostCallbacks* hostTable, int) {
  X2Host host = Preamble(hostTable, param);
  PurselModule& m = Module();
  ClampFlockID(*m.table, host);

  host.Log("Configure Booted\n");
  PurselDialogContext ctx{m.table.get(), host};
  INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_PURSEL_CONFIG), GetForegroundWindow(),
                                   PurselDialogProc, reinterpret_cast<LPARAM>(&ctx));
  host.Log("RetVal %d\n", static_cast<int>(result));
  if (result == -1) {
    host.Log("CODE %08X\n", static_cast<unsigned>(GetLastError()));
  } else if (result == 1) {
    m.table->Format(param, paramSize);
  }
  m.table.reset();
  return static_cast<int>(result);
}

int X2_CDECL PurselCountFish(int, const char* param, X2HostCallbacks* hostTable, int multiplierIndex) {
  Preamble(hostTable, param);
  PurselModule& m = Module();
  int count = CountFlockFish(ShapeOf(*m.table, multiplierIndex));
  m.table.reset();
  return count;
}

int X2_CDECL PurselNormaliseParameter(int removedFlock, char* param, int paramSize,
                                      X2HostCallbacks* hostTable, int) {
  Preamble(hostTable, param);
  PurselModule& m = Module();
  // A negative FlockID (from a bad string) is read as flock 0.
  int id = std::max(m.table->Value(kParamFlockID), 0);
  if (removedFlock >= 0 && id >= removedFlock) id = std::max(id - 1, 0);
  m.table->SetValue(kParamFlockID, id);
  m.table->Format(param, paramSize);
  m.table.reset();
  return 0;
}

int X2_CDECL PurselBuildFlock(int flockIndex, const X2FishData* fish, const char* param,
                              X2HostCallbacks* hostTable, int multiplierIndex) {
  X2Host(hostTable).Log("BuildFlock Booted\n");
  X2Host host = Preamble(hostTable, param);
  PurselModule& m = Module();
  const X2ParamTable& t = *m.table;
  FlockShape shape = ShapeOf(t, multiplierIndex);
  if (fish) {
    FlockRecipe recipe{fish,
                       shape.rows,
                       shape.lanes,
                       shape.hangers,
                       flockIndex,
                       t.Choice(kParamCharacter),
                       t.Choice(kParamDepth),
                       t.Choice(kParamDensity),
                       t.Choice(kParamSizeVarie),
                       t.Value(kParamFlockID),
                       t.Choice(kParamFishPosition)};
    m.controller = BuildFormationFlock(host, recipe, m.rows);
  }
  m.table.reset();
  return 0;
}

X2AIData gPurselRecord = {
    {X2_VERSION_AI, 0, {0}, "追跡(群)", "ハルベノルソフト"},
    X2_AI_FLOCK,
    PurselBuildFlock,
    PurselConfigure,
    PurselGetDefaultParam,
    PurselCountFish,
    nullptr,
    PurselNormaliseParameter,
    {0, 0},
    nullptr,
    {0, 0, 0},
};

}  // namespace

X2AIData* PurselRecord() { return &gPurselRecord; }

FlockRowList& PurselRowCollections() { return Module().rows; }

void ReleasePurselRowCollections() { Module().rows.clear(); }

C4FlockController* PurselCurrentController() { return Module().controller; }
