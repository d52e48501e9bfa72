#include "X6Dolphin.h"

#include "X6XFileStructure.h"
#include "collision/X1CollisionServer.h"
#include "collision/X2FishCollision.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "world/C3World.h"

namespace {

constexpr float kWorldScale = 0.02f;
constexpr float kStartHeight = -2.0f;

}  // namespace

X6Dolphin::X6Dolphin(const X2FishData* rec) : record(rec) {
  SetClassName("X6Dolphin");
  worldScale = kWorldScale;
  position.y = kStartHeight;
  dolphinShading = 1;
  flags &= ~kObjAlwaysVisible;
  const X2FishModel* model = Model();
  if (!model) {
    LogPrint("KWEX Dolphin NULL Data\n");
    return;
  }
  AddModelXBlocks(this, *model);
  // Last: nothing after it may fail and leave the field with a dead body.
  if (record->flags & X2_FISH_BODY_COLLISION) X2FishCollision::Attach(this, &bodyCollision);
}

X6Dolphin::~X6Dolphin() {
  if (bodyCollision) bodyCollision->DetachBody();
  X2DeleteAIObject(ai);
  ai = nullptr;
}

const X2FishModel* X6Dolphin::Model() const {
  if (!record || record->modelCount == 0 || !record->model || !record->model->baseMesh) return nullptr;
  return record->model;
}

HRESULT X6Dolphin::InitDeviceObjects() {
  const X2FishModel* model = Model();
  if (!model) return 0;
  const uint32_t pairs = (model->flags & X2_MODEL_TEXTURE_FILE) || !model->textures ? 0 : model->textureCount;
  if (pairs > 0 && model->textures[0].data) AddTexture(model->textures[0].data, model->textures[0].size);
  X5SkinObject::InitDeviceObjects();
  if (pairs > 1 && model->textures[1].data) AddTexture(model->textures[1].data, model->textures[1].size);
  return 0;
}

HRESULT X6Dolphin::RestoreDeviceObjects() {
  HRESULT hr = FatalCheck("X6Dolphin", __LINE__, __TIME__, X5SkinObject::RestoreDeviceObjects());
  if (hr != 0) return hr;
  LoadStageTexture(this, Model(), "X6Dolphin");
  return 0;
}

void X6Dolphin::StepAI(float current, float previous) {
  // What the step returns is ignored: the dolphin keeps its AI.
  if (ai) ai->Step(current, previous, this);
}

HRESULT X6Dolphin::Move(float current, float previous) {
  StepAI(current, previous);
  return X5SkinObject::Move(current, previous);
}

HRESULT X6Dolphin::Render() {
  FrameMove(0.0f);
  StepAI(-1.0f, -1.0f);
  return X5SkinObject::Render();
}

int X6Dolphin::ComposeWorldMatrix(float, float) {
  D3DXMATRIX rx, rz, ry;
  D3DXMatrixRotationX(&rx, rotX);
  D3DXMatrixRotationZ(&rz, rotZ);
  D3DXMatrixRotationY(&ry, rotY);
  rotation = rx * rz * ry;
  const D3DXVECTOR3 forward(-1.0f, 0.0f, 0.0f);
  D3DXVec3TransformCoord(&heading, &forward, &rotation);
  D3DXMATRIX s, t;
  D3DXMatrixScaling(&s, worldScale, worldScale, worldScale);
  D3DXMatrixTranslation(&t, position.x, position.y, position.z);
  world = s * rotation * t;
  return 1;
}
