#pragma once
// Shader constants with the process-wide copy of the registers: every vertex-
// and pixel-shader constant the program sets is written to the device and to
// this copy (four floats per register, vertex and pixel registers apart).
#include <d3d9.h>

constexpr int kShaderConstantRegisters = 256;

// Registers outside the copy are still set on the device but not copied.
HRESULT SetVertexConstants(IDirect3DDevice9* device, int first, const float* values, int count);
HRESULT SetPixelConstants(IDirect3DDevice9* device, int first, const float* values, int count);
// The copy of one register (null outside 0..255).
const float* VertexConstantCopy(int reg);
const float* PixelConstantCopy(int reg);
