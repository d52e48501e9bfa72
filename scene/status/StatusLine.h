#pragma once
// Text of the status line (C9DisplayInfo): frame rate, fish drawn in the
// previous frame and the simulation speed.
#include <cstddef>

// "" at 1.0, "1/2", "1/4", "1/8", "X2", "X4", "X8" at those factors exactly,
// else "FAST" above 1.0 and "SLOW" otherwise.
const char* StatusSpeedText(float speedFactor);
// "%.2ffps%5dfish %s" into out (bounded); returns the length written.
int FormatStatusLine(char* out, size_t size, float framesPerSecond, int fishCount,
                     float speedFactor);
