#include "X2RecordCheck.h"

#include "collision/X6CollisionShapes.h"

#include <cstring>

namespace {

// A structure's rally record: a count and ten points of three floats.
constexpr size_t kRallyRecordSize = 4 + 10 * 3 * 4;

// count objects of type T at p, inside the image and at T's alignment (a
// misplaced table is as corrupt as one outside).
template <class T>
bool Holds(const X2ModuleImage& image, const T* p, size_t count = 1) {
  return reinterpret_cast<uintptr_t>(p) % alignof(T) == 0 && image.ContainsArray(p, count, sizeof(T));
}

// Rally records and other word tables are read as 32-bit words.
bool HoldsWords(const X2ModuleImage& image, const void* p, size_t bytes) {
  return reinterpret_cast<uintptr_t>(p) % 4 == 0 && image.Contains(p, bytes);
}

bool Terminated(const char* field, size_t size) {
  return std::memchr(field, '\0', size) != nullptr;
}

bool OptionalString(const char* s, const X2ModuleImage& image) {
  return !s || image.ContainsString(s, X2_NAME_SIZE - 1);
}

template <class Fn>
bool OptionalFunction(Fn fn, const X2ModuleImage& image) {
  return !fn || image.ContainsAddress(reinterpret_cast<const void*>(fn));
}

const char* CheckTexture(const X2FishTexture* texture, const X2ModuleImage& image) {
  if (!Holds(image, texture)) return "texture entry outside the module";
  if (texture->size == 0 || !image.Contains(texture->data, texture->size))
    return "texture data outside the module";
  return nullptr;
}

size_t StrideOf(uint32_t fvf) {
  switch (fvf) {
    case X2_FVF_VERTEX: return X2_STRIDE_VERTEX;
    case X2_FVF_MORPH: return X2_STRIDE_MORPH;
    case 0x152: return 44;  // terrain-style vertex of structure meshes
    default: return 0;
  }
}

const char* CheckXBlockMesh(const X2FishMesh* mesh, const X2ModuleImage& image) {
  if (mesh->vertexCount == 0 || mesh->vertexCount > kX2MaxInflatedSize)
    return "X block size out of range";
  if (const char* why = CheckTexture(mesh->xBlock, image)) return why;
  return nullptr;
}

// Frames, X blocks and the partial-morph mesh of a model with plain meshes.
const char* CheckMorphFrames(const X2FishModel* model, const X2ModuleImage& image) {
  if (model->frameCount == 0) return nullptr;
  if (model->frameCount > kX2MaxFrames) return "frame count out of range";
  if (!Holds(image, model->frames, model->frameCount))
    return "frame table outside the module";
  for (uint32_t i = 0; i < model->frameCount; ++i) {
    const X2FishMesh* frame = model->frames[i];
    if (const char* why = X2CheckMesh(frame, image)) return why;
    if (frame->xBlock) return "X block among morph frames";
    if (frame->vertexCount != model->baseMesh->vertexCount)
      return "frame vertex count differs from the base mesh";
  }
  return nullptr;
}

const char* CheckParts(const X2FishModel* model, const X2ModuleImage& image) {
  if (model->partCount == 0) return nullptr;
  if (model->partCount > kX2MaxParts) return "part count out of range";
  if (!Holds(image, model->parts, model->partCount))
    return "part table outside the module";
  const X2FishMesh* pm = model->pminfoMesh;
  const X2FishMesh* base = model->baseMesh;
  if (!pm) return "parts without a partial-morph mesh";
  for (uint32_t i = 0; i < model->partCount; ++i) {
    const X2FishPart& part = model->parts[i];
    if (part.rangeA >= pm->attributeRangeCount || part.rangeB >= pm->attributeRangeCount ||
        part.baseRange >= base->attributeRangeCount)
      return "part range index out of range";
    uint32_t count = base->attributeRanges[part.baseRange].vertexCount;
    if (pm->attributeRanges[part.rangeA].vertexCount != count ||
        pm->attributeRanges[part.rangeB].vertexCount != count)
      return "part pose ranges differ from their base range";
    if (part.state < 0 || part.state > 2) return "part state out of range";
  }
  return nullptr;
}

}  // namespace

const char* X2CheckHeader(const X2RecordHeader* record) {
  if (!Terminated(record->name, sizeof(record->name))) return "name not terminated";
  if (!Terminated(record->maker, sizeof(record->maker))) return "maker not terminated";
  return nullptr;
}

const char* X2CheckAIRecord(const X2AIData* record, const X2ModuleImage& image) {
  if (const char* why = X2CheckHeader(&record->header)) return why;
  if (!OptionalFunction(record->BuildFlock, image) || !OptionalFunction(record->Configure, image) ||
      !OptionalFunction(record->GetDefaultParam, image) ||
      !OptionalFunction(record->CountFish, image) ||
      !OptionalFunction(record->CreateInstance, image) ||
      !OptionalFunction(record->NormaliseParameter, image))
    return "entry point outside the module";
  if (!OptionalString(record->dedicatedFish, image)) return "dedicated fish key outside the module";
  return nullptr;
}

