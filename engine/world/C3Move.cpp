#include "C3Move.h"

#include <cmath>

#include "C3Camera.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"

C3Move::C3Move() {
  SetClassName("C3Move");
  // Both start as identity so that a first failing frame has a sound fallback.
  D3DXMatrixIdentity(&rotation);
  D3DXMatrixIdentity(&lastGoodWorld);
}

bool GuardWorldMatrix(D3DXMATRIX* world, D3DXMATRIX* lastGood, bool composed) {
  bool replaced = false;
  if (!composed) {
    *world = *lastGood;
    DebugPrint(1, "!MMX");
    replaced = true;
  }
  for (int i = 0; i < 16; ++i) {
    if (std::isnan(static_cast<const float*>(*world)[i])) {
      *world = *lastGood;
      DebugPrint(1, "!MMX2");
      replaced = true;
    }
  }
  *lastGood = *world;
  return replaced;
}

HRESULT C3Move::Move(float current, float previous) {
  if (C3Camera* camera = GetMainCamera()) {
    D3DXVECTOR3 eye;
    camera->GetPosition(&eye);
    D3DXVECTOR3 d = position - eye;
    cameraDistance = D3DXVec3Length(&d);
  }
  int ok = ComposeWorldMatrix(current, previous);
  GuardWorldMatrix(&world, &lastGoodWorld, ok != 0);
  return 0;
}

HRESULT C3Move::FinalCleanUp() { return 0; }

int C3Move::ComposeWorldMatrix(float current, float previous) {
  D3DXMATRIX rx, rz, ry;
  D3DXMatrixRotationX(&rx, rotX);
  D3DXMatrixRotationZ(&rz, rotZ);
  D3DXMatrixRotationY(&ry, rotY);
  rotation = rx * rz * ry;
  D3DXVECTOR3 forward(-1.0f, 0.0f, 0.0f);
  D3DXVec3TransformCoord(&heading, &forward, &rotation);
  D3DXMATRIX s;
  D3DXMatrixScaling(&s, scale, scale, scale);
  D3DXMATRIX m = rotation * s;
  float dt = current - previous;
  position += heading * (speed * dt);
  if (HasFlag(kObjDrift)) {
    D3DXVECTOR3 c = GetSceneHost()->GetWaterCurrent(current, position);
    position += c * dt;
  }
  D3DXMATRIX t;
  D3DXMatrixTranslation(&t, position.x, position.y, position.z);
  world = m * t;
  return 1;
}
