#pragma once
// Built partial-morph records, one per parts table, shared by every fish of
// the species using that table. Made by the first fish that needs it and
// emptied at the final clean-up.
#include <memory>
#include <vector>

#include "C5PartialMorph.h"

class C5PartialMorphCache {
 public:
  // The built record for the parts table: the cached one ("Found Pminfo"),
  // or a new one set on these meshes, built and kept. Null without parts.
  const C5PartialMorph* Obtain(std::vector<MeshRecord*>* meshes, int baseIndex, int partialIndex,
                               X2FishPart* parts, int partCount);
  const C5PartialMorph* Find(const X2FishPart* parts) const;
  void Clear();
  size_t Size() const { return entries_.size(); }

  // The process-wide cache; created on first use, deleted by Destroy.
  static C5PartialMorphCache* Shared(bool create);
  static void Destroy();

 private:
  struct Entry {
    const X2FishPart* parts;
    std::unique_ptr<C5PartialMorph> record;
  };
  std::vector<Entry> entries_;
};
