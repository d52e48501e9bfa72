// The message loop, one frame of the frame road, and the pause count.
#include "C3Application.h"
#include "EngineTimer.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"

void C3Application::SetPaused(bool pause) {
  // Unpausing an application that is not paused changes nothing: a stray
  // unpause must not leave the count below 0 and the loop frozen.
  if (!pause && m_pauseCount == 0) return;
  m_pauseCount += pause ? 1 : -1;
  m_active = m_pauseCount == 0;
  if (pause && m_pauseCount == 1 && m_frameMoving) EngineTimer(kTimerStop);
  if (!pause && m_pauseCount == 0 && m_frameMoving) EngineTimer(kTimerStart);
  // While paused the loop waits in GetMessage, which handles sent messages
  // (the end of a sizing loop, a restore) inside its wait and returns only
  // for a posted one. A message left waiting lets the loop see that it is
  // active again; otherwise it would wait, drawing nothing, for whatever
  // happens to be posted next.
  if (!pause && m_pauseCount == 0 && m_mainWindow) PostMessageA(m_mainWindow, WM_NULL, 0, 0);
}

HRESULT C3Application::RenderFrame() {
  if (!m_device) return S_OK;

  if (m_deviceLost) {
    HRESULT hr = m_device->TestCooperativeLevel();
    if (hr == D3DERR_DEVICELOST) return S_OK;
    if (hr == D3DERR_DEVICENOTRESET) {
      if (m_windowed && m_d3d && m_settings.windowedAdapterInfo) {
        m_d3d->GetAdapterDisplayMode(m_settings.windowedAdapterInfo->AdapterOrdinal,
                                     &m_settings.windowedDisplayMode);
        m_presentParams.BackBufferFormat = m_settings.windowedDisplayMode.Format;
      }
      return ResetDevice();
    }
    if (FAILED(hr)) return hr;
    m_deviceLost = false;
  }

  double appTime = EngineTimer(kTimerAppTime);
  double elapsed = EngineTimer(kTimerElapsed);
  if (elapsed == 0.0 && m_frameMoving) return S_OK;
  C3DrawCounter::BeginFrame(m_device);

  if (m_frameMoving || m_singleStep) {
    m_appTime = static_cast<float>(appTime);
    m_elapsedTime = static_cast<float>(elapsed);
    HRESULT hr = Move();
    if (FAILED(hr)) return hr;
    m_singleStep = false;
  }

  HRESULT hr = Render();
  if (FAILED(hr)) return hr;
  BuildStatsText();

  // A close started inside Render leaves no device to present with.
  if (!m_device) return S_OK;
  if (m_device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) m_deviceLost = true;
  C3DrawCounter::EndFrame();
  return S_OK;
}

int C3Application::Run() {
  HINSTANCE module = m_instance ? m_instance : GetModuleHandleA(nullptr);
  HACCEL accelerators = LoadAcceleratorsA(module, MAKEINTRESOURCEA(kAcceleratorResource));

  MSG message{};
  message.message = WM_NULL;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
  while (message.message != WM_QUIT) {
    bool got;
    if (m_active) {
      got = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0;
    } else {
      BOOL result = GetMessageA(&message, nullptr, 0, 0);
      if (result == -1) break;
      got = result != 0;
    }
    if (got) {
      if (!accelerators || !m_mainWindow || !TranslateAcceleratorA(m_mainWindow, accelerators, &message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    } else if (message.message != WM_QUIT) {
      if (m_deviceLost) Sleep(100);
      if (m_active && FAILED(RenderFrame()) && m_mainWindow) SendMessageA(m_mainWindow, WM_CLOSE, 0, 0);
    }
  }
  if (accelerators) DestroyAcceleratorTable(accelerators);
  return static_cast<int>(message.wParam);
}
