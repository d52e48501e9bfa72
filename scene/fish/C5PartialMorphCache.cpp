#include "C5PartialMorphCache.h"

#include "diagnostics/Diagnostics.h"

namespace {
std::unique_ptr<C5PartialMorphCache> gShared;
}

const C5PartialMorph* C5PartialMorphCache::Find(const X2FishPart* parts) const {
  for (const Entry& e : entries_)
    if (e.parts == parts) return e.record.get();
  return nullptr;
}

const C5PartialMorph* C5PartialMorphCache::Obtain(std::vector<MeshRecord*>* meshes, int baseIndex,
                                                  int partialIndex, X2FishPart* parts, int partCount) {
  if (!parts) return nullptr;
  if (const C5PartialMorph* found = Find(parts)) {
    LogPrint("Found Pminfo\n");
    return found;
  }
  auto record = std::make_unique<C5PartialMorph>();
  record->SetParts(meshes, baseIndex, partialIndex, parts, partCount);
  record->Build();
  entries_.push_back({parts, std::move(record)});
  return entries_.back().record.get();
}

void C5PartialMorphCache::Clear() { entries_.clear(); }

C5PartialMorphCache* C5PartialMorphCache::Shared(bool create) {
  if (!gShared && create) gShared = std::make_unique<C5PartialMorphCache>();
  return gShared.get();
}

void C5PartialMorphCache::Destroy() { gShared.reset(); }
