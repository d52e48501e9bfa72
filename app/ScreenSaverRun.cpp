// The screen saver's run: one application object, one instance, the run mode
// from the command line.
#include "ScreenSaverRun.h"

#include <cstdlib>
#include <ctime>

#include "CommandLine.h"
#include "ConfigD3D.h"
#include "DisplayOptions.h"
#include "Managers.h"
#include "MyApplication.h"
#include "Preview.h"
#include "Settings.h"
#include "SettingsDialog.h"
#include "diagnostics/Diagnostics.h"

int RunScreenSaver(HINSTANCE instance, const char* commandLine, const ApplicationExtras& extras) {
  MyApplication app;
  TheApp = &app;
  if (extras) extras(app);

  if (app.FindExistingWindow()) {
    TheApp = nullptr;
    return 0;  // another instance runs already
  }

  ReadDisplayOptions(&app);
  LoadSettings(0);
  CreateManagers(app.m_programFolder);

  CommandLineChoice choice = ParseCommandLine(commandLine);
  int mode = choice.mode;
  app.SetMode(mode);
  switch (mode) {
    case kModeFullScreen:
      LogPrint("full screen mode");
      break;
    case kModePreview:
      LogPrint("preview mode %d", static_cast<int>(choice.parent));
      if (choice.hasParent)
        ShowPreview(instance, reinterpret_cast<HWND>(choice.parent));
      else
        LogPrint("preview mode without a window handle: nothing to show\n");
      break;
    case kModeConfigure:
      LogPrint("configure mode");
      break;
    case kModePassword:
      LogPrint("change password mode");
      break;
    default:
      break;
  }

  // Logged, so that a run's random choices (scenery, floor, flocks) can be
  // told apart and traced back.
  const unsigned seed = static_cast<unsigned>(time(nullptr));
  srand(seed);
  LogPrint("random seed %u\n", seed);

  if (mode == kModeFullScreen || mode == kModeDebug) {
    app.SetStartFullscreen(mode == kModeFullScreen);
    if (FAILED(app.Create(instance))) {
      TheApp = nullptr;
      return 0;
    }
    GetCursorPos(&app.m_mouseStart);
    app.Run();
  } else if (mode == kModeConfigure) {
    app.SetStartFullscreen(true);
    if (FAILED(CreateConfigD3D())) {
      TheApp = nullptr;
      return 2;
    }
    // OK has written the settings and configuration files; the display keys
    // follow, and after Cancel nothing is written at all.
    if (ShowSettingsDialog(instance, SettingsDialogOwner(choice)) == IDOK) SaveDisplayMode(&app.Settings());
    app.ReleaseDirect3D();
  }

  // The world goes first: its fish and cameras may still hold AI objects
  // whose code lives in the plug-in libraries that DeleteManagers unloads.
  app.FinalCleanUp();
  DeleteManagers();
  TheApp = nullptr;
  return 0;
}
