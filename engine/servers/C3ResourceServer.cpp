#include "C3ResourceServer.h"

HRESULT C3ResourceServer::InitDeviceObjects(IDirect3DDevice9* device) {
  device_ = device;
  return 0;
}

bool C3ResourceServer::UsePixelShaders() const {
  return pixelShaderQuery_ == nullptr || pixelShaderQuery_();
}
