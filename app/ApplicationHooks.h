#pragma once
// The product's hooks that answer from the application object (its device
// and caps) and its window names. The decisions themselves are in AppHooks.h.

// The window title and class the application registers and the single-
// instance test looks for.
void GetWindowNames(const char** title, const char** className);

// Render states set after every device creation and reset.
void RestoreRenderStates();

// 1 when PixelShader11 is on and the device has ps 1.0 or better.
int UsePixelShaders();
