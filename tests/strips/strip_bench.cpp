// Figures of the strip builder on a few meshes: index counts, chunk counts,
// misses per triangle of a 16-entry FIFO vertex cache (ACMR) for the list
// and for its strip, and the median time of five builds. Not a test.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "StripCheck.h"
#include "StripMeshes.h"
#include "fish/BuiltinFish.h"
#include "strips/C8VertexCache.h"
#include "strips/StripBuilder.h"

using namespace striptest;

namespace {

// The vertex cache the strips are built for and measured against.
constexpr int kCache = 16;

// Builds the strips five times (the median time counts) and prints one
// Markdown table row.
void Measure(const char* name, const IndexList& list) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> times;
  std::vector<int> strip;
  for (int run = 0; run < 5; ++run) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    C8PrimitiveGroup* groups = nullptr;
    unsigned short count = 0;
    GenerateStrips(list.data(), static_cast<unsigned int>(list.size()), &groups, &count);
    QueryPerformanceCounter(&end);
    strip.assign(groups[0].indices, groups[0].indices + groups[0].indexCount);
    delete[] groups;
    times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                    static_cast<double>(frequency.QuadPart));
  }
  std::sort(times.begin(), times.end());

  const std::vector<int> plain(list.begin(), list.end());
  const double triangles = static_cast<double>(list.size() / 3);
  const int listMisses = C8VertexCache::CountMisses(plain, kCache),
            stripMisses = C8VertexCache::CountMisses(strip, kCache);
  std::printf("| %s | %zu | %zu | %zu | %zu | %.3f | %.3f | %.1f |\n", name, list.size() / 3, list.size(),
              strip.size(), DecodeStrip(strip).runs.size(), listMisses / triangles, stripMisses / triangles,
              times[times.size() / 2]);
  std::fflush(stdout);
}

}  // namespace

int main() {
  SetStripCacheSize(kCache);
  std::printf("| mesh | triangles | list indices | strip indices | chunks | ACMR list | ACMR strip | ms |\n");
  std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
  Measure("cube", Cube());
  Measure("grid 16x16", Grid(16, 16));
  Measure("grid 64x64", Grid(64, 64));
  Measure("sphere 3", Sphere(3));
  Measure("sphere 4", Sphere(4));
  Measure("sphere 5", Sphere(5));
  Measure("random 2000", RandomTriangles(7, 2000, 400));
  Measure("grid 100x100", Grid(100, 100));
  Measure("grid 141x141", Grid(141, 141));
  // The meshes the program strips: the base meshes of the built-in species.
  int count = 0;
  const X2FishData* const* species = GetBuiltinSpecies(&count);
  for (int i = 0; i < count; ++i) {
    const X2FishMesh* mesh = species[i]->modelCount ? species[i]->model->baseMesh : nullptr;
    if (!mesh || !mesh->indices || mesh->xBlock) continue;
    const IndexList list(mesh->indices, mesh->indices + mesh->primitiveCount * 3);
    char name[32];
    std::snprintf(name, sizeof name, "species %d", i);
    Measure(name, list);
  }
  return 0;
}