const char* X2CheckMesh(const X2FishMesh* mesh, const X2ModuleImage& image) {
  if (!Holds(image, mesh)) return "mesh outside the module";
  if (mesh->xBlock) return CheckXBlockMesh(mesh, image);

  size_t stride = StrideOf(mesh->fvf);
  if (stride == 0) return "unknown vertex format";
  if (mesh->stride != stride) return "vertex stride does not match the format";
  if (mesh->vertexCount == 0 || mesh->vertexCount > kX2MaxMeshVertices)
    return "vertex count out of range";
  if (reinterpret_cast<uintptr_t>(mesh->vertices) % 4 != 0 ||
      !image.ContainsArray(mesh->vertices, mesh->vertexCount, stride))
    return "vertices outside the module";

  // Morph frames may leave their indices to the base mesh.
  if (mesh->indices || mesh->fvf != X2_FVF_MORPH) {
    if (mesh->primitiveCount == 0 || mesh->primitiveCount > kX2MaxMeshVertices * 4u)
      return "triangle count out of range";
    size_t indexCount = size_t(mesh->primitiveCount) * 3;
    if (!Holds(image, mesh->indices, indexCount))
      return "indices outside the module";
    for (size_t i = 0; i < indexCount; ++i)
      if (mesh->indices[i] >= mesh->vertexCount) return "index out of range";
  }

  if (mesh->attributeRangeCount > kX2MaxAttributeRanges) return "attribute range count out of range";
  if (mesh->attributeRangeCount == 0) return nullptr;
  if (!Holds(image, mesh->attributeRanges, mesh->attributeRangeCount))
    return "attribute ranges outside the module";
  const bool hasFaces = mesh->indices != nullptr;
  for (uint32_t i = 0; i < mesh->attributeRangeCount; ++i) {
    const X2AttributeRange& r = mesh->attributeRanges[i];
    if (hasFaces &&
        (r.faceStart > mesh->primitiveCount || r.faceCount > mesh->primitiveCount - r.faceStart))
      return "attribute range faces out of range";
    if (r.vertexStart > mesh->vertexCount || r.vertexCount > mesh->vertexCount - r.vertexStart)
      return "attribute range vertices out of range";
  }
  return nullptr;
}

const char* X2CheckModel(const X2FishModel* model, const X2ModuleImage& image) {
  if (!Holds(image, model)) return "model outside the module";

  if (model->flags & X2_MODEL_TEXTURE_FILE) {
    if (!image.ContainsString(model->textureFile, MAX_PATH - 1)) return "texture name outside the module";
  } else {
    if (model->textureCount > kX2MaxTextures) return "texture count out of range";
    size_t textures = model->textureCount + (model->hasExtraTexture ? 1 : 0);
    if (textures > 0) {
      if (!Holds(image, model->textures, textures))
        return "texture table outside the module";
      for (size_t i = 0; i < textures; ++i)
        if (const char* why = CheckTexture(&model->textures[i], image)) return why;
    }
  }

  if (!model->baseMesh) return "no base mesh";
  if (const char* why = X2CheckMesh(model->baseMesh, image)) return why;

  if (model->baseMesh->xBlock) {
    // An X-file model: its further X blocks are counted by the word at 0x20.
    uint32_t blocks;
    std::memcpy(&blocks, &model->swimBase, sizeof(blocks));
    if (blocks > kX2MaxFrames) return "X block count out of range";
    if (blocks > 0 && !Holds(image, model->frames, blocks))
      return "X block table outside the module";
    for (uint32_t i = 0; i < blocks; ++i) {
      const X2FishMesh* block = model->frames[i];
      if (!Holds(image, block) || !block->xBlock) return "bad further X block";
      if (const char* why = CheckXBlockMesh(block, image)) return why;
    }
    return nullptr;
  }

  if (model->hasSecondMesh) {
    if (!Holds(image, model->secondMesh)) return "far mesh outside the module";
    if (const char* why = X2CheckMesh(model->secondMesh->mesh, image)) return why;
  }
  if (const char* why = CheckMorphFrames(model, image)) return why;
  if (model->pminfoMesh) {
    if (const char* why = X2CheckMesh(model->pminfoMesh, image)) return why;
    if (model->pminfoMesh->xBlock) return "X block as partial-morph mesh";
  }
  return CheckParts(model, image);
}

const char* X2CheckFishRecord(const X2FishData* record, const X2ModuleImage& image,
                              X2FishUse use) {
  if (const char* why = X2CheckHeader(&record->header)) return why;
  if (!OptionalString(record->defaultAI, image)) return "default AI key outside the module";
  if (!OptionalFunction(record->PlaceInstance, image)) return "placement callback outside the module";
  if (record->collisionCapsules && !HoldsWords(image, record->collisionCapsules, sizeof(uint32_t)))
    return "collision data outside the module";
  if (use == kX2UseStructure && record->collisionCapsules) {
    // The shapes a structure's field reads: the block and its three arrays.
    const auto* shapes = static_cast<const X6CollisionShapes*>(record->collisionCapsules);
    if (!Holds(image, shapes)) return "collision data outside the module";
    if ((shapes->capsuleCount && !Holds(image, shapes->capsules, shapes->capsuleCount)) ||
        (shapes->sphereCount && !Holds(image, shapes->spheres, shapes->sphereCount)) ||
        (shapes->triangleCount && !Holds(image, shapes->triangles, shapes->triangleCount)))
      return "collision shapes outside the module";
  }
  if (record->footprint && !Holds(image, record->footprint))
    return "footprint outside the module";
  // A structure's rally record is copied whole (124 bytes), not just its
  // count; no other kind reads it.
  if (record->rallyPoints &&
      !HoldsWords(image, record->rallyPoints, use == kX2UseStructure ? kRallyRecordSize : sizeof(uint32_t)))
    return "rally points outside the module";
  if (record->modelCount > kX2MaxModels) return "model count out of range";
  if (record->modelCount == 0) return use == kX2UseCoral ? nullptr : "model count out of range";
  if (!Holds(image, record->model, record->modelCount))
    return "models outside the module";
  const uint32_t used = use == kX2UseCoral ? record->modelCount : 1;
  for (uint32_t i = 0; i < used; ++i)
    if (const char* why = X2CheckModel(&record->model[i], image)) return why;

  return nullptr;
}
