#include "Preview.h"

#include "diagnostics/Diagnostics.h"

namespace {

const char kPreviewClass[] = "MYCLASS";

// Process-wide preview state.
HWND g_previewWindow = nullptr;
HDC g_pictureDC = nullptr;
HBITMAP g_pictureBitmap = nullptr;
HGDIOBJ g_previousBitmap = nullptr;
int g_pictureWidth = 0;
int g_pictureHeight = 0;

void ReleasePicture() {
  if (g_pictureDC) {
    if (g_previousBitmap) SelectObject(g_pictureDC, g_previousBitmap);
    DeleteDC(g_pictureDC);
  }
  if (g_pictureBitmap) DeleteObject(g_pictureBitmap);
  g_pictureDC = nullptr;
  g_pictureBitmap = nullptr;
  g_previousBitmap = nullptr;
  g_pictureWidth = g_pictureHeight = 0;
}

}  // namespace

void DrawPreviewPicture(HDC dc, int width, int height) {
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  static const char* const kRows[4] = {"ORVEX ENGINE", "REEFMOOR 2", "(C) Halvenorsoft",
                                       "2003-2026"};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  for (int i = 0; i < 4; ++i) {
    int y = i * height / 5 + 5;
    TextOutA(dc, 10, y, kRows[i], static_cast<int>(lstrlenA(kRows[i])));
  }
}

LRESULT CALLBACK PreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (g_pictureDC)
        BitBlt(dc, 0, 0, g_pictureWidth, g_pictureHeight, g_pictureDC, 0, 0, SRCCOPY);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      g_previewWindow = nullptr;
      PostQuitMessage(static_cast<int>(wParam));
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

int ShowPreview(HINSTANCE instance, HWND parent) {
  if (g_previewWindow) DestroyWindow(g_previewWindow);
  g_previewWindow = nullptr;
  ReleasePicture();

  WNDCLASSA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = PreviewWndProc;
  windowClass.cbWndExtra = 4;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kPreviewClass;
  RegisterClassA(&windowClass);  // already registered by an earlier preview: fine

  HWND window;
  if (parent) {
    LogPrint("create window in window");
    RECT bounds{};
    GetWindowRect(parent, &bounds);
    window = CreateWindowExA(0, kPreviewClass, "", WS_CHILD, 0, 0, bounds.right - bounds.left,
                             bounds.bottom - bounds.top, parent, nullptr, instance, nullptr);
  } else {
    LogPrint("create New window");
    window = CreateWindowExA(0, kPreviewClass, kPreviewClass, WS_SYSMENU | WS_MINIMIZEBOX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                             nullptr, instance, nullptr);
  }
  if (!window) {
    LogPrint("Create Window Fail");
    return 0;
  }
  g_previewWindow = window;

  RECT client{};
  GetClientRect(window, &client);
  g_pictureWidth = client.right;
  g_pictureHeight = client.bottom;
  HDC windowDC = GetDC(window);
  g_pictureDC = CreateCompatibleDC(windowDC);
  g_pictureBitmap = CreateCompatibleBitmap(windowDC, g_pictureWidth, g_pictureHeight);
  ReleaseDC(window, windowDC);
  if (g_pictureDC && g_pictureBitmap) {
    g_previousBitmap = SelectObject(g_pictureDC, g_pictureBitmap);
    DrawPreviewPicture(g_pictureDC, g_pictureWidth, g_pictureHeight);
  }

  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);

  MSG message;
  for (;;) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      if (GetMessageA(&message, nullptr, 0, 0) <= 0) break;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    } else {
      WaitMessage();
    }
  }
  ReleasePicture();
  return 0;
}
