#pragma once
// The still picture shown in the screen-saver host's preview pane ("/p").
// Drawn with GDI; no Direct3D is used in preview mode.
#include <windows.h>

// Creates the preview window (a child filling `parent`, or a stand-alone
// window when parent is null) and runs its message loop until the window is
// destroyed. Returns 0.
int ShowPreview(HINSTANCE instance, HWND parent);
LRESULT CALLBACK PreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws the picture (white ground, four text rows) into a w x h device context.
void DrawPreviewPicture(HDC dc, int width, int height);
