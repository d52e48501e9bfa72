// Entry points of the formation flock AI. Each entry logs to the host table
// it is given and reads its own parameter table from the string it is given.
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
  C4FlockController* controller = nullptr;
  FlockRowList rows;
};

PurselModule& Module() {
  static PurselModule module;
  return module;
}

// The parameter table of one call, read from param; bad values are logged
// through log when given.
std::unique_ptr<X2ParamTable> LoadParams(const char* param, const X2Host* log = nullptr) {
  auto table = std::make_unique<X2ParamTable>();
  table->Load(kPurselKeys);
  table->Parse(param, log);
  return table;
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
  const X2Host host(hostTable);
  auto table = LoadParams(param);
  table->SetValue(kParamFlockID, ClampFlockID(table->Value(kParamFlockID), host.GetFlockCount()));

  host.Log("Configure Booted\n");
  X2ParamDialogContext ctx{table.get(), host};
  INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_PURSEL_CONFIG), GetForegroundWindow(),
                                   PurselDialogProc, reinterpret_cast<LPARAM>(&ctx));
  host.Log("RetVal %d\n", static_cast<int>(result));
  if (result == -1) {
    host.Log("CODE %08X\n", static_cast<unsigned>(GetLastError()));
  } else if (result == 1) {
    table->Format(param, paramSize);
  }
  return static_cast<int>(result);
}

int X2_CDECL PurselCountFish(int, const char* param, X2HostCallbacks*, int multiplierIndex) {
  return CountFlockFish(ShapeOf(*LoadParams(param), multiplierIndex));
}

int X2_CDECL PurselNormaliseParameter(int removedFlock, char* param, int paramSize,
                                      X2HostCallbacks*, int) {
  auto table = LoadParams(param);
  // A negative FlockID (from a bad string) is read as flock 0.
  int id = std::max(table->Value(kParamFlockID), 0);
  if (removedFlock >= 0 && id >= removedFlock) id = std::max(id - 1, 0);
  table->SetValue(kParamFlockID, id);
  table->Format(param, paramSize);
  return 0;
}

int X2_CDECL PurselBuildFlock(int flockIndex, const X2FishData* fish, const char* param,
                              X2HostCallbacks* hostTable, int multiplierIndex) {
  const X2Host host(hostTable);
  host.Log("BuildFlock Booted\n");
  const auto params = LoadParams(param, &host);
  const X2ParamTable& t = *params;
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
    PurselModule& m = Module();
    m.controller = BuildFormationFlock(host, recipe, m.rows);
  }
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
