#pragma once
#include <windows.h>

// Configure mode: Direct3D, the device enumeration (logged) and the start
// settings of TheApp, without a window. Failures are shown as must-exit boxes
// and returned.
HRESULT CreateConfigD3D();
