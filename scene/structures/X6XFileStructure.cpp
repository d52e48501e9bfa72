#include "X6XFileStructure.h"

#include <cstring>

#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "servers/TextureTable.h"
#include "util/ComRelease.h"

namespace {

constexpr float kWorldScale = 0.02f;
constexpr float kStartHeight = -2.0f;

// A texture pair of the model, or null when the model has no such entry.
const X2FishTexture* TexturePair(const X2FishModel* model, uint32_t index) {
  if (!model || (model->flags & X2_MODEL_TEXTURE_FILE) || !model->textures || index >= model->textureCount)
    return nullptr;
  const X2FishTexture* t = &model->textures[index];
  return t->data && t->size > 0 ? t : nullptr;
}

void AddTexturePair(X5SkinObject* object, const X2FishModel* model, uint32_t index) {
  if (const X2FishTexture* t = TexturePair(model, index)) object->AddTexture(t->data, t->size);
}

}  // namespace

int AddModelXBlocks(X5SkinObject* object, const X2FishModel& model) {
  int added = object->AddXBlock(model.baseMesh) ? 1 : 0;
  uint32_t further = 0;
  std::memcpy(&further, &model.swimBase, sizeof further);
  if (further > 0 && !model.frames) {
    LogPrint("KWEX X blocks: %u further blocks without a table\n", further);
    return added;
  }
  for (uint32_t i = 0; i < further; ++i) added += object->AddXBlock(model.frames[i]) ? 1 : 0;
  return added;
}

void LoadStageTexture(X5SkinObject* object, const X2FishModel* model, const char* source) {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  const X2FishTexture* cube = TexturePair(model, 2);
  if (!device || !cube || object->stageTexture3) return;
  // A plug-in's image that is not a cube map is its bad data: the object is
  // drawn without the reflection.
  if (FAILED(CreateCubeTextureFromMemory(device, cube->data, cube->size, &object->stageTexture3))) {
    LogPrint("KWEX %s: cube texture not loaded\n", source);
    object->stageTexture3 = nullptr;
  }
}

std::map<const X2FishData*, X6XFileStructure::CachedModels>& X6XFileStructure::Cache() {
  static std::map<const X2FishData*, CachedModels> cache;
  return cache;
}

X6XFileStructure::X6XFileStructure(const X2FishData* rec) : record(rec) {
  SetClassName("X6XFileStructure");
  worldScale = kWorldScale;
  position.y = kStartHeight;
  dolphinShading = 0;
  flags &= ~kObjAlwaysVisible;
  if (!Model()) LogPrint("KWEX X File Structure NULL Data\n");
}

const X2FishModel* X6XFileStructure::Model() const {
  if (!record || record->modelCount == 0 || !record->model || !record->model->baseMesh) return nullptr;
  return record->model;
}

HRESULT X6XFileStructure::InitDeviceObjects() {
  const X2FishModel* model = Model();
  if (!model) return 0;
  AddTexturePair(this, model, 0);
  auto found = Cache().find(record);
  if (found == Cache().end()) {
    if (sources.empty()) AddModelXBlocks(this, *model);
    X5SkinObject::InitDeviceObjects();
    CachedModels& entry = Cache()[record];
    entry.models = models;
    entry.boxMin = boxMin;
    entry.boxMax = boxMax;
    entry.radius = radius;
  } else {
    models = found->second.models;
    boxMin = found->second.boxMin;
    boxMax = found->second.boxMax;
    radius = found->second.radius;
  }
  AddTexturePair(this, model, 1);
  return 0;
}

HRESULT X6XFileStructure::RestoreDeviceObjects() {
  HRESULT hr = FatalCheck("X6XFileSructure", __LINE__, __TIME__, X5SkinObject::RestoreDeviceObjects());
  if (hr != 0) return hr;
  LoadStageTexture(this, Model(), "X6XFileSructure");
  return 0;
}

HRESULT X6XFileStructure::DeleteDeviceObjects() {
  Cache().clear();
  return X5SkinObject::DeleteDeviceObjects();
}

HRESULT X6XFileStructure::Render() {
  FrameMove(0.0f);
  return X5SkinObject::Render();
}
