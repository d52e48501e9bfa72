#pragma once
// The process-wide copy of the shader constant registers.
//
// Every vertex- and pixel-shader constant the program sets goes through these
// functions, which write the device and keep the same four floats per
// register in a copy that code without the device (or after a reset) can
// read. Vertex and pixel registers are kept apart.
#include <d3d9.h>

constexpr UINT kVertexConstantCopyRegisters = 256;  // vs_3_0 float registers
constexpr UINT kPixelConstantCopyRegisters = 224;   // ps_3_0 float registers

// Writes `count` registers (4 floats each) from `first` to the device and to
// the copy. Registers outside the copy are written to the device only.
// Returns the device result (0 without a device: the copy is still written).
// No data or no registers is a no-op that returns 0.
HRESULT SetVertexConstants(IDirect3DDevice9* device, UINT first, const float* data, UINT count);
HRESULT SetPixelConstants(IDirect3DDevice9* device, UINT first, const float* data, UINT count);

// The four floats of one register of the copy; null outside the copy.
const float* VertexConstantCopy(UINT reg);
const float* PixelConstantCopy(UINT reg);

// Sets every register of both copies to zero.
void ClearShaderConstantCopy();
