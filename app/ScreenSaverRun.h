#pragma once
// The screen saver's run from its command line: the one application object,
// the single-instance check, the settings and plug-in lists, then the mode
// the first command-line token picks. Returns the program's exit code.
#include <windows.h>

#include <functional>

class MyApplication;

// What a build of the program adds to the application once it is made,
// before anything else happens (the test build's failing scene object).
using ApplicationExtras = std::function<void(MyApplication&)>;

int RunScreenSaver(HINSTANCE instance, const char* commandLine, const ApplicationExtras& extras = {});
