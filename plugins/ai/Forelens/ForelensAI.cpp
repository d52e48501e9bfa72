// Entry points of the camera look-at AI.
#include "ForelensAI.h"

#include <memory>

#include "X2ForelensAI.h"
#include "X2Host.h"
#include "X2ParamDialog.h"
#include "X2ParamTable.h"
#include "resource.h"

namespace {

X2ParamTable* NewTable(const char* param, const X2Host* log = nullptr) {
  auto* table = new X2ParamTable();
  table->Load(kForelensKeys);
  table->Parse(param, log);
  return table;
}

int X2_CDECL ForelensGetDefaultParam(int, char* out, int outSize, X2HostCallbacks*, int) {
  if (out && outSize > 0) out[0] = '\0';
  return 0;
}

int X2_CDECL ForelensConfigure(HMODULE module, int, char* param, int paramSize,
                               X2HostCallbacks* hostTable, int) {
  std::unique_ptr<X2ParamTable> table(NewTable(param));
  X2Host host(hostTable);

  host.Log("Configure Booted\n");
  X2ParamDialogContext ctx{table.get(), host};
  INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_FORELENS_CONFIG), GetForegroundWindow(),
                                   X2ParamDialogProc, reinterpret_cast<LPARAM>(&ctx));
  if (result == 1) {
    table->Format(param, paramSize);
    host.Log("AIParam:%s\n", param ? param : "");
  } else if (result == -1) {
    host.Log("CODE %08X\n", static_cast<unsigned>(GetLastError()));
  }
  return static_cast<int>(result);
}

X2AIObject* X2_CDECL ForelensCreateInstance(const char* param, X2HostCallbacks* hostTable) {
  const X2Host host(hostTable);
  return new X2ForelensAI(host, NewTable(param, &host));
}

X2AIData gForelensRecord = {
    {X2_VERSION_AI, 0, {0}, "移動方向", "ハルベノルソフト"},
    X2_AI_CAMERA_TARGET,
    nullptr,
    ForelensConfigure,
    ForelensGetDefaultParam,
    nullptr,
    ForelensCreateInstance,
    nullptr,
    {0, 0},
    nullptr,
    {0, 0, 0},
};

}  // namespace

X2AIData* ForelensRecord() { return &gForelensRecord; }
