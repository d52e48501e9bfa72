#pragma once
// The product's application object: the one object derived from the engine
// frame. It forwards the device-object life cycle to the scene root and
// chooses the full-screen mode from qelvar.ini.
//
// It is also the scene's host: the world and its objects reach the device,
// the display and debug settings and the product's hooks through it
// (MyApplicationHost.cpp).
#include <windows.h>

#include "frame/C3Application.h"
#include "frame/C3SceneHost.h"
#include "util/C3Arcball.h"
#include "world/C3World.h"

class MyApplication : public C3Application, public C3SceneHost {
 public:
  MyApplication();
  ~MyApplication() override;

  bool PickFullscreenMode(bool requireHAL, bool requireREF) override;
  HRESULT CheckDeviceCaps(D3DCAPS9* caps, DWORD behaviourFlags, D3DFORMAT adapterFormat,
                          D3DFORMAT backBufferFormat) override;
  LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  // Builds the scene once, before the device exists (MyApplicationScene.cpp).
  HRESULT OneTimeSceneInit() override;
  HRESULT InitDeviceObjects() override;
  HRESULT RestoreDeviceObjects() override;
  void BuildStatsText() override;
  HRESULT Move() override;
  HRESULT Render() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT DeleteDeviceObjects() override;
  HRESULT FinalCleanUp() override;

  // C3SceneHost.
  IDirect3DDevice9* GetDevice() override { return m_device; }
  UINT GetBackBufferWidth() override { return m_backBufferDesc.Width; }
  UINT GetBackBufferHeight() override { return m_backBufferDesc.Height; }
  bool IsDualView() override { return m_dualView != 0; }
  bool IsEyeSwapped() override { return m_swapViews != 0; }
  bool IsDebugRun() override { return m_mode == 3; }
  const char* GetDebugDisableRender() override { return m_debugDisableRender; }
  // Product hooks: the answers of AppHooks, with the scene objects' own
  // answers once the one-time scene set-up has made them.
  float GetDefaultRange() override;
  D3DXVECTOR3 GetWaterCurrent(float time, const D3DXVECTOR3& position) override;
  void SetMatrixShaderConstants(C4VertexObject* object) override;
  void SetFrameShaderConstants() override;
  void ResetHalationFlag() override;
  bool IsScenePaused() override;
  D3DXVECTOR3 GetLightDirection() override;
  float GetSunVisibility() override;
  D3DXVECTOR4 GetFogColor() override;
  bool HideCameraObject() override;
  int GetLightsSetting() override;
  bool IsPartialMorphEnabled() override;
  bool IsDisplayInfoShown() override;
  float GetFramesPerSecond() override { return FramesPerSecond(); }
  const char* GetFrameStatsText() override { return FrameStatsText(); }
  // No part of the program fills a second statistics text.
  const char* GetSecondStatsText() override { return ""; }
  const char* GetDeviceStatsText() override { return DeviceStatsText(); }
  int GetSceneSetting(int pos) override;
  int GetTechSetting(int pos) override;
  int GetDebugDisplayFlag() override { return m_debugDisplayFlag; }
  int GetMultiSurfaceCount() override;
  bool IsMultiSurface() override;

  C3World* World() const { return m_world; }
  C3Arcball& Arcball() { return m_arcball; }

  C3Arcball m_arcball;
  C3World* m_world = nullptr;  // owned
  // Display indexes of [Display]; kept, not consulted.
  int m_x1Adapter = -1;
  int m_x1DeviceInfo = -1;
  int m_x1DisplayMode = -1;
  int m_x1MultiSample = -1;
  char m_programFolder[MAX_PATH] = "";
  POINT m_mouseStart{};  // reference point of the exit test
  int m_debugLogLevel = 0;
  int m_debugDisplayFlag = 0;
  char m_debugDisableRender[256] = "";
  int m_skinnedModelOption = 1;

 private:
  void MakeLoneFish();
  void PlaceStructures();
  void MakeLightTowers();

  int m_initCount = 0;
  int m_restoreCount = 0;
  int m_invalidateCount = 0;
  int m_deleteCount = 0;
};

// The one application object, set by the program entry.
extern MyApplication* TheApp;
