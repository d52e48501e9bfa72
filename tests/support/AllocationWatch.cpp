#include "AllocationWatch.h"

#include <cstdlib>
#include <new>

namespace {

bool g_failing = false;
long g_failFrom = 0;
long g_seen = 0;
const void* g_watched = nullptr;
bool g_watchedFreed = false;

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

}  // namespace qvtest

void* operator new(std::size_t size) {
  if (g_failing && g_seen++ >= g_failFrom) throw std::bad_alloc();
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  return p;
}

void operator delete(void* p) noexcept {
  if (p && p == g_watched) g_watchedFreed = true;
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
