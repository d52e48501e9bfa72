#pragma once
// First-in first-out model of a vertex cache: the last `size` distinct
// vertices fed to it.
#include <vector>

class C8VertexCache {
 public:
  explicit C8VertexCache(int size);

  bool InCache(int v) const;
  // v becomes the first entry; the last one drops out.
  void AddEntry(int v);

  int Size() const { return static_cast<int>(entries_.size()); }
  // The entry the next AddEntry drops (-1 while the cache is not full).
  int Last() const { return entries_.back(); }

  // Misses of a cache of `size` entries (at least one) over an index
  // stream; negative indices count as misses.
  static int CountMisses(const std::vector<int>& stream, int size);

 private:
  std::vector<int> entries_;  // -1 = empty
};
