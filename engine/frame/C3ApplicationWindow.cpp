// The application object, its windows and the window messages of the frame,
// window-size changes and the switch between windowed and full screen.
#include "C3Application.h"
#include "EngineTimer.h"
#include "diagnostics/Diagnostics.h"

C3Application* C3Application::s_current = nullptr;

namespace {

constexpr DWORD kWindowStyle = WS_VISIBLE | WS_OVERLAPPEDWINDOW;  // 0x10CF0000
constexpr DWORD kFullscreenStyle = WS_POPUP | WS_VISIBLE | WS_SYSMENU;  // 0x90080000

// Takes a window off the screen at once: with an empty window region nothing
// of it is drawn. (Hiding it may wait on the window system first: under Wine
// without a window manager, two seconds.)
void ClearFromScreen(HWND window) {
  if (window) SetWindowRgn(window, CreateRectRgn(0, 0, 0, 0), TRUE);
}

}  // namespace

C3Application::C3Application() {
  s_current = this;
  // Constructed paused once; Create takes the pause back.
  SetPaused(true);
}

C3Application::~C3Application() {
  // Normally WM_CLOSE has released both already.
  if (m_device) m_device->Release();
  m_device = nullptr;
  if (m_d3d) m_d3d->Release();
  m_d3d = nullptr;
  m_enumeration.Clear();
  if (s_current == this) s_current = nullptr;
}

HWND C3Application::FindExistingWindow() const { return FindWindowA(m_windowClass, m_windowTitle); }

