#pragma once
// Scene pieces shared by the tests that draw a world on a test device: a
// scene host answering with the device (and one clearing to blue), a camera
// looking along +z, the fish lighting host (the product's shader constants
// with a fixed sun, light levels and fog from 20 to 50 units), and a world
// opened on them.
// Header only: the tests that include it link the engine.
#include <d3dx9.h>

#include <string>

#include "D3DTestDevice.h"
#include "TestSupport.h"
#include "frame/C3SceneHost.h"
#include "servers/ShaderConstantCopy.h"
#include "world/C3Camera.h"
#include "world/C3World.h"
#include "world/C4VertexObject.h"

namespace qvtest {

// The device and its back-buffer size; every other answer is the default one.
class DeviceSceneHost : public C3SceneHost {
 public:
  explicit DeviceSceneHost(D3DTestDevice& d) : dev(d) {}
  IDirect3DDevice9* GetDevice() override { return dev.Device(); }
  UINT GetBackBufferWidth() override { return dev.Params().BackBufferWidth; }
  UINT GetBackBufferHeight() override { return dev.Params().BackBufferHeight; }
  D3DTestDevice& dev;
};

// Clears to pure blue: drawn pixels stand apart from the cleared sea.
class BlueSeaHost : public DeviceSceneHost {
 public:
  using DeviceSceneHost::DeviceSceneHost;
  D3DXVECTOR4 GetFogColor() override { return D3DXVECTOR4(0.0f, 0.0f, 1.0f, 1.0f); }
};

// Looks from its position along +z.
class LookAlongZ : public C3Camera {
 public:
  D3DXVECTOR3* GetTarget(D3DXVECTOR3* out) override {
    *out = position + D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    return out;
  }
};

// The fish's shaders fed as the product feeds them: the matrices of every
// object, and per frame the camera (c22), fog from 20 to 50 units (c23), the
// sun shining down at 45 degrees (c24) and the Lights 0 levels (c25-c28).
class FishSceneHost : public DeviceSceneHost {
 public:
  FishSceneHost(D3DTestDevice& d, const D3DXVECTOR4& background) : DeviceSceneHost(d), sea(background) {}
  D3DXVECTOR4 GetFogColor() override { return sea; }
  D3DXVECTOR3 GetLightDirection() override { return D3DXVECTOR3(0.0f, -0.70710599f, 0.70710599f); }
  int GetLightsSetting() override { return 0; }
  bool IsPartialMorphEnabled() override { return partialMorph; }

  void SetMatrixShaderConstants(C4VertexObject* o) override {
    IDirect3DDevice9* d = dev.Device();
    D3DXMATRIX worldT;
    D3DXMatrixTranspose(&worldT, &o->world);
    const C4ShaderMatrices& m = o->Shading();
    SetVertexConstants(d, 0, m.worldViewProjectionT, 4);
    SetVertexConstants(d, 4, m.worldViewT, 4);
    SetVertexConstants(d, 8, o->world, 4);
    SetVertexConstants(d, 12, worldT, 4);
    SetVertexConstants(d, 16, worldT, 3);
    SetVertexConstants(d, 19, m.viewT, 3);
  }
  void SetFrameShaderConstants() override {
    IDirect3DDevice9* d = dev.Device();
    auto set = [d](UINT reg, float x, float y, float z, float w) {
      const float v[4] = {x, y, z, w};
      SetVertexConstants(d, reg, v, 1);
    };
    D3DXVECTOR3 eye(0.0f, 0.0f, 0.0f);
    if (C3Camera* camera = GetMainCamera()) camera->GetPosition(&eye);
    set(22, eye.x, eye.y, eye.z, 1.0f);
    set(23, 0.0f, 50.0f, 1.0f / 30.0f, 0.0f);
    D3DXVECTOR3 toSun = -GetLightDirection();
    D3DXVec3Normalize(&toSun, &toSun);
    set(24, toSun.x, toSun.y, toSun.z, 1.0f);
    set(25, 0.5f, 0.5f, 0.5f, 1.0f);
    set(26, 0.5f, 0.5f, 0.5f, 1.0f);
    set(27, 0.4f, 0.4f, 0.4f, 1.0f);
    set(28, 0.0f, 0.0f, 0.0f, 20.0f);
    d->SetRenderState(D3DRS_FOGCOLOR, D3DCOLOR_COLORVALUE(sea.x, sea.y, sea.z, 1.0f));
  }

  D3DXVECTOR4 sea;
  bool partialMorph = true;
};

// A new world on `host` whose first child is `camera`, the main camera.
inline C3World* OpenWorld(C3SceneHost* host, C3Camera* camera) {
  SetSceneHost(host);
  auto* world = new C3World;
  SetMainCamera(camera);
  world->AddChild(camera);
  return world;
}

// Releases the world's device objects, deletes it (nothing when it is
// null) and unsets the main camera and the host.
inline void CloseWorld(C3World*& world) {
  if (world) {
    world->InvalidateDeviceObjects();
    world->DeleteDeviceObjects();
    delete world;
    world = nullptr;
  }
  SetMainCamera(nullptr);
  SetSceneHost(nullptr);
}

// Saves the device's back buffer as build-x64/artefacts/<name>.png (or .bmp
// where PNG cannot be written); true when one was written.
inline bool SaveBackBufferArtefact(IDirect3DDevice9* device, const char* name) {
  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  IDirect3DSurface9* back = nullptr;
  if (!device || FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) return false;
  HRESULT hr = D3DXSaveSurfaceToFileA((folder + name + ".png").c_str(), D3DXIFF_PNG, back, nullptr, nullptr);
  if (FAILED(hr)) hr = D3DXSaveSurfaceToFileA((folder + name + ".bmp").c_str(), D3DXIFF_BMP, back, nullptr, nullptr);
  back->Release();
  return SUCCEEDED(hr);
}

}  // namespace qvtest
