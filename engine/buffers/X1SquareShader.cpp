#include "X1SquareShader.h"

#include <cstring>

#include "diagnostics/Diagnostics.h"
#include "servers/VBServer.h"
#include "util/ComRelease.h"

const X1SquareShader::Vertex X1SquareShader::kVertices[4] = {
    {-1.0f, -1.0f, 0.0f, 0.0f, 1.0f},
    {1.0f, -1.0f, 0.0f, 1.0f, 1.0f},
    {1.0f, 1.0f, 0.0f, 1.0f, 0.0f},
    {-1.0f, 1.0f, 0.0f, 0.0f, 0.0f},
};

X1SquareShader::~X1SquareShader() { ReleaseBuffer(); }

HRESULT X1SquareShader::CreateBuffer(IDirect3DDevice9* device) {
  // A second call replaces the buffer instead of leaking the first.
  ReleaseBuffer();
  if (!device) return E_POINTER;
  HRESULT hr = device->CreateVertexBuffer(sizeof kVertices, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED,
                                          &buffer_, nullptr);
  if (FatalCheck("X1SquareShader", __LINE__, __TIME__, hr)) return hr;
  void* data = nullptr;
  hr = buffer_->Lock(0, 0, &data, 0);
  if (FatalCheck("X1SquareShader", __LINE__, __TIME__, hr)) return hr;
  memcpy(data, kVertices, sizeof kVertices);
  FatalCheck("X1SquareShader", __LINE__, __TIME__, buffer_->Unlock());
  return 0;
}

HRESULT X1SquareShader::ReleaseBuffer() {
  SafeRelease(buffer_);
  return 0;
}

void X1SquareShader::SetStream(VBServer* server) {
  if (server) server->SetVB(0, buffer_, sizeof(Vertex), true);
}
