#include "StatusLine.h"

#include "diagnostics/Diagnostics.h"

const char* StatusSpeedText(float speedFactor) {
  if (speedFactor == 1.0f) return "";
  if (speedFactor == 0.5f) return "1/2";
  if (speedFactor == 0.25f) return "1/4";
  if (speedFactor == 0.125f) return "1/8";
  if (speedFactor == 2.0f) return "X2";
  if (speedFactor == 4.0f) return "X4";
  if (speedFactor == 8.0f) return "X8";
  return speedFactor > 1.0f ? "FAST" : "SLOW";
}

int FormatStatusLine(char* out, size_t size, float framesPerSecond, int fishCount,
                     float speedFactor) {
  return FormatBoundedV(out, size, "%.2ffps%5dfish %s", double(framesPerSecond), fishCount,
                        StatusSpeedText(speedFactor));
}
