#include "C8VertexCache.h"

#include <algorithm>

C8VertexCache::C8VertexCache(int size) : entries_(size > 0 ? size : 1, -1) {}

bool C8VertexCache::InCache(int v) const {
  return std::find(entries_.begin(), entries_.end(), v) != entries_.end();
}

void C8VertexCache::AddEntry(int v) {
  std::copy_backward(entries_.begin(), entries_.end() - 1, entries_.end());
  entries_.front() = v;
}

int C8VertexCache::CountMisses(const std::vector<int>& stream, int size) {
  C8VertexCache cache(size);
  int misses = 0;
  for (int v : stream) {
    if (v >= 0 && cache.InCache(v)) continue;
    ++misses;
    cache.AddEntry(v);
  }
  return misses;
}