LRESULT CALLBACK C3Application::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (s_current) return s_current->HandleWindowMessage(window, message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

HRESULT C3Application::CreateWindows() {
  WNDCLASSA windowClass{};
  windowClass.style = 0;
  windowClass.lpfnWndProc = StaticWndProc;
  windowClass.hInstance = m_instance;
  windowClass.hIcon = LoadIconA(m_instance, MAKEINTRESOURCEA(kIconResource));
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = m_windowClass;
  RegisterClassA(&windowClass);

  DWORD style = m_dualView ? (kWindowStyle | WS_POPUP) : kWindowStyle;
  RECT rect = {0, 0, m_creationWidth, m_creationHeight};
  AdjustWindowRect(&rect, style, TRUE);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;

  // The dual view's two windows stay on top; the second is owned by the first.
  // The program carries no menu 141, so LoadMenuA gives none.
  const DWORD exStyle = m_dualView ? WS_EX_TOPMOST : 0;
  auto create = [&](HWND owner) {
    return CreateWindowExA(exStyle, m_windowClass, m_windowTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, width,
                           height, owner, LoadMenuA(m_instance, MAKEINTRESOURCEA(kMenuResource)), m_instance,
                           nullptr);
  };
  m_mainWindow = create(nullptr);
  if (m_dualView && m_mainWindow) m_secondWindow = create(m_mainWindow);
  if (!m_mainWindow) {
    LogPrint("create main window failed %lu\n", GetLastError());
    return E_FAIL;
  }
  return S_OK;
}

void C3Application::KeepWindowedBounds() {
  m_windowedStyle = static_cast<DWORD>(GetWindowLongA(m_mainWindow, GWL_STYLE));
  GetWindowRect(m_mainWindow, &m_windowedBounds);
  GetClientRect(m_mainWindow, &m_clientRect);
}

void C3Application::ShowAtWindowedBounds() {
  SetWindowPos(m_mainWindow, HWND_NOTOPMOST, m_windowedBounds.left, m_windowedBounds.top,
               m_windowedBounds.right - m_windowedBounds.left, m_windowedBounds.bottom - m_windowedBounds.top,
               SWP_SHOWWINDOW);
}

void C3Application::ApplyWindowStyle() {
  if (!m_mainWindow) return;
  if (m_windowed) {
    SetWindowLongA(m_mainWindow, GWL_STYLE, static_cast<LONG>(m_windowedStyle));
    if (m_savedMenu) {
      SetMenu(m_mainWindow, m_savedMenu);
      m_savedMenu = nullptr;
    }
  } else {
    SetWindowLongA(m_mainWindow, GWL_STYLE, static_cast<LONG>(kFullscreenStyle));
    if (!m_savedMenu) {
      m_savedMenu = GetMenu(m_mainWindow);
      if (m_savedMenu) SetMenu(m_mainWindow, nullptr);
    }
  }
}

HRESULT C3Application::CheckSizeChange() {
  if (m_ignoreSizeChange || !m_mainWindow) return S_OK;
  RECT previous = m_clientRect;
  GetWindowRect(m_mainWindow, &m_windowedBounds);
  GetClientRect(m_mainWindow, &m_clientRect);
  if (previous.right - previous.left == m_clientRect.right - m_clientRect.left &&
      previous.bottom - previous.top == m_clientRect.bottom - m_clientRect.top)
    return S_OK;

  HRESULT hr = S_OK;
  SetPaused(true);
  m_presentParams.BackBufferWidth = static_cast<UINT>(m_clientRect.right - m_clientRect.left);
  m_presentParams.BackBufferHeight = static_cast<UINT>(m_clientRect.bottom - m_clientRect.top);
  if (m_device) {
    hr = ResetDevice();
    if (FAILED(hr)) {
      if (hr != D3DERR_OUTOFVIDEOMEMORY) hr = kErrResettingDevice;
      ShowErrorBox(hr, kErrorMustExit);
    }
  }
  SetPaused(false);
  return hr;
}

HRESULT C3Application::SwitchWindowMode() {
  SetPaused(true);
  m_ignoreSizeChange = true;
  m_windowed = !m_windowed;
  m_settings.IsWindowed = m_windowed;
  ApplyWindowStyle();
  ReleaseDevice();
  HRESULT hr = InitDevice();
  if (FAILED(hr)) {
    m_ignoreSizeChange = false;
    if (!m_windowed) {
      m_windowed = true;
      m_settings.IsWindowed = TRUE;
      ApplyWindowStyle();
      ShowAtWindowedBounds();
    }
    if (hr != D3DERR_OUTOFVIDEOMEMORY) hr = kErrResettingDevice;
    return ShowErrorBox(hr, kErrorMustExit);
  }
  m_ignoreSizeChange = false;
  if (m_windowed) ShowAtWindowedBounds();
  SetPaused(false);
  return S_OK;
}

LRESULT C3Application::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (m_windowed && m_mainWindow) m_windowedStyle = static_cast<DWORD>(GetWindowLongA(m_mainWindow, GWL_STYLE));
      if (wParam == SIZE_MINIMIZED) {
        if (!m_windowed && m_clipCursorWhenFullscreen) ClipCursor(nullptr);
        if (!m_minimized) SetPaused(true);
        m_minimized = true;
        m_maximized = false;
      } else if (wParam == SIZE_MAXIMIZED) {
        if (m_minimized) SetPaused(false);
        m_minimized = false;
        m_maximized = true;
        CheckSizeChange();
      } else if (wParam == SIZE_RESTORED) {
        if (m_maximized) {
          m_maximized = false;
          CheckSizeChange();
        } else if (m_minimized) {
          SetPaused(false);
          m_minimized = false;
          CheckSizeChange();
        }
      }
      break;

    case WM_PAINT:
      if (m_device && !m_active && m_windowed && m_deviceObjectsInited && m_deviceObjectsRestored) {
        Render();
        if (m_device) m_device->Present(nullptr, nullptr, nullptr, nullptr);
      }
      break;

    case WM_CLOSE: {
      if (m_closing) return 0;
      m_closing = true;
      // The user wants the desktop back now; the clean-up below takes its time.
      HWND target = m_mainWindow ? m_mainWindow : window;
      ClearFromScreen(target);
      ClearFromScreen(m_secondWindow);
      ReleaseDevice();
      ReleaseDirect3D();
      FinalCleanUp();
      HMENU menu = GetMenu(target);
      if (menu) DestroyMenu(menu);
      if (m_savedMenu) DestroyMenu(m_savedMenu);
      m_savedMenu = nullptr;
      DestroyWindow(target);
      PostQuitMessage(0);
      m_mainWindow = nullptr;
      m_secondWindow = nullptr;
      return 0;
    }

    case WM_SETCURSOR:
      if (m_active && !m_windowed) {
        SetCursor(nullptr);
        if (m_showCursorWhenFullscreen && m_device) m_device->ShowCursor(TRUE);
        return TRUE;
      }
      break;

    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = 100;
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.y = 100;
      break;

    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kCmdToggleFullscreen:
          SetPaused(true);
          if (FAILED(SwitchWindowMode())) ShowErrorBox(kErrResettingDevice, kErrorMustExit);
          SetPaused(false);
          return 0;
        case kCmdToggleFrameMoving:
          m_frameMoving = !m_frameMoving;
          EngineTimer(m_frameMoving ? kTimerStart : kTimerStop);
          break;
        case kCmdSingleStep:
          EngineTimer(m_frameMoving ? kTimerStop : kTimerAdvance);
          m_frameMoving = false;
          m_singleStep = true;
          break;
        case kCmdExit:
          SendMessageA(window, WM_CLOSE, 0, 0);
          return 0;
        default:
          break;
      }
      break;

    case WM_SYSCOMMAND:
      if (!m_windowed) {
        switch (wParam & 0xFFF0) {
          case SC_SIZE:
          case SC_MOVE:
          case SC_MAXIMIZE:
          case SC_KEYMENU:
          case SC_MONITORPOWER:
            return 1;
          default:
            break;
        }
      }
      break;

    case WM_NCHITTEST:
      if (!m_windowed) return HTCLIENT;
      break;

    case WM_MOUSEMOVE:
      if (m_active && m_device) {
        POINT point;
        GetCursorPos(&point);
        if (m_windowed) ScreenToClient(window, &point);
        m_device->SetCursorPosition(point.x, point.y, 0);
      }
      break;

    case WM_ENTERMENULOOP:
    case WM_ENTERSIZEMOVE:
      SetPaused(true);
      break;
    case WM_EXITMENULOOP:
      SetPaused(false);
      break;
    case WM_EXITSIZEMOVE:
      SetPaused(false);
      CheckSizeChange();
      break;

    case WM_POWERBROADCAST:
      if (wParam == 0 /* PBT_APMQUERYSUSPEND */ || wParam == PBT_APMRESUMESUSPEND) return TRUE;
      break;

    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
