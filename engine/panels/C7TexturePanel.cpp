#include "C7TexturePanel.h"

#include "GlyphAtlas.h"
#include "frame/C3SceneHost.h"
#include "servers/StaticTables.h"
#include "world/C3World.h"

C7TexturePanel::C7TexturePanel(float left, float top, float width, float fadeSpeed)
    : cells_(left, top, width, fadeSpeed) {
  SetClassName("C7TexturePanel");
  flags |= kObjLate | kObjAlwaysVisible;
  drawFlags &= ~kDrawStrips;
  shaderDescriptors = g_TexturePanelShaders;
  shaderCount = 1;
  stateRecords = g_TexturePanelStates;
  AddTexture(kGlyphAtlasData, kGlyphAtlasSize);
}

C7TexturePanel::~C7TexturePanel() { cells_.Invalidate(); }

HRESULT C7TexturePanel::RestoreDeviceObjects() {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!device) return 0;
  HRESULT hr = cells_.Restore(device);
  if (hr != 0) return hr;
  return C4VertexObject::RestoreDeviceObjects();
}

HRESULT C7TexturePanel::InvalidateDeviceObjects() {
  cells_.Invalidate();
  return C4VertexObject::InvalidateDeviceObjects();
}

HRESULT C7TexturePanel::Move(float current, float previous) { return cells_.Move(current, previous); }

HRESULT C7TexturePanel::Render() {
  C3World* world = C3World::Current();
  if (!world || world->currentView != 0) return 0;  // first view only
  PanelDrawContext c;
  FillDrawContext(&c);
  if (!vertexShaders.empty()) {
    c.copyVs = vertexShaders[0];
    c.copyDecl = declarations[0];
  }
  c.atlas = textures.empty() ? nullptr : textures[0];
  return cells_.Draw(c);
}

void C7TexturePanel::AddLine(const char* text) { cells_.AddLine(text ? text : ""); }

void C7TexturePanel::PrintfV(C7TexturePanel* panel, const char* format, va_list args) {
  if (!panel || !format || GetSceneHost()->GetPanelLevel() < 2) return;
  char buffer[kPanelFormatBuffer];
  FormatPanelText(buffer, format, args);
  panel->AddLine(buffer);
  panel->cells_.SetAlpha(1.0f);
}

void C7TexturePanel::Printf(C7TexturePanel* panel, const char* format, ...) {
  va_list args;
  va_start(args, format);
  PrintfV(panel, format, args);
  va_end(args);
}
