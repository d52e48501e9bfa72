#pragma once
// The logo: a polished emblem that turns in front of the camera for the
// first 20 seconds of scene time. With pixel shaders its relief reflects an
// environment cube; without them it shows a reflection picture looked up by
// its normals.
#include "world/C4VertexObject.h"

class C3Logo : public C4VertexObject {
 public:
  C3Logo();
  ~C3Logo() override;

  // With pixel shaders, also the environment cube.
  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  // Releases the textures with the device.
  HRESULT DeleteDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;

  IDirect3DCubeTexture9* cube = nullptr;

 private:
  void ReleaseCube();
};
