// Program entry of the screen saver.
#include "ScreenSaverRun.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  return RunScreenSaver(instance, commandLine);
}
