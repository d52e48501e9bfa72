#pragma once
// What the scene needs from the application: the device, the display and
// debug settings, and the product's hooks. The application implements it and
// installs itself with SetSceneHost; until then a default host answers with
// neutral values (no device, 640 x 480, single view, nothing paused).
#include <d3d9.h>
#include <d3dx9.h>

class C3Camera;
class C3Object;
class C4VertexObject;

class C3SceneHost {
 public:
  virtual ~C3SceneHost() = default;

  // Device and display.
  virtual IDirect3DDevice9* GetDevice() { return nullptr; }
  virtual UINT GetBackBufferWidth() { return 640; }
  virtual UINT GetBackBufferHeight() { return 480; }
  virtual bool IsDualView() { return false; }
  virtual bool IsEyeSwapped() { return false; }
  // Application mode 3 is the debug run.
  virtual bool IsDebugRun() { return false; }
  // The "DebugDisableRender" text (class names separated by blanks or commas).
  virtual const char* GetDebugDisableRender() { return ""; }

  // Product hooks.
  virtual float GetDefaultRange() { return 80.0f; }
  virtual D3DXVECTOR3 GetWaterCurrent(float /*time*/, const D3DXVECTOR3& /*position*/) {
    return D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  }
  virtual void SetMatrixShaderConstants(C4VertexObject* /*object*/) {}
  virtual void SetFrameShaderConstants() {}
  virtual void ResetHalationFlag() {}
  virtual bool IsScenePaused() { return false; }
  virtual void CameraStartHook() {}
  virtual D3DXVECTOR3 GetLightDirection() { return D3DXVECTOR3(0.0f, -1.0f, 0.0f); }
  virtual float GetSunVisibility() { return 1.0f; }
  // Red, green, blue, alpha as floats 0..1.
  virtual D3DXVECTOR4 GetFogColor() { return D3DXVECTOR4(0.0f, 0.0f, 0.0f, 1.0f); }
  virtual bool HideCameraObject() { return false; }
  // The "Lights" scene setting (0 dazzling .. 2 dark, 3 not yet resolved)
  // and the "PartialMorph" technical setting.
  virtual int GetLightsSetting() { return 3; }
  virtual bool IsPartialMorphEnabled() { return true; }
  // Settings by item position (the scene's SettingIds); 0 without a program.
  virtual int GetSceneSetting(int /*pos*/) { return 0; }
  virtual int GetTechSetting(int /*pos*/) { return 0; }
  // The "DebugDisplayFlag" bits of [Display].
  virtual int GetDebugDisplayFlag() { return 0; }
  virtual int GetMultiSurfaceCount() { return 0; }
  virtual bool IsMultiSurface() { return false; }
  // Text panels print only at level 2 or above.
  virtual int GetPanelLevel() { return 2; }
  // Status line: whether it is shown (the DisplayInfo scene setting), the
  // frame rate and the application's statistic texts.
  virtual bool IsDisplayInfoShown() { return false; }
  virtual float GetFramesPerSecond() { return 0.0f; }
  virtual const char* GetFrameStatsText() { return ""; }
  virtual const char* GetSecondStatsText() { return ""; }
  virtual const char* GetDeviceStatsText() { return ""; }
};

// Never null: the default host when none is installed.
C3SceneHost* GetSceneHost();
void SetSceneHost(C3SceneHost* host);

// The scene's main camera; null until the product makes one. Work that needs
// the camera (distances, visibility, the draw passes) is skipped without it.
C3Camera* GetMainCamera();
void SetMainCamera(C3Camera* camera);
