#pragma once
// Damage to plug-in records in place and a reader that goes over an
// accepted record the way the program reads it, noting any range outside
// the library's image. Header only and free of Windows calls beyond the
// image bounds, so that the sanitizer build on the host shares it.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzText.h"
#include "X2PluginAbi.h"
#include "pluginlists/X2ModuleImage.h"
#include "pluginlists/X2RecordCheck.h"

namespace fuzz {

// A structure's rally record as the program copies it: a count and ten
// points.
constexpr size_t kRallyRecordBytes = 4 + 10 * 3 * sizeof(float);

// Reads what the program reads of an accepted record and notes the first
// range outside the image.
class Reader {
 public:
  explicit Reader(const X2ModuleImage& image) : image_(image) {}

  bool Range(const void* p, size_t count, size_t size, const char* what) {
    if (count == 0 || size == 0) return true;
    if (!image_.ContainsArray(p, count, size)) return Fail(what);
    const auto* bytes = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < count * size; i += 61) sum_ += bytes[i];
    sum_ += bytes[count * size - 1];
    return true;
  }
  bool String(const char* s, const char* what) {
    if (!s) return true;
    return image_.ContainsString(s, MAX_PATH) || Fail(what);
  }

  void Mesh(const X2FishMesh* m) {
    if (!Range(m, 1, sizeof *m, "mesh")) return;
    if (m->xBlock) {
      if (Range(m->xBlock, 1, sizeof(X2FishTexture), "X block")) Range(m->xBlock->data, m->xBlock->size, 1, "X data");
      return;
    }
    Range(m->vertices, m->vertexCount, m->stride, "vertices");
    if (m->indices && Range(m->indices, size_t(m->primitiveCount) * 3, 2, "indices"))
      for (size_t i = 0; i < size_t(m->primitiveCount) * 3; ++i)
        if (m->indices[i] >= m->vertexCount) Fail("index past the vertices");
    if (!Range(m->attributeRanges, m->attributeRangeCount, sizeof(X2AttributeRange), "ranges")) return;
    for (uint32_t i = 0; i < m->attributeRangeCount; ++i) {
      const X2AttributeRange& r = m->attributeRanges[i];
      if (uint64_t(r.vertexStart) + r.vertexCount > m->vertexCount) Fail("range past the vertices");
      if (m->indices && uint64_t(r.faceStart) + r.faceCount > m->primitiveCount) Fail("range past the faces");
    }
  }

  void Model(const X2FishModel* m) {
    if (!Range(m, 1, sizeof *m, "model")) return;
    if (m->flags & X2_MODEL_TEXTURE_FILE) {
      String(m->textureFile, "texture file");
    } else {
      const size_t textures = m->textureCount + (m->hasExtraTexture ? 1 : 0);
      if (Range(m->textures, textures, sizeof(X2FishTexture), "textures"))
        for (size_t i = 0; i < textures; ++i) Range(m->textures[i].data, m->textures[i].size, 1, "texture data");
    }
    Mesh(m->baseMesh);
    if (!ok_) return;
    if (m->baseMesh->xBlock) {
      uint32_t blocks;
      std::memcpy(&blocks, &m->swimBase, sizeof blocks);
      if (Range(m->frames, blocks, sizeof(X2FishMesh*), "X blocks"))
        for (uint32_t i = 0; i < blocks; ++i) Mesh(m->frames[i]);
      return;
    }
    if (m->hasSecondMesh && Range(m->secondMesh, 1, sizeof(X2FarMesh), "far mesh")) Mesh(m->secondMesh->mesh);
    if (Range(m->frames, m->frameCount, sizeof(X2FishMesh*), "frames"))
      for (uint32_t i = 0; i < m->frameCount && ok_; ++i) {
        Mesh(m->frames[i]);
        if (ok_ && m->frames[i]->vertexCount != m->baseMesh->vertexCount) Fail("frame size");
      }
    if (m->pminfoMesh) Mesh(m->pminfoMesh);
    if (!ok_ || !Range(m->parts, m->partCount, sizeof(X2FishPart), "parts")) return;
    for (uint32_t i = 0; i < m->partCount; ++i) {
      const X2FishPart& part = m->parts[i];
      const X2FishMesh* pm = m->pminfoMesh;
      if (!pm) return void(Fail("parts without their mesh"));
      Range(pm->attributeRanges + part.rangeA, 1, sizeof(X2AttributeRange), "part range A");
      Range(pm->attributeRanges + part.rangeB, 1, sizeof(X2AttributeRange), "part range B");
      Range(m->baseMesh->attributeRanges + part.baseRange, 1, sizeof(X2AttributeRange), "part base range");
    }
  }

  void Fish(const X2FishData* r, X2FishUse use) {
    if (!Range(r, 1, sizeof *r, "record")) return;
    String(r->defaultAI, "default AI");
    Range(r->footprint, r->footprint ? 1 : 0, sizeof(float), "footprint");
    Range(r->rallyPoints, r->rallyPoints ? 1 : 0, kRallyRecordBytes, "rally points");
    if (!Range(r->model, r->modelCount, sizeof(X2FishModel), "models")) return;
    const uint32_t used = use == kX2UseCoral ? r->modelCount : (r->modelCount ? 1 : 0);
    for (uint32_t i = 0; i < used && ok_; ++i) Model(&r->model[i]);
  }

