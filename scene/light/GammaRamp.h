#pragma once
// The screen gamma ramp of the scene: neutral, or with the red channel
// lowered by the water setting (Waterity) so that deeper-looking water
// loses its red first.
#include <d3d9.h>

// Red factor by Waterity 0..3: 1.0, 0.8, 0.3, 0.1; values outside the
// table take its nearest end.
float WaterityTint(int waterity);

// Entry i of green and blue is 257 x i (0 .. 65535, the identity ramp);
// red is tint x 257 x i, truncated, with tint kept within 0..1.
void BuildGammaRamp(float tint, D3DGAMMARAMP* ramp);
