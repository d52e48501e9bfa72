#include "ShaderConstants.h"

#include <cstring>

namespace {
float g_vertexCopy[kShaderConstantRegisters][4];
float g_pixelCopy[kShaderConstantRegisters][4];

void Copy(float (*copy)[4], int first, const float* values, int count) {
  for (int i = 0; i < count; ++i) {
    const int reg = first + i;
    if (reg >= 0 && reg < kShaderConstantRegisters) memcpy(copy[reg], values + 4 * i, sizeof copy[reg]);
  }
}
}  // namespace

HRESULT SetVertexConstants(IDirect3DDevice9* device, int first, const float* values, int count) {
  if (!values || count <= 0) return 0;
  Copy(g_vertexCopy, first, values, count);
  return device ? device->SetVertexShaderConstantF(UINT(first), values, UINT(count)) : 0;
}

HRESULT SetPixelConstants(IDirect3DDevice9* device, int first, const float* values, int count) {
  if (!values || count <= 0) return 0;
  Copy(g_pixelCopy, first, values, count);
  return device ? device->SetPixelShaderConstantF(UINT(first), values, UINT(count)) : 0;
}

const float* VertexConstantCopy(int reg) {
  return reg >= 0 && reg < kShaderConstantRegisters ? g_vertexCopy[reg] : nullptr;
}

const float* PixelConstantCopy(int reg) {
  return reg >= 0 && reg < kShaderConstantRegisters ? g_pixelCopy[reg] : nullptr;
}
