#pragma once
// The product's hooks into the engine frame. For now they take the engine's
// defaults; the product's own answers (window names, render states after a
// restore) are filled in here.

// The window title and class the application registers and the single-
// instance test looks for.
void GetWindowNames(const char** title, const char** className);

// Render states set after every device creation and reset.
void RestoreRenderStates();
