#pragma once
// The settings dialog of configure mode: six tab pages that edit the two
// settings tables, the five configuration lists and the full-screen display
// settings; OK writes the settings and the configuration files, Cancel
// writes nothing. And the small human-camera dialog of the camera page.
#include <windows.h>

struct CommandLineChoice;

// Shows the modal settings dialog owned by `owner` (may be null). Returns 1
// after OK (qelvar.ini [system] and the configuration files written), 2
// after Cancel (nothing written), -1 when the dialog could not be shown. The
// caller writes the display keys after OK.
int ShowSettingsDialog(HINSTANCE instance, HWND owner);

// The owner of the settings dialog: the window that "/c:<hwnd>" names when
// it is one, else the foreground window.
HWND SettingsDialogOwner(const CommandLineChoice& choice);

// The human camera's stability, tracking and zoom as trackbars; OK stores
// them into the scene settings. Returns 1 for OK, 2 for Cancel.
int ShowHumanCameraDialog(HINSTANCE instance, HWND owner);

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK HumanCameraDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A trackbar of the human-camera dialog and the scene setting it shows.
struct HumanCameraSlider {
  int minimum, maximum, control, setting;
};
extern const HumanCameraSlider kHumanCameraSliders[3];
