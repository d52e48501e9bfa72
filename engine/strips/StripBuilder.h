#pragma once
// Triangle-strip builder: turns an indexed triangle list into one strip.
//
// Strips are grown across shared edges, cut to the length of a small vertex
// cache, ordered so that each chunk reuses the vertices the previous ones
// left in the cache, and joined with repeated indices (degenerate triangles)
// in between. A list already in a good order is also walked in strips as
// listed; the strip that misses the cache least is kept, and it never misses
// a first-in first-out cache of the set size more often than the list (at
// worst every triangle is drawn on its own in list order). Every triangle
// keeps its winding. The builder keeps no state between calls besides the
// cache size.

// One output group of indices; it owns its index array.
struct C8PrimitiveGroup {
  enum { kTypeStrip = 1 };

  int type = kTypeStrip;
  unsigned int indexCount = 0;
  unsigned short* indices = nullptr;  // new[]; released with the group

  C8PrimitiveGroup() = default;
  ~C8PrimitiveGroup() { delete[] indices; }
  C8PrimitiveGroup(const C8PrimitiveGroup&) = delete;
  C8PrimitiveGroup& operator=(const C8PrimitiveGroup&) = delete;
};

// Size of the modelled vertex cache for later calls (16 until set). The
// builder cuts strips to max(size - 6, 1) faces.
void SetStripCacheSize(int cacheSize);
int GetStripCacheSize();

// Turns indexCount / 3 triangles into one strip. *groups receives an array
// made with new[] (the caller delete[]s it) and *groupCount its length,
// which is always 1: one group of type kTypeStrip. Exact duplicate
// triangles (same indices in the same order) and triangles with a repeated
// index occur nowhere in the output; null indices count as an empty list.
// Diagnostics go to standard output.
void GenerateStrips(const unsigned short* indices, unsigned int indexCount,
                    C8PrimitiveGroup** groups, unsigned short* groupCount);
