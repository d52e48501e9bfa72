#include "ApplicationHooks.h"

#include "AppHooks.h"
#include "MyApplication.h"

void RestoreRenderStates() {
  if (!TheApp || !TheApp->Device()) return;
  ApplyRenderStates(TheApp->Device(), TheApp->Caps().TextureFilterCaps);
}

int UsePixelShaders() {
  if (!TheApp) return 0;
  return UsePixelShadersFor(TheApp->Caps().PixelShaderVersion);
}
