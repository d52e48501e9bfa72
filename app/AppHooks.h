#pragma once
// The product's answers to the engine: the exit-on-input rule,
// speed keys, device caps, render states after each restore, fog colour and
// light defaults, and the shader constants per object and per frame.
//
// Everything here works without the scene: what a scene object would answer
// is passed in by the caller (MyApplication or the hook that owns the
// object), and the defaults used while an object does not exist are here.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9math.h>

#include "frame/C3Application.h"  // command ids of accelerator table 113
#include "world/C3TimeLine.h"     // speed factor limits
#include "CommandLine.h"    // run modes
#include "util/EngineUtil.h"     // HasNaN4

// A command the product swallows without doing anything.
constexpr WORD kCmdIgnored = 32774;

// abs(dx) + abs(dy) of a mouse move that ends the saver.
constexpr int kMouseExitDistance = 10;

// ---- Window messages -----------------------------------------------------

// What the product does with one window message.
struct MessageDecision {
  bool handled = false;        // result 0; neither the arcball nor the base see it
  bool postClose = false;      // post WM_CLOSE to the window
  bool logInput = false;       // log "get key/mouse"
  bool newStartPoint = false;  // the cursor becomes the mouse start point
  bool capture = false;        // set the world's capture request
  int speedStep = 0;           // +1 double, -1 halve the world's speed factor
};

// The decision for `message` in run `mode`. `cursor` is the screen position
// of the cursor (GetCursorPos), read for WM_MOUSEMOVE only.
MessageDecision DecideWindowMessage(UINT message, WPARAM wParam, int mode, bool disableMouseExit,
                                    POINT mouseStart, POINT cursor);

// Carries out the window side of a decision (post WM_CLOSE, log, move the
// start point). Returns decision.handled: true means return 0, false means
// hand the message to the arcball and the base.
bool ApplyMessageDecision(HWND window, const MessageDecision& decision, POINT cursor,
                          POINT* mouseStart);

// The speed factor after one speed key: doubled up to 8, halved down to
// 0.125. step 0 returns it unchanged.
float NextSpeedFactor(float current, int step);

// ---- Device --------------------------------------------------------------

// 0 when the device can run the program's vertex shaders: software vertex
// processing always can; otherwise vs 1.0 is needed. E_FAIL else.
HRESULT CheckVertexProcessingCaps(const D3DCAPS9* caps, DWORD behaviourFlags);

// 1 when PixelShader11 is on and the device has ps 1.0 or better.
int UsePixelShadersFor(DWORD pixelShaderVersion);

// Sampler and render states after every device creation and reset (the
// RestoreRenderStates hook applies them to the application's device).
void ApplyRenderStates(IDirect3DDevice9* device, DWORD textureFilterCaps);

// ---- Settings-driven answers ---------------------------------------------

int GetMultiSurfaceCount();  // frame-trail length by MultiSurface
int IsMultiSurface();        // 1 when glare buffers are made
float GetDefaultRange();
int HideCameraObject();
int GetPanelLogLevel();
void CameraStartHook();
void ZeroBlock32(void* record);

// ---- Lights and fog ------------------------------------------------------

// Levels of the per-frame lighting constants by the Lights setting (0..2);
// any other value gives zero levels.
struct LightsLevels {
  float ambient;  // c25
  float diffuse;  // c26
  float extra;    // c27 carries twice this
};
LightsLevels LevelsForLights(int lights);

// The fog colour (R, G, B, A) while there is no fog object.
D3DXVECTOR4 DefaultFogColor(int lights);
// The light direction while there is no sun light: (0, -0.707106, 0.707106).
D3DXVECTOR3 DefaultLightDirection();
// The hook answers: the fog object's colour when there is one, else the
// colour by the Lights setting; the sun's direction when there is a sun
// light, else the default direction.
D3DXVECTOR4 GetFogColor(const D3DXVECTOR4* fogObjectColour);
D3DXVECTOR3 GetLightDirection(const D3DXVECTOR3* sunDirection);
// Each channel clamped to 0..1, times 255, plus 0.5, truncated; packed ARGB.
D3DCOLOR PackFogColor(const D3DXVECTOR4& colour);

// ---- Shader constants (through the process-wide copy) ---------------------

// c8-c11 world; c0-c3 transposed world x view x projection; c12-c15 the
// transposed world and c16-c18 its first three rows; c4-c7 transposed
// world x view; c19-c21 the first three rows of the transposed view.
HRESULT WriteMatrixShaderConstants(IDirect3DDevice9* device, const D3DXMATRIX& world,
                                   const D3DXMATRIX& worldViewProjT, const D3DXMATRIX& worldViewT,
                                   const D3DXMATRIX& viewT);

constexpr int kFishLightSlots = 4;

struct FishLightConstants {
  bool present = false;
  D3DXVECTOR4 colour{0, 0, 0, 0};      // the light's current colour
  D3DXVECTOR3 fishPosition{0, 0, 0};   // the bound fish
  float fishRotationX = 0;
};

struct FrameShaderInputs {
  D3DXVECTOR3 lightDirection{0, 0, 0};  // the world's light direction
  int lights = 0;                       // SceneSettings Lights
  D3DXVECTOR3 cameraPosition{0, 0, 0};
  FishLightConstants fishLights[kFishLightSlots];
  D3DXVECTOR4 fogColour{0, 0, 0, 0};    // GetFogColor
};

// The per-frame part after the fog object's own constants: c24 light, c25-c28
// levels, c22 camera, c29-c36 the lone-fish lights that exist, and the fog
// colour render state.
HRESULT WriteFrameShaderConstants(IDirect3DDevice9* device, const FrameShaderInputs& in);
