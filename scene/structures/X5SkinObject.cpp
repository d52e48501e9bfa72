#include "X5SkinObject.h"

#include <algorithm>

#include "X5Animation.h"
#include "X5MeshContainer.h"
#include "X5SkinTables.h"
#include "diagnostics/Diagnostics.h"
#include "servers/StaticTables.h"
#include "util/ComRelease.h"
#include "util/Inflate.h"
#include "world/C3World.h"

namespace {

// Inflated X files larger than this are refused.
constexpr size_t kXSizeLimit = 64u << 20;
// Room beyond a block's stated size, as its maker may have rounded it down.
constexpr size_t kInflateSlack = 4096;

}  // namespace

X5SkinObject::X5SkinObject() {
  SetClassName("X5SkinObject");
  shaderDescriptors = SkinShaderList(2);
  shaderCount = kSkinShaderCount;
  stateRecords = g_StateListS1;
}

X5SkinObject::~X5SkinObject() {
  SafeRelease(stageTexture3);
  models.clear();
}

bool X5SkinObject::AddXBlock(const X2FishMesh* block) {
  if (!block || !block->xBlock) {
    LogPrint("KWEX X block missing\n");
    return false;
  }
  return AddXBlock(block->xBlock->data, block->xBlock->size, block->vertexCount);
}

bool X5SkinObject::AddXBlock(const void* data, uint32_t size, uint32_t inflatedSize) {
  const size_t capacity = size_t(inflatedSize) + kInflateSlack;
  if (!data || size == 0 || capacity > kXSizeLimit) {
    LogPrint("KWEX X block refused:%u:%u\n", static_cast<unsigned>(size), static_cast<unsigned>(inflatedSize));
    return false;
  }
  std::unique_ptr<unsigned char[]> buffer(new unsigned char[capacity]);
  size_t length = 0;
  if (!InflateBlock(data, size, buffer.get(), capacity, &length) || length == 0) {
    LogPrint("KWEX X block expansion.\n");
    return false;
  }
  D3DXF_FILELOADMEMORY source;
  source.lpMemory = buffer.get();
  source.dSize = length;
  sources.push_back(source);
  inflated_.push_back(std::move(buffer));
  return true;
}

HRESULT X5SkinObject::InitDeviceObjects() {
  if (!models.empty()) {
    ReloadMeshes();
    return 0;
  }
  // A file that does not load is a plug-in's bad data: it is logged and left
  // out, and the object shows the models that did load.
  for (size_t i = 0; i < sources.size(); ++i) {
    std::shared_ptr<X5LoadedModel> model;
    HRESULT hr = LoadXFile(&sources[i], &model, true);
    if (FAILED(hr) || !model) {
      LogPrint("KWEX X file load fail:%s:%d:%X\n", className, static_cast<int>(i), static_cast<unsigned>(hr));
      continue;
    }
    model->sourceIndex = i;
    models.push_back(std::move(model));
  }
  return 0;
}

void X5SkinObject::ReloadMeshes() {
  for (const auto& model : models) {
    if (model->sourceIndex >= sources.size()) continue;
    std::shared_ptr<X5LoadedModel> fresh;
    HRESULT hr = LoadXFile(&sources[model->sourceIndex], &fresh, true);
    if (FAILED(hr) || !fresh) {
      LogPrint("KWEX X file reload fail:%s:%d:%X\n", className, static_cast<int>(model->sourceIndex),
               static_cast<unsigned>(hr));
      continue;
    }
    if (!TakeMeshContainers(model->root.get(), fresh->root.get()))
      LogPrint("KWEX X file reload: frames differ:%s\n", className);
    LinkBones(model.get());
  }
}

HRESULT X5SkinObject::InvalidateDeviceObjects() {
  for (const auto& model : models)
    ForEachFrame(model->root.get(), [](X5Frame* frame) {
      for (auto& container : frame->meshContainers)
        if (container->IsSkinned()) container->ReleaseDrawable();
    });
  C4VertexObject::InvalidateDeviceObjects();
  SafeRelease(stageTexture3);
  return 0;
}

HRESULT X5SkinObject::DeleteDeviceObjects() {
  // The frame trees belong to the scene and stay: a plug-in may hold a
  // frame's matrix (FindFrameMatrix). Only what lives on the device goes;
  // the next InitDeviceObjects reads the meshes again into the same frames.
  // Models other objects still hold (and may still draw) are theirs to
  // keep: this object only lets go of them and loads afresh next time.
  const bool ours = std::all_of(models.begin(), models.end(),
                                [](const std::shared_ptr<X5LoadedModel>& m) { return m.use_count() == 1; });
  if (!ours) models.clear();
  for (const auto& model : models)
    ForEachFrame(model->root.get(), [](X5Frame* frame) {
      for (auto& container : frame->meshContainers) container->ReleaseDeviceObjects();
    });
  return C4VertexObject::DeleteDeviceObjects();
}

HRESULT X5SkinObject::FinalCleanUp() {
  models.clear();
  sources.clear();
  inflated_.clear();
  return C4VertexObject::FinalCleanUp();
}

HRESULT X5SkinObject::Move(float current, float previous) {
  C4VertexObject::Move(current, previous);
  tint = D3DXVECTOR4(0.5f, 0.5f, 0.5f, 1.0f);
  D3DXVECTOR3 light(0.0f, -1.0f, 0.0f);
  if (C3World* world = C3World::Current()) light = world->lightDirection;
  lightPoint = position + light * 3.0f;
  lightPoint.y += 1.0f;
  return 0;
}

void X5SkinObject::FrameMove(float t) {
  const double tick = static_cast<double>(t) * kAnimationTicksPerSecond;
  for (const auto& model : models)
    for (X5Frame* node = model->animations; node; node = node->nextAnimation) SampleAnimation(*node, tick);
}

void X5SkinObject::UpdateMatrices() {
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  for (const auto& model : models) {
    model->root->localMatrix = identity;
    model->root->UpdateCombined(identity);
  }
}

D3DXMATRIX* X5SkinObject::FindFrameMatrix(const char* name) {
  if (models.empty() || !name) return nullptr;
  X5Frame* frame = models[0]->root->Find(name);
  return frame ? &frame->localMatrix : nullptr;
}

bool X5SkinObject::SetBoneParameter(int index, float value) {
  if (index < 0 || index >= kBoneParameterCount) {
    LogPrint("KWEX bone parameter index %d\n", index);
    return false;
  }
  boneParameters[index] = value;
  return true;
}

void X5SkinObject::GetMaterialColour(const X5MeshContainer*, int, const char*, float*, float*) {}
