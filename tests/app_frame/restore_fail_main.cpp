// Entry of a test build of the screen saver: a scene object whose device
// objects cannot be restored takes the program down the fatal road, and a
// message box never waits for a user, it goes to the log.
#include "MyApplication.h"
#include "ScreenSaverRun.h"
#include "diagnostics/Diagnostics.h"
#include "frame/MessageBoxRoute.h"
#include "world/C3World.h"

namespace {

class RestoreFailure : public C3Object {
 public:
  RestoreFailure() { SetClassName("RestoreFailure"); }
  HRESULT RestoreDeviceObjects() override { return D3DERR_OUTOFVIDEOMEMORY; }
};

int LogInsteadOfBox(HWND, const char* text, const char*, UINT) {
  LogPrint("message box: %s\n", text);
  return IDOK;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  SetMessageBoxFunction(LogInsteadOfBox);
  return RunScreenSaver(instance, commandLine, [](MyApplication& app) { app.World()->AddChild(new RestoreFailure()); });
}