  void AI(const X2AIData* r) {
    Range(r, 1, sizeof *r, "record");
    String(r->dedicatedFish, "dedicated fish");
    for (const void* f : {reinterpret_cast<const void*>(r->BuildFlock), reinterpret_cast<const void*>(r->Configure),
                          reinterpret_cast<const void*>(r->GetDefaultParam),
                          reinterpret_cast<const void*>(r->CountFish),
                          reinterpret_cast<const void*>(r->CreateInstance),
                          reinterpret_cast<const void*>(r->NormaliseParameter)})
      if (f && !image_.ContainsAddress(f)) Fail("entry point");
  }

  bool ok() const { return ok_; }
  const std::string& why() const { return why_; }

 private:
  bool Fail(const char* what) {
    if (ok_) why_ = what;
    ok_ = false;
    return false;
  }
  const X2ModuleImage& image_;
  bool ok_ = true;
  std::string why_;
  unsigned sum_ = 0;
};

struct Region {
  unsigned char* p;
  size_t size;
};

// Everything a sound record points at, as places to damage.
inline void Collect(const X2FishMesh* m, std::vector<Region>* out) {
  if (!m) return;
  out->push_back({(unsigned char*)m, sizeof *m});
  if (m->attributeRanges && m->attributeRangeCount)
    out->push_back({(unsigned char*)m->attributeRanges, m->attributeRangeCount * sizeof(X2AttributeRange)});
  if (m->indices && m->primitiveCount) out->push_back({(unsigned char*)m->indices, std::min<size_t>(m->primitiveCount * 6, 64)});
  if (m->xBlock) out->push_back({(unsigned char*)m->xBlock, sizeof(X2FishTexture)});
}

inline std::vector<Region> Collect(X2FishData* r) {
  std::vector<Region> out{{(unsigned char*)r, sizeof *r}};
  for (uint32_t k = 0; k < r->modelCount && k < 4; ++k) {
    X2FishModel* m = &r->model[k];
    out.push_back({(unsigned char*)m, sizeof *m});
    Collect(m->baseMesh, &out);
    if (m->baseMesh && m->baseMesh->xBlock) continue;
    if (m->hasSecondMesh && m->secondMesh) {
      out.push_back({(unsigned char*)m->secondMesh, sizeof(X2FarMesh)});
      Collect(m->secondMesh->mesh, &out);
    }
    if (m->frames && m->frameCount) {
      out.push_back({(unsigned char*)m->frames, m->frameCount * sizeof(void*)});
      Collect(m->frames[0], &out);
    }
    Collect(m->pminfoMesh, &out);
    if (m->parts && m->partCount) out.push_back({(unsigned char*)m->parts, m->partCount * sizeof(X2FishPart)});
    if (m->textures && !(m->flags & X2_MODEL_TEXTURE_FILE) && m->textureCount)
      out.push_back({(unsigned char*)m->textures, m->textureCount * sizeof(X2FishTexture)});
  }
  if (r->rallyPoints) out.push_back({(unsigned char*)r->rallyPoints, sizeof(uint32_t)});
  return out;
}

// One damaged word or pointer, with what it held.
struct Undo {
  unsigned char* at;
  size_t width;
  unsigned char saved[8];
};

inline void Damage(Rng& rng, const std::vector<Region>& regions, const X2ModuleImage& image, std::vector<Undo>* undo) {
  const Region& region = rng.Pick(regions);
  const bool pointer = rng.Chance(40) && region.size >= sizeof(void*);
  const size_t width = pointer ? sizeof(void*) : 4;
  if (region.size < width) return;
  size_t offset = size_t(rng.Below(int((region.size - width) / width + 1))) * width;
  unsigned char* at = region.p + offset;
  Undo u{at, width, {}};
  std::memcpy(u.saved, at, width);
  undo->push_back(u);
  if (pointer) {
    const uintptr_t begin = image.Begin(), end = image.Begin() + image.Size();
    uintptr_t v = 0;
    switch (rng.Below(6)) {
      case 0: v = 0; break;
      case 1: v = reinterpret_cast<uintptr_t>(rng.Pick(regions).p); break;
      case 2: v = begin + uintptr_t(rng.Below(int(image.Size()))); break;
      case 3: v = end - uintptr_t(rng.Between(0, 200)); break;
      case 4: v = begin - uintptr_t(rng.Between(1, 4096)); break;
      default: v = (uintptr_t(rng.Next()) << 16) ^ rng.Next(); break;
    }
    std::memcpy(at, &v, sizeof v);
  } else {
    uint32_t v;
    std::memcpy(&v, at, 4);
    switch (rng.Below(6)) {
      case 0: v = 0; break;
      case 1: v = 0xFFFFFFFFu; break;
      case 2: v += uint32_t(rng.Between(1, 3)); break;
      case 3: v = uint32_t(rng.Between(1, 70000)); break;
      case 4: v ^= 1u << rng.Below(32); break;
      default: v = rng.Next(); break;
    }
    std::memcpy(at, &v, 4);
  }
}

}  // namespace fuzz
