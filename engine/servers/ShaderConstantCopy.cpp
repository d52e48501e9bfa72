#include "ShaderConstantCopy.h"

#include <cstring>

namespace {

float g_vertexCopy[kVertexConstantCopyRegisters][4];
float g_pixelCopy[kPixelConstantCopyRegisters][4];

void CopyRegisters(float (*copy)[4], UINT size, UINT first, const float* data, UINT count) {
  if (!data || first >= size) return;
  UINT n = count;
  if (n > size - first) n = size - first;
  memcpy(copy[first], data, sizeof(float) * 4 * n);
}

}  // namespace

HRESULT SetVertexConstants(IDirect3DDevice9* device, UINT first, const float* data, UINT count) {
  if (!data || count == 0) return S_OK;
  CopyRegisters(g_vertexCopy, kVertexConstantCopyRegisters, first, data, count);
  return device ? device->SetVertexShaderConstantF(first, data, count) : S_OK;
}

HRESULT SetPixelConstants(IDirect3DDevice9* device, UINT first, const float* data, UINT count) {
  if (!data || count == 0) return S_OK;
  CopyRegisters(g_pixelCopy, kPixelConstantCopyRegisters, first, data, count);
  return device ? device->SetPixelShaderConstantF(first, data, count) : S_OK;
}

const float* VertexConstantCopy(UINT reg) {
  return reg < kVertexConstantCopyRegisters ? g_vertexCopy[reg] : nullptr;
}

const float* PixelConstantCopy(UINT reg) {
  return reg < kPixelConstantCopyRegisters ? g_pixelCopy[reg] : nullptr;
}

void ClearShaderConstantCopy() {
  memset(g_vertexCopy, 0, sizeof g_vertexCopy);
  memset(g_pixelCopy, 0, sizeof g_pixelCopy);
}
