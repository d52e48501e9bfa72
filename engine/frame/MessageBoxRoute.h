#pragma once
// Every message box of the program goes through ShowMessageBox, so that a
// test (or a test build of the program) can replace the box with something
// that never waits for a user.
#include <windows.h>

using MessageBoxFunction = int (*)(HWND owner, const char* text, const char* caption, UINT type);

// Installs `function` (null restores MessageBoxA); returns the previous one.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);
