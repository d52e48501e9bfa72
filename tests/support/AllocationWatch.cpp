#include "AllocationWatch.h"

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

bool g_failing = false;
long g_failFrom = 0;
long g_seen = 0;
const void* g_watched = nullptr;
bool g_watchedFreed = false;

// Freed blocks kept as they were when freed, each with a copy of its bytes
// then (a fixed table, and malloc for the copies: the delete that fills it
// must not call itself). Blocks past its end are given back as usual.
struct KeptBlock {
  void* block;
  void* copy;
  size_t size;
};
KeptBlock g_kept[1 << 14];
size_t g_keptCount = 0;
bool g_keeping = false;

}  // namespace

namespace qvtest {

void FailAllocationsFrom(long n) {
  g_seen = 0;
  g_failFrom = n;
  g_failing = true;
}

long AllowAllocations() {
  g_failing = false;
  return g_seen;
}

void WatchFree(const void* block) {
  g_watched = block;
  g_watchedFreed = false;
}

bool WatchedBlockFreed() { return g_watchedFreed; }

void KeepFreedBlocks() {
  g_keptCount = 0;
  g_keeping = true;
}

int ReleaseFreedBlocks() {
  g_keeping = false;
  int written = 0;
  for (size_t i = 0; i < g_keptCount; ++i) {
    const KeptBlock& k = g_kept[i];
    if (std::memcmp(k.block, k.copy, k.size) != 0) ++written;
    std::free(k.copy);
    std::free(k.block);
  }
  g_keptCount = 0;
  return written;
}

}  // namespace qvtest

void* operator new(std::size_t size) {
  if (g_failing && g_seen++ >= g_failFrom) throw std::bad_alloc();
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  return p;
}

void operator delete(void* p) noexcept {
  if (!p) return;
  if (p == g_watched) g_watchedFreed = true;
  if (g_keeping && g_keptCount < sizeof g_kept / sizeof g_kept[0]) {
    const size_t size = _msize(p);
    if (void* copy = std::malloc(size ? size : 1)) {
      std::memcpy(copy, p, size);
      g_kept[g_keptCount++] = {p, copy, size};
      return;
    }
  }
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
