#include "C5PartialMorph.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "diagnostics/Diagnostics.h"
#include "servers/VBServer.h"
#include "world/C3World.h"

namespace {

constexpr int kBaseFloats = 8;     // 32-byte vertex: position, normal, texture coordinate
constexpr int kMorphFloats = 6;    // 24-byte vertex: position, normal
constexpr int kSpareVertices = 20;

// Ranges of partial-morph meshes whose poses were turned into differences,
// keyed by the mesh's vertex data. The meshes are static species data that
// several species and every fish share, so this outlives every record.
std::map<const void*, std::set<uint32_t>>& ConvertedRanges() {
  static std::map<const void*, std::set<uint32_t>> ranges;
  return ranges;
}

const X2AttributeRange* FindRange(const X2FishMesh* mesh, uint32_t index) {
  if (!mesh || !mesh->attributeRanges || index >= mesh->attributeRangeCount) return nullptr;
  const X2AttributeRange* r = &mesh->attributeRanges[index];
  if (r->vertexStart > mesh->vertexCount || r->vertexCount > mesh->vertexCount - r->vertexStart) return nullptr;
  return r;
}

const X2FishMesh* Descriptor(std::vector<MeshRecord*>* meshes, int index) {
  if (!meshes || index < 0 || static_cast<size_t>(index) >= meshes->size() || !(*meshes)[index]) return nullptr;
  return (*meshes)[index]->descriptor;
}

}  // namespace

bool PartRanges(const X2FishMesh* base, const X2FishMesh* partial, const X2FishPart& part,
                const X2AttributeRange** poseA, const X2AttributeRange** poseB,
                const X2AttributeRange** baseRange) {
  if (part.baseRange >= static_cast<uint32_t>(kMaxFishParts)) return false;
  *poseA = FindRange(partial, part.rangeA);
  *poseB = FindRange(partial, part.rangeB);
  *baseRange = FindRange(base, part.baseRange);
  if (!*poseA || !*poseB || !*baseRange) return false;
  return (*poseA)->vertexCount == (*baseRange)->vertexCount && (*poseB)->vertexCount == (*baseRange)->vertexCount;
}

C5PartialMorph::~C5PartialMorph() { InvalidateDeviceObjects(); }

uint32_t C5PartialMorph::BaseVertexCount() const { return base_ ? base_->vertexCount : 0; }

bool C5PartialMorph::IsRangeConverted(const X2FishMesh* mesh, uint32_t range) {
  if (!mesh) return false;
  auto it = ConvertedRanges().find(mesh->vertices);
  return it != ConvertedRanges().end() && it->second.count(range) != 0;
}

void C5PartialMorph::ForgetConversions(const void* begin, size_t size) {
  const uintptr_t lo = reinterpret_cast<uintptr_t>(begin);
  auto& ranges = ConvertedRanges();
  for (auto it = ranges.begin(); it != ranges.end();) {
    const uintptr_t p = reinterpret_cast<uintptr_t>(it->first);
    if (p >= lo && p - lo < size) it = ranges.erase(it);
    else ++it;
  }
}

void C5PartialMorph::SetParts(std::vector<MeshRecord*>* meshes, int baseIndex, int partialIndex,
                              X2FishPart* parts, int partCount) {
  meshes_ = meshes;
  baseIndex_ = baseIndex;
  partialIndex_ = partialIndex;
  base_ = Descriptor(meshes, baseIndex);
  partial_ = const_cast<X2FishMesh*>(Descriptor(meshes, partialIndex));
  parts_ = parts;
  if (partCount > kMaxFishParts) {
    LogPrint("Partial morph: %d parts, only %d are animated\n", partCount, kMaxFishParts);
    partCount = kMaxFishParts;
  }
  partCount_ = parts ? std::max(partCount, 0) : 0;
}

