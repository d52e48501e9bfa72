#include "ApplicationHooks.h"

#include "AppHooks.h"
#include "MyApplication.h"

void GetWindowNames(const char** title, const char** className) {
  if (title) *title = "Orvex Engine Reefmoor 2";
  if (className) *className = "Orvex_Engine_Qelvar_CLASS";
}

void RestoreRenderStates() {
  if (!TheApp || !TheApp->Device()) return;
  ApplyRenderStates(TheApp->Device(), TheApp->Caps().TextureFilterCaps);
}

int UsePixelShaders() {
  if (!TheApp) return 0;
  return UsePixelShadersFor(TheApp->Caps().PixelShaderVersion);
}
