#include "C3Logo.h"

#include "LightContent.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "light/LightTables.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/TextureTable.h"
#include "world/C3World.h"

#define LOGO_CHECK(code) FatalCheck("C3Logo", __LINE__, __TIME__, (code))

namespace {

// Vertex-shader constant 38: w repeats the relief over the emblem.
const float kLogoConstant[4] = {0.0f, 0.0f, 0.0f, 10.0f};

}  // namespace

C3Logo::C3Logo() {
  SetClassName("C3Logo");
  flags |= kObjAlwaysVisible;
  shaderDescriptors = g_LogoShaders;
  shaderCount = kLogoShaderCount;
  stateRecords = g_LogoStates;
  AddMesh(&LightContent::kLogoMesh);
  AddTexture(LightContent::kLogoReliefImage.data, LightContent::kLogoReliefImage.size);
  AddTexture(LightContent::kLogoSphereImage.data, LightContent::kLogoSphereImage.size);
  position = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
}

C3Logo::~C3Logo() { ReleaseCube(); }

void C3Logo::ReleaseCube() {
  if (cube) {
    cube->Release();
    cube = nullptr;
  }
}

HRESULT C3Logo::RestoreDeviceObjects() {
  C3World* scene = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (device && scene && scene->vsServer && scene->vsServer->UsePixelShaders() && !cube) {
    LOGO_CHECK(CreateCubeTextureFromMemory(device, LightContent::kLogoCubeImage.data,
                                           LightContent::kLogoCubeImage.size, &cube));
  }
  return C4VertexObject::RestoreDeviceObjects();
}

HRESULT C3Logo::InvalidateDeviceObjects() {
  ReleaseCube();
  return C4VertexObject::InvalidateDeviceObjects();
}

HRESULT C3Logo::DeleteDeviceObjects() {
  // The textures go with the device: one kept past it would hold the device
  // open (and be used on the next one after a device change).
  ReleaseCube();
  return C4VertexObject::DeleteDeviceObjects();
}

HRESULT C3Logo::Move(float current, float previous) {
  const float step = current - previous;
  rotX += step;
  rotY += step * 0.5f;
  return C4VertexObject::Move(current, previous);
}

HRESULT C3Logo::Render() {
  C3World* scene = C3World::Current();
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!scene || scene->settled || !device || !scene->vsServer || !scene->sbServer) return 0;
  if (vertexShaders.size() < static_cast<size_t>(kLogoShaderCount) || !IsMeshDrawable(0)) return 0;
  scene->sbServer->SetSB(stateBlock);
  SetShaderMatrices();
  SetVertexConstants(device, 38, kLogoConstant, 1);
  if (scene->vsServer->UsePixelShaders() && cube) {
    scene->vsServer->SetShaders(vertexShaders[kLogoEnvVs], vertexShaders[kLogoPs], declarations[kLogoEnvVs]);
    LOGO_CHECK(device->SetTexture(0, textures.empty() ? nullptr : textures[0]));
    LOGO_CHECK(device->SetTexture(1, nullptr));
    LOGO_CHECK(device->SetTexture(2, nullptr));
    LOGO_CHECK(device->SetTexture(3, cube));
  } else {
    scene->vsServer->SetShaders(vertexShaders[kLogoSphereVs], nullptr, declarations[kLogoSphereVs]);
    LOGO_CHECK(device->SetTexture(0, textures.size() > 1 ? textures[1] : nullptr));
  }
  BindStreams(0);
  DrawMesh(0);
  if (cube) LOGO_CHECK(device->SetTexture(3, nullptr));
  return 0;
}