bool C5PartialMorph::Build() {
  for (auto& list : changed_) list.clear();
  counts_.fill(0);
  spans_.clear();
  builtParts_ = 0;
  deltas_.assign(static_cast<size_t>(BaseVertexCount() + kSpareVertices) * kMorphFloats, 0.0f);
  if (partCount_ == 0) return true;
  if (!base_ || !partial_ || !base_->vertices || !partial_->vertices || base_->stride != 32 ||
      partial_->stride != 24) {
    LogPrint("KWEX!! LoadPartialData\n");
    return false;
  }

  const float* baseV = static_cast<const float*>(base_->vertices);
  float* poseV = static_cast<float*>(partial_->vertices);
  std::set<uint32_t>& converted = ConvertedRanges()[partial_->vertices];

  for (int i = 0; i < partCount_; ++i) {
    const X2FishPart& part = parts_[i];
    const X2AttributeRange *a, *b, *br;
    if (!PartRanges(base_, partial_, part, &a, &b, &br)) {
      LogPrint("KWEX!! LoadPartialData\n");
      return false;
    }
    const bool aDone = converted.count(part.rangeA) != 0;
    const bool bDone = converted.count(part.rangeB) != 0;
    std::vector<int>& list = changed_[part.baseRange];
    list.reserve(list.size() + br->vertexCount);

    for (uint32_t k = 0; k < br->vertexCount; ++k) {
      const float* bv = baseV + static_cast<size_t>(br->vertexStart + k) * kBaseFloats;
      const float* pa = poseV + static_cast<size_t>(a->vertexStart + k) * kMorphFloats;
      const float* pb = poseV + static_cast<size_t>(b->vertexStart + k) * kMorphFloats;
      bool moved = false;
      for (int c = 0; c < 3; ++c) {
        moved |= aDone ? pa[c] != 0.0f : pa[c] != bv[c];
        moved |= bDone ? pb[c] != 0.0f : pb[c] != bv[c];
      }
      if (moved) list.push_back(static_cast<int>(k));
    }
    // Poses become differences from the base, each range once for good.
    for (auto [range, done] : {std::pair{a, aDone}, std::pair{b, bDone}}) {
      if (done || (range == b && a == b)) continue;
      for (uint32_t k = 0; k < br->vertexCount; ++k) {
        const float* bv = baseV + static_cast<size_t>(br->vertexStart + k) * kBaseFloats;
        float* p = poseV + static_cast<size_t>(range->vertexStart + k) * kMorphFloats;
        for (int c = 0; c < 6; ++c) p[c] -= bv[c];
      }
    }
    converted.insert(part.rangeA);
    converted.insert(part.rangeB);

    counts_[part.baseRange] = static_cast<int>(list.size());
    spans_.push_back({a->vertexStart, b->vertexStart, br->vertexStart, part.baseRange});
    LogPrint("Material %d:Count %d Mod %d\n", static_cast<int>(part.baseRange), static_cast<int>(br->vertexCount),
             counts_[part.baseRange]);
    builtParts_ = i + 1;
  }
  return true;
}

// Each frame writes the same listed vertices; the rest of the buffer stays
// as Build left it, all zero.
void C5PartialMorph::Apply(const float weights[kMaxFishParts]) {
  if (!partial_ || !partial_->vertices) return;
  const float* poseV = static_cast<const float*>(partial_->vertices);
  for (int i = 0; i < builtParts_; ++i) {
    const PartSpan& span = spans_[i];
    const float w = weights[i];
    for (int j : changed_[span.material]) {
      const float* pa = poseV + static_cast<size_t>(span.poseA + j) * kMorphFloats;
      const float* pb = poseV + static_cast<size_t>(span.poseB + j) * kMorphFloats;
      float* d = &deltas_[static_cast<size_t>(span.base + j) * kMorphFloats];
      for (int c = 0; c < 6; ++c) d[c] = (1.0f - w) * pb[c] + w * pa[c];
    }
  }
}

std::unique_ptr<C5PartialMorph> C5PartialMorph::CopyFor(std::vector<MeshRecord*>* meshes) const {
  auto copy = std::make_unique<C5PartialMorph>();
  copy->meshes_ = meshes;
  copy->base_ = base_;
  copy->partial_ = partial_;
  copy->parts_ = parts_;
  copy->baseIndex_ = baseIndex_;
  copy->partialIndex_ = partialIndex_;
  copy->changed_ = changed_;
  copy->counts_ = counts_;
  copy->spans_ = spans_;
  copy->partCount_ = partCount_;
  copy->builtParts_ = builtParts_;
  copy->deltas_.assign(deltas_.size(), 0.0f);
  return copy;
}

HRESULT C5PartialMorph::RestoreDeviceObjects() {
  C3World* world = C3World::Current();
  IDirect3DDevice9* device = world && world->vbServer ? world->vbServer->Device() : nullptr;
  if (!device || vertexBuffer_ || BaseVertexCount() == 0) return S_OK;
  deltas_.assign(static_cast<size_t>(BaseVertexCount() + kSpareVertices) * kMorphFloats, 0.0f);
  HRESULT hr = device->CreateVertexBuffer(BaseVertexCount() * 48, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0,
                                          D3DPOOL_DEFAULT, &vertexBuffer_, nullptr);
  FatalCheck("C5PartialMorph", __LINE__, __TIME__, hr);
  return hr;
}

HRESULT C5PartialMorph::InvalidateDeviceObjects() {
  if (vertexBuffer_) vertexBuffer_->Release();
  vertexBuffer_ = nullptr;
  return S_OK;
}

IDirect3DVertexBuffer9* C5PartialMorph::Upload() {
  if (!vertexBuffer_) return nullptr;
  const UINT bytes = BaseVertexCount() * kMorphFloats * sizeof(float);
  void* out = nullptr;
  FatalCheck("C5PartialMorph", __LINE__, __TIME__, vertexBuffer_->Lock(0, bytes, &out, D3DLOCK_DISCARD));
  std::memcpy(out, deltas_.data(), bytes);
  vertexBuffer_->Unlock();
  return vertexBuffer_;
}
