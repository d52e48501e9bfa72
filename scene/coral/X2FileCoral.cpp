// The coral piece: its model variant, sway and world matrix.
#include "X2FileCoral.h"

#include "CoralLayout.h"
#include "X2FileCoralTables.h"
#include "diagnostics/Diagnostics.h"
#include "fish/FishMotion.h"

namespace {

bool IsMesh(const X2FishMesh* m, uint32_t stride) {
  return m && m->vertices && m->vertexCount > 0 && m->indices && m->primitiveCount > 0 && m->stride == stride;
}

// Key frames the sway can use: each a 24-byte mesh with indices and at least
// the rest mesh's vertices. Any unusable frame drops the whole ring.
uint32_t UsableFrames(const X2FishModel& m) {
  if (m.frameCount == 0 || !m.frames) return 0;
  for (uint32_t i = 0; i < m.frameCount; ++i) {
    const X2FishMesh* f = m.frames[i];
    if (!IsMesh(f, X2_STRIDE_MORPH) || f->vertexCount < m.baseMesh->vertexCount) {
      LogPrint("KWEX Coral frame %d unusable: no sway\n", static_cast<int>(i));
      return 0;
    }
  }
  return m.frameCount;
}

}  // namespace

X2FileCoral::X2FileCoral(const X2FishData* record, int variant) {
  SetClassName("X2FileCoral");
  // Hidden until its colony is first seated: before that it stands at the
  // world origin, in front of the starting camera.
  flags |= kObjAlwaysCulled;
  scale = SceneRandom() * 2.0f + 0.5f;
  swayOffset = SceneRandom();
  shaderDescriptors = g_CoralShaders;
  shaderCount = kCoralShaderCount;
  stateRecords = g_CoralStates;

  if (!record || !record->model || variant < 0 || static_cast<uint32_t>(variant) >= record->modelCount) {
    LogPrint("KWEX Coral: no model %d\n", variant);
    return;
  }
  const X2FishModel& m = record->model[variant];
  if (!IsMesh(m.baseMesh, X2_STRIDE_VERTEX)) {
    LogPrint("KWEX Coral: model %d has no usable mesh\n", variant);
    return;
  }
  AddMesh(m.baseMesh);
  if (m.flags & X2_MODEL_TEXTURE_FILE) {
    if (m.textureFile) AddTexture(m.textureFile, 0);
  } else if (m.textures) {
    for (uint32_t i = 0; i < m.textureCount; ++i)
      if (m.textures[i].data && m.textures[i].size > 0) AddTexture(m.textures[i].data, m.textures[i].size);
  }
  modelFlags = m.flags;
  const uint32_t frames = UsableFrames(m);
  if (frames > 0) {
    for (uint32_t i = 0; i < frames; ++i) AddMesh(m.frames[i]);
    morph = std::make_unique<C5MorphAnimation>();
    morph->Init(&meshes, 0, 1, frames);
    swayPhase = SceneRandom() * 50.0f;
  }
}

HRESULT X2FileCoral::Move(float current, float previous) {
  if (morph) {
    const CoralSway sway = StepCoralSway(swayPhase, swayOffset, current, previous, morph->FrameCount());
    swayPhase = sway.phase;
    morph->GetWeights(sway.amount, sway.framePosition);
  }
  return C4VertexObject::Move(current, previous);
}

int X2FileCoral::ComposeWorldMatrix(float, float) {
  ComposeCoralMatrices(yAngle, zAngle, xAngle, scale, stretch, position, &rotation, &world);
  return 1;
}
