#pragma once
// The animated fog: colour and range that every shader uses. The colour is
// the Lights setting's base colour breathing slowly in each channel; the
// range starts between 15 and 25 units and ends at 50. The product's hooks
// read the colour (clear colour and fog render state) and have the fog write
// its range into vertex-shader constant 23 each frame.
#include <d3dx9math.h>

#include "world/C3Object.h"

constexpr float kFogRate = 0.1f;
constexpr float kFogStart = 20.0f;
constexpr float kFogEnd = 50.0f;
constexpr UINT kFogConstantRegister = 23;

// The base colour (r, g, b, a) of a Lights value 0..2; false for any other
// value (the caller keeps the colour it has).
bool FogBaseColour(int lights, D3DXVECTOR4* out);

// Colour and range at scene time t: with c = t x rate, s = sin c and
// k = cos 1.3c, red x (1 + 0.2 s), green x (1 + 0.4 (s + k)), blue x
// (1 + 0.2 k), alpha as it is; start 20 + 5 s, end 50.
struct FogFrame {
  D3DXVECTOR4 colour;
  float start;
  float end;
};
FogFrame AnimateFog(const D3DXVECTOR4& base, float t, float rate);

// Constant 23: (0, end, 1 / (end - start), 0); a range of no length gives
// 0 in the third place (no fog) rather than a division by zero.
void FogShaderConstant(float start, float end, float out[4]);

class X6Fog : public C3Object {
 public:
  X6Fog();

  HRESULT Move(float current, float previous) override;
  // Writes constant 23 to the device (when there is one) and to the copy.
  void SetShaderConstants();

  const D3DXVECTOR4& Colour() const { return colour; }

  // The animated colour, and the base it breathes around. An unknown Lights
  // value keeps the base, so the colour never compounds frame by frame.
  D3DXVECTOR4 colour{0.0f, 0.0f, 0.0f, 0.0f};
  D3DXVECTOR4 baseColour{0.0f, 0.0f, 0.0f, 0.0f};
  float rate = kFogRate;
  float fogStart = kFogStart;
  float fogEnd = kFogEnd;
};
