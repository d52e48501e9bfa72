// The fish of a species record: meshes, frames, parts, textures, swim values.
#include "X2FileFish.h"

#include <algorithm>
#include <cmath>

#include "C5PartialMorphCache.h"
#include "collision/X1CollisionServer.h"
#include "collision/X2FishCollision.h"
#include "common/SceneGlobals.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "world/C3World.h"

namespace {

// Far mesh beyond this distance (times the camera's LOD scale).
constexpr float kFishLodDistance = 10.0f;

bool IsMesh(const X2FishMesh* m, uint32_t stride) {
  return m && m->vertices && m->vertexCount > 0 && m->indices && m->primitiveCount > 0 && m->stride == stride;
}

// Key frames the morph can use: each one a 24-byte mesh holding at least
// the rest mesh's vertices. Any unusable frame drops the whole ring.
uint32_t UsableFrames(const X2FishModel& m) {
  if (m.frameCount == 0 || !m.frames) return 0;
  for (uint32_t i = 0; i < m.frameCount; ++i) {
    const X2FishMesh* f = m.frames[i];
    if (!f || !f->vertices || f->stride != 24 || f->vertexCount < m.baseMesh->vertexCount) {
      LogPrint("KWEX File Fish frame %d unusable: no morph\n", static_cast<int>(i));
      return 0;
    }
  }
  return m.frameCount;
}

float Finite(float value, float fallback) { return std::isfinite(value) ? value : fallback; }

}  // namespace

X2FileFish::X2FileFish(const X2FishData* record) {
  SetClassName("X2FileFish");
  flags |= kObjSorted;
  const X2FishModel* model = record ? record->model : nullptr;
  if (!model || !IsMesh(model->baseMesh, 32)) {
    LogPrint("File Fish NULL Data\n");
    return;
  }
  const X2FishModel& m = *model;
  C5PartialMorphCache* cache = C5PartialMorphCache::Shared(true);

  AddMesh(m.baseMesh);
  const uint32_t frameCount = UsableFrames(m);
  for (uint32_t i = 0; i < frameCount; ++i) AddMesh(m.frames[i]);
  if (frameCount > 0) {
    morph = std::make_unique<C5MorphAnimation>();
    morph->Init(&meshes, 0, 1, frameCount);
  }

  partCount = 0;
  if (GetSceneHost()->IsPartialMorphEnabled() && m.pminfoMesh && m.parts && m.partCount > 0) {
    const int partialIndex = static_cast<int>(frameCount) + 1;
    AddMesh(m.pminfoMesh);
    if (m.partCount > static_cast<uint32_t>(kMaxFishParts))
      LogPrint("KWEX File Fish: %d parts, only %d are used\n", static_cast<int>(m.partCount), kMaxFishParts);
    partCount = static_cast<int>(std::min<uint32_t>(m.partCount, kMaxFishParts));
    if (const C5PartialMorph* built = cache->Obtain(&meshes, 0, partialIndex, m.parts, partCount))
      partialMorph = built->CopyFor(&meshes);
    parts.assign(m.parts, m.parts + partCount);
  }

  if (m.hasSecondMesh && m.secondMesh && IsMesh(m.secondMesh->mesh, 32)) {
    AddMesh(m.secondMesh->mesh);
    hasFarMesh = 1;
  }
  lodFactor = kFishLodDistance;

  if (m.flags & X2_MODEL_TEXTURE_FILE) {
    if (m.textureFile) AddTexture(m.textureFile, 0);
  } else if (m.textures) {
    const uint32_t count = m.textureCount + (m.hasExtraTexture ? 1 : 0);
    for (uint32_t i = 0; i < count; ++i)
      if (m.textures[i].data && m.textures[i].size > 0) AddTexture(m.textures[i].data, m.textures[i].size);
  }
  if (m.flags & X2_MODEL_TRIANGLE_LIST) drawFlags &= ~kDrawStrips;

  renderTextureScale = 1.4f;
  renderTextureSize = 256;
  swim.swimMax = Finite(m.swimMax, swim.swimMax);
  swim.swimBase = Finite(m.swimBase, swim.swimBase);
  swim.swimRate = Finite(m.swimRate, swim.swimRate);
  if (m.scale > 0.0f && std::isfinite(m.scale)) {
    scale = m.scale;
  } else {
    LogPrint("KWEX File Fish scale %g: 1.0 used\n", static_cast<double>(m.scale));
  }
  // Without a server or a world (a fish made outside the scene) there is
  // nothing to push against and no owner for the field.
  if (record->flags & X2_FISH_BODY_COLLISION) X2FishCollision::Attach(this, &bodyCollision);
}

X2FileFish::~X2FileFish() {
  if (bodyCollision) bodyCollision->DetachBody();
}

HRESULT X2FileFish::FinalCleanUp() {
  C5PartialMorphCache::Destroy();
  return C4VertexObject::FinalCleanUp();
}

int X2FileFish::HasLod() {
  if (cloneMode == kCloneSource || !hasFarMesh || meshes.empty()) return 0;
  return static_cast<int>(meshes.size()) - 1;
}

void X2FileFish::AnimateParts(float current, float previous) {
  if (!partialMorph) return;
  float weights[kMaxFishParts];
  StepFishParts(parts.data(), partCount, current, previous, swim.swimFactor, SceneRandom, weights);
  partialMorph->Apply(weights);
}
